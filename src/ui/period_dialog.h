#pragma once
// The period editor: one schedule entry's type, date range, daily time range, weekdays with the
// mode flag, and the programs that play in it. OK is enabled only for a period the rules of
// playbill/period_rules.h accept; a wrong date is said inside the dialog. The option "Runsch
// Blank" (new periods start with no program ticked) is shown and handed back when the dialog
// closes, whichever way.

#include <QDialog>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "playbill/period_rules.h"
#include "playbill/schedule_entry.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimeEdit;

namespace vantorel {

// A date as three fields, year, month and day; each may stay unset ("xxxx", "xx").
struct DateFields {
  QSpinBox* year;
  QSpinBox* month;
  QSpinBox* day;
};

class CPeriodDlg : public QDialog {
  Q_OBJECT
public:
  using StoreOption = std::function<void(int runschBlank)>;

  // `period` to edit, or nothing for a new one (from today to the end of the year, every day,
  // all day, its programs ticked unless `runschBlank`). Its program flags are taken for
  // `programNames`, cut or filled with "0".
  CPeriodDlg(const std::optional<ScheduleEntry>& period, const std::vector<std::string>& programNames, int runschBlank,
             StoreOption storeOption, const CivilDay& today, QWidget* parent = nullptr);

  // The period as the dialog shows it now.
  ScheduleEntry Period() const;
  int RunschBlank() const;

  QSpinBox* TypeField() const { return m_type; }
  const DateFields& StartDate() const { return m_start; }
  const DateFields& EndDate() const { return m_end; }
  QTimeEdit* StartTime() const { return m_startTime; }
  QTimeEdit* EndTime() const { return m_endTime; }
  QCheckBox* Weekday(int day) const { return m_days.at(static_cast<std::size_t>(day)); }
  QRadioButton* ModeOn() const { return m_modeOn; }
  QRadioButton* ModeOff() const { return m_modeOff; }
  QListWidget* Programs() const { return m_programs; }
  QCheckBox* RunschBlankBox() const { return m_runschBlank; }
  QLabel* Message() const { return m_message; }
  QPushButton* OkButton() const { return m_ok; }

  void done(int result) override;

private:
  DateFields MakeDate(const ScheduleDate& date);
  void Check();
  void TickAll(bool ticked);

  CivilDay m_today;
  StoreOption m_storeOption;
  QSpinBox* m_type;
  DateFields m_start{};
  DateFields m_end{};
  QTimeEdit* m_startTime;
  QTimeEdit* m_endTime;
  std::array<QCheckBox*, 7> m_days{};
  QRadioButton* m_modeOff;
  QRadioButton* m_modeOn;
  QListWidget* m_programs;
  QCheckBox* m_runschBlank;
  QLabel* m_message;
  QPushButton* m_ok = nullptr;
};

}  // namespace vantorel

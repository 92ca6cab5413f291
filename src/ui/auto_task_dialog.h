#pragma once
// "Auto task manager": the automatic power on and off times and the hourly brightness of
// controllers. "Read from screen" and "Set to screen" work on the chosen screen of the list, "Set
// to selected" on each ticked screen, one after another on a worker thread (the editor stays
// usable); each screen's result appears beside it.
//
// The brightness is 24 number fields (-1 automatic), shown by seven cells: the four-hour groups
// and "ALL". A cell's slider sets all of its hours; its number opens the hours one by one.

#include <QDialog>

#include <array>
#include <functional>

#include "screen/screen_data.h"
#include "send/controller_operations.h"
#include "ui/screen_result_list.h"

class QCheckBox;
class QPushButton;
class QTimeEdit;
class QTreeWidget;

namespace vantorel {

class CBrightCell;

class CAsynAutoDlg : public QDialog {
  Q_OBJECT
public:
  // `options`: how channels are made (the screens' own settings by default).
  CAsynAutoDlg(const CScreenData& screens, QWidget* parent = nullptr, ChannelOptions options = {});
  ~CAsynAutoDlg() override;

  QTreeWidget* Screens() const;
  QCheckBox* EnableBox() const { return m_enable; }
  QTimeEdit* OnTime() const { return m_on; }
  QTimeEdit* OffTime() const { return m_off; }
  // Cells 0-5: the four-hour groups; kAllHoursCell: "ALL".
  CBrightCell* Cell(std::size_t cell) const { return m_cells[cell]; }
  QPushButton* ReadButton() const { return m_read; }
  QPushButton* SetButton() const { return m_set; }
  QPushButton* SetSelectedButton() const { return m_setSelected; }
  // The number fields of the 24 hours (-1 automatic).
  const std::array<int, kBrightnessHours>& Fields() const { return m_fields; }
  bool IsRunning() const;
  // The text of the list: one line per screen, its name and its result.
  QString ResultsText() const;

Q_SIGNALS:
  // The operation of a button has run on its screens and what it shows is shown.
  void operationFinished();

private:
  void ReadFromScreen();
  void SetToScreen();
  // Runs `action` on the chosen screen and `after` once it is done; without a chosen screen it
  // says "No any LED screen is selected!".
  void RunOnChosen(CScreenResultList::Action action, std::function<void()> after);
  CScreenResultList::Action WriteAction() const;
  PowerSchedule Schedule() const;
  void ShowReading(const AutoTaskReading& reading);
  void ShowFields();
  void EditHours(std::size_t cell);
  void SetButtonsEnabled(bool enabled);

  CScreenResultList* m_screens = nullptr;
  QCheckBox* m_enable = nullptr;
  QTimeEdit* m_on = nullptr;
  QTimeEdit* m_off = nullptr;
  std::array<CBrightCell*, kBrightnessCells> m_cells{};
  std::array<int, kBrightnessHours> m_fields{};
  QPushButton* m_read = nullptr;
  QPushButton* m_set = nullptr;
  QPushButton* m_setSelected = nullptr;
  // What the running operation shows once its screens are done.
  std::function<void()> m_afterRun;
};

}  // namespace vantorel

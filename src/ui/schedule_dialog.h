#pragma once
// The schedule editor: every period of the playbill's schedule in a list of five columns (type,
// weekdays, dates, times, programs), added, edited and deleted through the period editor, and a
// week grid of the hours in which some program plays. The caller rebuilds the schedule from
// Periods() on OK; Cancel changes nothing.

#include <QDialog>

#include <string>
#include <vector>

#include "playbill/period_rules.h"
#include "playbill/prg_list_doc.h"
#include "ui/period_dialog.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace vantorel {

class CWeekGrid;

class CScheduleDlg : public QDialog {
  Q_OBJECT
public:
  // The periods of `doc`'s schedule, their program flags taken for the playbill's programs.
  // `storeOption` hears "Runsch Blank" whenever a period editor closes.
  CScheduleDlg(const CPrgListDoc& doc, int runschBlank, CPeriodDlg::StoreOption storeOption, const CivilDay& today,
               QWidget* parent = nullptr);

  const std::vector<ScheduleEntry>& Periods() const { return m_periods; }

  QTreeWidget* List() const { return m_list; }
  QPushButton* AddButton() const { return m_add; }
  QPushButton* EditButton() const { return m_edit; }
  QPushButton* DeleteButton() const { return m_delete; }
  QPushButton* CheckButton() const { return m_check; }
  CWeekGrid* Grid() const { return m_grid; }

private:
  void AddPeriod();
  void EditPeriod();
  void DeletePeriod();
  // Shows message 342 when some hour of the week plays nothing, else that every hour is covered.
  void CheckCoverage();
  // The period editor on `period` (nothing: a new one); true when it was accepted.
  bool RunPeriodEditor(std::optional<ScheduleEntry>& period);
  // The list and the grid anew from the periods; `select` is the row to select.
  void Refresh(int select);
  void SelectionChanged();

  PrgList m_records;
  std::vector<std::string> m_programNames;
  std::vector<ScheduleEntry> m_periods;
  int m_runschBlank;
  CPeriodDlg::StoreOption m_storeOption;
  CivilDay m_today;
  QTreeWidget* m_list;
  QPushButton* m_add;
  QPushButton* m_edit;
  QPushButton* m_delete;
  QPushButton* m_check;
  CWeekGrid* m_grid;
  QLabel* m_gridNote;
};

}  // namespace vantorel

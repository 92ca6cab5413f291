#include "ui/schedule_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "playbill/play_coverage.h"
#include "playbill/prg_list.h"
#include "ui/command_ids.h"
#include "ui/ui_text.h"
#include "ui/week_grid.h"

namespace vantorel {
namespace {

constexpr TextId kColumnTexts[] = {kTextPeriodType, kTextPeriodWeekdays, kTextPeriodDates, kTextPeriodTimes,
                                   kTextPeriodPrograms};

QStringList ColumnsOf(const ScheduleEntry& period) {
  return {QString::number(period.type), QString::fromStdString(period.weekdays), QString::fromStdString(DateRangeText(period)),
          QString::fromStdString(TimeRangeText(period)), QString::fromStdString(ProgramsText(period))};
}

}  // namespace

CScheduleDlg::CScheduleDlg(const CPrgListDoc& doc, int runschBlank, CPeriodDlg::StoreOption storeOption,
                           const CivilDay& today, QWidget* parent)
    : QDialog(parent),
      m_records(doc.Records()),
      m_periods(doc.Schedule().Periods()),
      m_runschBlank(runschBlank),
      m_storeOption(std::move(storeOption)),
      m_today(today) {
  setObjectName(QStringLiteral("ScheduleDialog"));
  setWindowTitle(CommandCaption(kCmdEditSchedule));
  for (int program = 0; program < doc.Selection().programCount; ++program) {
    m_programNames.push_back(doc.DisplayName(ProgramRecordAt(doc.Records(), program)));
  }
  // The periods' columns follow the playbill's programs (a schedule file may have had others).
  for (ScheduleEntry& period : m_periods) period.programs.resize(m_programNames.size(), '0');

  m_list = new QTreeWidget(this);
  m_list->setRootIsDecorated(false);
  m_list->setAllColumnsShowFocus(true);
  QStringList headers;
  for (const TextId id : kColumnTexts) headers << Text(id);
  m_list->setHeaderLabels(headers);
  m_list->header()->setStretchLastSection(true);
  m_add = new QPushButton(Text(kTextAddPeriod), this);
  m_edit = new QPushButton(Text(kTextEditPeriod), this);
  m_delete = new QPushButton(Text(kTextDeletePeriod), this);
  m_check = new QPushButton(Text(kTextCheckCoverage), this);
  m_grid = new CWeekGrid(this);
  m_gridNote = new QLabel(this);
  m_gridNote->setWordWrap(true);

  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {m_add, m_edit, m_delete}) buttons->addWidget(button);
  buttons->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(m_list, 1);
  top->addLayout(buttons);
  auto* coverage = new QHBoxLayout;
  coverage->addWidget(m_grid);
  auto* coverageSide = new QVBoxLayout;
  coverageSide->addWidget(m_gridNote);
  coverageSide->addWidget(m_check);
  coverageSide->addStretch();
  coverage->addLayout(coverageSide, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addWidget(new QLabel(Text(kTextPlayCoverage), this));
  layout->addLayout(coverage);
  layout->addWidget(OkCancelButtons(this));

  connect(m_add, &QPushButton::clicked, this, &CScheduleDlg::AddPeriod);
  connect(m_edit, &QPushButton::clicked, this, &CScheduleDlg::EditPeriod);
  connect(m_delete, &QPushButton::clicked, this, &CScheduleDlg::DeletePeriod);
  connect(m_check, &QPushButton::clicked, this, &CScheduleDlg::CheckCoverage);
  connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CScheduleDlg::SelectionChanged);
  connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CScheduleDlg::EditPeriod);
  Refresh(m_periods.empty() ? -1 : 0);
  resize(800, 540);
}

void CScheduleDlg::Refresh(int select) {
  m_list->clear();
  for (const ScheduleEntry& period : m_periods) new QTreeWidgetItem(m_list, ColumnsOf(period));
  for (int column = 0; column + 1 < m_list->columnCount(); ++column) m_list->resizeColumnToContents(column);
  if (select >= 0 && select < m_list->topLevelItemCount()) m_list->setCurrentItem(m_list->topLevelItem(select));
  m_grid->SetHours(PlayingHours(m_records, m_periods));
  m_gridNote->setText(Text(m_periods.empty() ? kTextCoverageByWindows : kTextCoverageByPeriods));
  SelectionChanged();
}

void CScheduleDlg::SelectionChanged() {
  const bool chosen = m_list->currentItem() != nullptr && m_list->currentItem()->isSelected();
  m_edit->setEnabled(chosen);
  m_delete->setEnabled(chosen);
}

bool CScheduleDlg::RunPeriodEditor(std::optional<ScheduleEntry>& period) {
  CPeriodDlg editor(period, m_programNames, m_runschBlank, m_storeOption, m_today, this);
  const bool accepted = editor.exec() == QDialog::Accepted;
  // The next period editor starts with the option as this one left it.
  m_runschBlank = editor.RunschBlank();
  if (accepted) period = editor.Period();
  return accepted;
}

void CScheduleDlg::AddPeriod() {
  std::optional<ScheduleEntry> period;
  if (!RunPeriodEditor(period)) return;
  m_periods.push_back(*period);
  Refresh(static_cast<int>(m_periods.size()) - 1);
}

void CScheduleDlg::EditPeriod() {
  const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
  if (row < 0) return;
  std::optional<ScheduleEntry> period = m_periods[static_cast<std::size_t>(row)];
  if (!RunPeriodEditor(period)) return;
  m_periods[static_cast<std::size_t>(row)] = *period;
  Refresh(row);
}

void CScheduleDlg::DeletePeriod() {
  const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
  if (row < 0) return;
  m_periods.erase(m_periods.begin() + row);
  Refresh(std::min(row, static_cast<int>(m_periods.size()) - 1));
}

void CScheduleDlg::CheckCoverage() {
  const WeekHours hours = PlayingHours(m_records, m_periods);
  m_grid->SetHours(hours);
  if (CoversWholeWeek(hours)) {
    ShowMessage(this, Text(kTextAlwaysPlaying), kTextPrompt, QMessageBox::Information);
  } else {
    ShowMessage(this, Text(kTextNotAlwaysPlaying), kTextWarning, QMessageBox::Warning);
  }
}

}  // namespace vantorel

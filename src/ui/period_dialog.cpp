#include "ui/period_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTime>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "ui/ui_text.h"

namespace vantorel {
namespace {

constexpr int kFirstYear = 2000;
constexpr int kLastYear = 2099;
// The year field's lowest step stands for "not set" (0).
constexpr int kUnsetYear = kFirstYear - 1;

QSpinBox* Spin(int low, int high, int value, const QString& unset, QWidget* parent) {
  auto* spin = new QSpinBox(parent);
  spin->setRange(low, high);
  spin->setSpecialValueText(unset);
  spin->setValue(value);
  return spin;
}

int YearOf(const QSpinBox* year) { return year->value() == kUnsetYear ? 0 : year->value(); }

ScheduleDate DateOf(const DateFields& fields) { return {YearOf(fields.year), fields.month->value(), fields.day->value()}; }

QTimeEdit* TimeField(const ScheduleTime& time, QWidget* parent) {
  auto* field = new QTimeEdit(QTime(time.hour % 24, time.minute % 60), parent);
  field->setDisplayFormat(QStringLiteral("HH:mm"));
  return field;
}

ScheduleTime TimeOf(const QTimeEdit* field) { return {field->time().hour(), field->time().minute(), 0}; }

ScheduleEntry NewPeriod(std::size_t programCount, int runschBlank, const CivilDay& today) {
  ScheduleEntry period;
  period.weekdayMask = 0x7F;
  period.startDate = {today.year, today.month, today.day};
  period.endDate = {today.year, 12, 31};
  period.programs = NewPeriodPrograms(static_cast<int>(programCount), runschBlank);
  return period;
}

}  // namespace

CPeriodDlg::CPeriodDlg(const std::optional<ScheduleEntry>& period, const std::vector<std::string>& programNames,
                       int runschBlank, StoreOption storeOption, const CivilDay& today, QWidget* parent)
    : QDialog(parent), m_today(today), m_storeOption(std::move(storeOption)) {
  setObjectName(QStringLiteral("PeriodDialog"));
  setWindowTitle(Text(kTextPeriod));
  const ScheduleEntry shown = period.value_or(NewPeriod(programNames.size(), runschBlank, today));

  m_type = Spin(0, 9, shown.type, QString(), this);
  m_start = MakeDate(shown.startDate);
  m_end = MakeDate(shown.endDate);
  m_startTime = TimeField(shown.startTime, this);
  m_endTime = TimeField(shown.endTime, this);

  auto* days = new QGridLayout;
  for (int day = 0; day < 7; ++day) {
    auto* box = new QCheckBox(Text(kTextSunday + day), this);
    box->setChecked((shown.weekdayMask & (1u << day)) != 0);
    m_days[static_cast<std::size_t>(day)] = box;
    days->addWidget(box, day / 4, day % 4);
  }
  m_modeOff = new QRadioButton(Text(kTextModeFlagOff), this);
  m_modeOn = new QRadioButton(Text(kTextModeFlagOn), this);
  (shown.weekdayMask & kWeekdayModeFlag ? m_modeOn : m_modeOff)->setChecked(true);
  auto* mode = new QHBoxLayout;
  mode->addWidget(m_modeOff);
  mode->addWidget(m_modeOn);
  mode->addStretch();

  m_programs = new QListWidget(this);
  for (std::size_t program = 0; program < programNames.size(); ++program) {
    auto* row = new QListWidgetItem(QString::fromStdString(programNames[program]), m_programs);
    row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
    row->setCheckState(shown.Plays(program) ? Qt::Checked : Qt::Unchecked);
  }
  auto* selectAll = new QPushButton(Text(kTextSelectAll), this);
  auto* unselectAll = new QPushButton(Text(kTextUnselectAll), this);
  connect(selectAll, &QPushButton::clicked, this, [this] { TickAll(true); });
  connect(unselectAll, &QPushButton::clicked, this, [this] { TickAll(false); });
  auto* programButtons = new QHBoxLayout;
  programButtons->addWidget(selectAll);
  programButtons->addWidget(unselectAll);
  programButtons->addStretch();

  m_runschBlank = new QCheckBox(Text(kTextPeriodsStartUnticked), this);
  m_runschBlank->setChecked(runschBlank != 0);
  m_message = new QLabel(this);
  m_message->setObjectName(QStringLiteral("PeriodMessage"));
  m_message->setStyleSheet(QStringLiteral("color: #c62828;"));

  auto* form = new QFormLayout;
  // The fields keep their own width; a row's room is left empty.
  const auto row = [form](int label, std::initializer_list<QWidget*> fields) {
    auto* line = new QHBoxLayout;
    for (QWidget* field : fields) line->addWidget(field);
    line->addStretch();
    form->addRow(Text(label), line);
  };
  row(kTextEntryType, {m_type});
  row(kTextStartDate, {m_start.year, m_start.month, m_start.day});
  row(kTextEndDate, {m_end.year, m_end.month, m_end.day});
  row(kTextDailyStart, {m_startTime});
  row(kTextDailyEnd, {m_endTime});
  form->addRow(Text(kTextWeekdaysLabel), days);
  form->addRow(QString(), mode);

  QDialogButtonBox* buttons = OkCancelButtons(this);
  m_ok = buttons->button(QDialogButtonBox::Ok);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(new QLabel(Text(kTextProgramsInPeriod), this));
  layout->addWidget(m_programs);
  layout->addLayout(programButtons);
  layout->addWidget(m_runschBlank);
  layout->addWidget(m_message);
  layout->addWidget(buttons);

  for (QSpinBox* spin : {m_start.year, m_start.month, m_start.day, m_end.year, m_end.month, m_end.day}) {
    connect(spin, &QSpinBox::valueChanged, this, &CPeriodDlg::Check);
  }
  for (QTimeEdit* time : {m_startTime, m_endTime}) connect(time, &QTimeEdit::timeChanged, this, &CPeriodDlg::Check);
  for (QCheckBox* day : m_days) connect(day, &QCheckBox::toggled, this, &CPeriodDlg::Check);
  connect(m_modeOn, &QRadioButton::toggled, this, &CPeriodDlg::Check);
  Check();
}

DateFields CPeriodDlg::MakeDate(const ScheduleDate& date) {
  const int year = date.year >= kFirstYear && date.year <= kLastYear ? date.year : kUnsetYear;
  return {Spin(kUnsetYear, kLastYear, year, QStringLiteral("xxxx"), this),
          Spin(0, 12, date.month, QStringLiteral("xx"), this), Spin(0, 31, date.day, QStringLiteral("xx"), this)};
}

ScheduleEntry CPeriodDlg::Period() const {
  ScheduleEntry period;
  period.type = m_type->value();
  for (std::size_t day = 0; day < m_days.size(); ++day) {
    if (m_days[day]->isChecked()) period.weekdayMask = static_cast<std::uint8_t>(period.weekdayMask | (1u << day));
  }
  if (m_modeOn->isChecked()) period.weekdayMask = static_cast<std::uint8_t>(period.weekdayMask | kWeekdayModeFlag);
  period.weekdays = WeekdayField(period.weekdayMask);
  period.startDate = DateOf(m_start);
  period.endDate = DateOf(m_end);
  period.startTime = TimeOf(m_startTime);
  period.endTime = TimeOf(m_endTime);
  for (int row = 0; row < m_programs->count(); ++row) {
    period.programs += m_programs->item(row)->checkState() == Qt::Checked ? '1' : '0';
  }
  return period;
}

int CPeriodDlg::RunschBlank() const { return m_runschBlank->isChecked() ? 1 : 0; }

void CPeriodDlg::Check() {
  const PeriodVerdict verdict = CheckPeriod(FieldsOf(Period()), m_today);
  m_ok->setEnabled(verdict.okEnabled);
  m_message->setText(verdict.messageId == 0 ? QString() : Text(verdict.messageId));
}

void CPeriodDlg::TickAll(bool ticked) {
  for (int row = 0; row < m_programs->count(); ++row) m_programs->item(row)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void CPeriodDlg::done(int result) {
  if (m_storeOption) m_storeOption(RunschBlank());
  QDialog::done(result);
}

}  // namespace vantorel

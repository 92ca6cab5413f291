#include "ui/auto_task_dialog.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTime>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <memory>

#include "app/text_ids.h"
#include "ui/bright_cell.h"
#include "ui/command_ids.h"
#include "ui/hour_brightness_dialog.h"
#include "ui/screen_result_list.h"
#include "ui/ui_text.h"

namespace vantorel {

namespace {

// The hours of the four-hour cells, as the dialog labels them.
constexpr const char* kGroupHours[kBrightnessGroups] = {" 0 - 4", " 4 - 8", "8 - 12", "12 - 16", "16 - 20", "20 - 24"};

QTimeEdit* NewTimeEdit(QWidget* parent) {
  auto* edit = new QTimeEdit(QTime::currentTime(), parent);
  edit->setDisplayFormat(QStringLiteral("HH:mm"));
  edit->setEnabled(false);
  return edit;
}

ClockTime ClockTimeOf(const QTime& time) { return {time.hour(), time.minute()}; }

QTime QTimeOf(ClockTime time) { return {time.hour, time.minute}; }

}  // namespace

CAsynAutoDlg::CAsynAutoDlg(const CScreenData& screens, QWidget* parent, ChannelOptions options) : QDialog(parent) {
  setWindowTitle(CommandCaption(kCmdAutoTask));
  m_screens = new CScreenResultList(screens, std::move(options), this);

  m_enable = new QCheckBox(Text(kTextEnablePowerTimes), this);
  m_on = NewTimeEdit(this);
  m_off = NewTimeEdit(this);
  connect(m_enable, &QCheckBox::toggled, this, [this](bool enabled) {
    m_on->setEnabled(enabled);
    m_off->setEnabled(enabled);
  });
  auto* powerBox = new QGroupBox(Text(kTextPowerOnOff), this);
  auto* powerLayout = new QHBoxLayout(powerBox);
  powerLayout->addWidget(m_enable);
  powerLayout->addSpacing(16);
  powerLayout->addWidget(new QLabel(Text(kTextPowerOnTime), this));
  powerLayout->addWidget(m_on);
  powerLayout->addSpacing(16);
  powerLayout->addWidget(new QLabel(Text(kTextPowerOffTime), this));
  powerLayout->addWidget(m_off);
  powerLayout->addStretch();

  auto* brightnessBox = new QGroupBox(Text(kTextBrightnessGroup), this);
  auto* cellsLayout = new QHBoxLayout;
  for (std::size_t cell = 0; cell < kBrightnessCells; ++cell) {
    const QString hours = cell == kAllHoursCell ? Text(kTextAllHours) : QString::fromLatin1(kGroupHours[cell]);
    m_cells[cell] = new CBrightCell(hours, this);
    if (cell == kAllHoursCell) {
      auto* line = new QFrame(this);
      line->setFrameShape(QFrame::VLine);
      line->setFrameShadow(QFrame::Sunken);
      cellsLayout->addWidget(line);
    }
    cellsLayout->addWidget(m_cells[cell]);
    connect(m_cells[cell], &CBrightCell::fieldChosen, this, [this, cell](int field) {
      SetBrightnessOfCell(m_fields, cell, field);
      ShowFields();
    });
    connect(m_cells[cell], &CBrightCell::numberClicked, this, [this, cell] { EditHours(cell); });
  }
  auto* brightnessLayout = new QVBoxLayout(brightnessBox);
  brightnessLayout->addLayout(cellsLayout);
  brightnessLayout->addWidget(new QLabel(Text(kTextClickNumberForHours), this));
  m_fields.fill(kMaxBrightness);
  ShowFields();

  m_read = new QPushButton(Text(kTextReadFromScreen), this);
  m_set = new QPushButton(Text(kTextSetToScreen), this);
  m_setSelected = new QPushButton(Text(kTextSetToSelected), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_read);
  buttons->addWidget(m_set);
  buttons->addWidget(m_setSelected);
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_screens, 1);
  layout->addWidget(powerBox);
  layout->addWidget(brightnessBox);
  layout->addLayout(buttons);

  connect(m_screens, &CScreenResultList::started, this, [this] { SetButtonsEnabled(false); });
  connect(m_screens, &CScreenResultList::finished, this, [this] {
    SetButtonsEnabled(true);
    const std::function<void()> after = std::move(m_afterRun);
    m_afterRun = nullptr;
    if (after) after();
    Q_EMIT operationFinished();
  });
  connect(m_read, &QPushButton::clicked, this, &CAsynAutoDlg::ReadFromScreen);
  connect(m_set, &QPushButton::clicked, this, &CAsynAutoDlg::SetToScreen);
  connect(m_setSelected, &QPushButton::clicked, this, [this] { m_screens->RunOnTicked(WriteAction()); });
}

CAsynAutoDlg::~CAsynAutoDlg() = default;

QTreeWidget* CAsynAutoDlg::Screens() const { return m_screens->Tree(); }

bool CAsynAutoDlg::IsRunning() const { return m_screens->IsRunning(); }

QString CAsynAutoDlg::ResultsText() const { return m_screens->ResultsText(); }

void CAsynAutoDlg::SetButtonsEnabled(bool enabled) {
  for (QPushButton* button : {m_read, m_set, m_setSelected}) button->setEnabled(enabled);
}

void CAsynAutoDlg::RunOnChosen(CScreenResultList::Action action, std::function<void()> after) {
  const int row = m_screens->CurrentRow();
  if (row < 0) {
    ShowMessage(this, Text(kTextNoScreenSelected), kTextPrompt, QMessageBox::Information);
    return;
  }
  m_afterRun = std::move(after);
  if (!m_screens->Run({row}, std::move(action))) m_afterRun = nullptr;
}

void CAsynAutoDlg::ReadFromScreen() {
  auto reading = std::make_shared<AutoTaskReading>();
  const ClockTime now = ClockTimeOf(QTime::currentTime());
  RunOnChosen(
      [reading, now](const SettingsScreen& screen, const ChannelOptions& channel) {
        *reading = ReadAutoTask(screen, now, channel);
        return reading->result;
      },
      [this, reading] {
        if (!reading->result.ok()) return;
        ShowReading(*reading);
        ShowMessage(this, QString::fromStdString(reading->versionInformation), kTextPrompt, QMessageBox::Information);
      });
}

void CAsynAutoDlg::SetToScreen() {
  RunOnChosen(WriteAction(), [this] {
    const bool ok = !m_screens->Results().empty() && m_screens->Results().front().ok();
    ShowMessage(this, Text(ok ? kTextSuccessful : kTextFailed), kTextPrompt, QMessageBox::Information);
  });
}

CScreenResultList::Action CAsynAutoDlg::WriteAction() const {
  return [schedule = Schedule(), fields = m_fields](const SettingsScreen& screen, const ChannelOptions& channel) {
    return WriteAutoTask(screen, schedule, fields, channel);
  };
}

PowerSchedule CAsynAutoDlg::Schedule() const {
  return {m_enable->isChecked(), ClockTimeOf(m_on->time()), ClockTimeOf(m_off->time())};
}

void CAsynAutoDlg::ShowReading(const AutoTaskReading& reading) {
  m_enable->setChecked(reading.schedule.enabled);
  m_on->setTime(QTimeOf(reading.schedule.on));
  m_off->setTime(QTimeOf(reading.schedule.off));
  m_fields = reading.brightness;
  ShowFields();
}

void CAsynAutoDlg::ShowFields() {
  for (std::size_t cell = 0; cell < kBrightnessCells; ++cell) {
    m_cells[cell]->Show(BrightnessOfCell(m_fields, cell), m_fields[FirstHourOfCell(cell)]);
  }
}

void CAsynAutoDlg::EditHours(std::size_t cell) {
  CHourBrightnessDlg dialog(m_fields, FirstHourOfCell(cell), this);
  if (dialog.exec() != QDialog::Accepted) return;
  m_fields = dialog.Fields();
  ShowFields();
}

}  // namespace vantorel

#include "ui/board_time_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/text_ids.h"
#include "send/screen_results.h"
#include "send/temperature_settings.h"
#include "ui/background_task.h"
#include "ui/ui_text.h"

namespace vantorel {

namespace {

constexpr int kNameColumn = 0;
constexpr int kResultColumn = 1;

DateTime DateTimeOf(const QDateTime& moment) {
  const QDate date = moment.date();
  const QTime time = moment.time();
  return {static_cast<std::uint16_t>(date.year()), static_cast<std::uint16_t>(date.month()),
          static_cast<std::uint16_t>(date.day()),  static_cast<std::uint16_t>(time.hour()),
          static_cast<std::uint16_t>(time.minute()), static_cast<std::uint16_t>(time.second())};
}

}  // namespace

CSetBoardTimeDlg::CSetBoardTimeDlg(const CScreenData& screens, QWidget* parent, ChannelOptions options)
    : QDialog(parent), m_list(screens), m_options(std::move(options)),
      m_results(std::make_shared<std::vector<ScreenResult>>()) {
  setWindowTitle(Text(kTextTimeAndTemperature));

  m_screens = new QTreeWidget(this);
  m_screens->setColumnCount(2);
  m_screens->setHeaderLabels({Text(kTextScreenColumn), Text(kTextResultColumn)});
  m_screens->setRootIsDecorated(false);
  for (int index = 0; index < m_list.Count(); ++index) {
    auto* item = new QTreeWidgetItem(m_screens);
    item->setText(kNameColumn, QString::fromStdString(m_list.DisplayName(index)));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(kNameColumn, index == 0 ? Qt::Checked : Qt::Unchecked);
  }
  m_screens->header()->setSectionResizeMode(kResultColumn, QHeaderView::Stretch);

  auto* selectAll = new QPushButton(Text(kTextSelectAll), this);
  auto* unselectAll = new QPushButton(Text(kTextUnselectAll), this);
  auto* copy = new QPushButton(Text(kTextCopyResults), this);
  connect(selectAll, &QPushButton::clicked, this, [this] { TickAll(true); });
  connect(unselectAll, &QPushButton::clicked, this, [this] { TickAll(false); });
  connect(copy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(ResultsText()); });
  auto* listButtons = new QHBoxLayout;
  listButtons->addWidget(selectAll);
  listButtons->addWidget(unselectAll);
  listButtons->addWidget(copy);
  listButtons->addStretch();

  m_computerTime = new QCheckBox(Text(kTextCurrentComputerTime), this);
  m_computerTime->setChecked(true);
  m_moment = new QDateTimeEdit(QDateTime::currentDateTime(), this);
  m_moment->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  m_moment->setEnabled(false);
  connect(m_computerTime, &QCheckBox::toggled, m_moment, [this](bool computer) { m_moment->setEnabled(!computer); });
  m_setClock = new QPushButton(Text(kTextSetToScreen), this);
  m_readClock = new QPushButton(Text(kTextReadFromScreen), this);
  auto* clockBox = new QGroupBox(this);
  auto* clockLayout = new QGridLayout(clockBox);
  clockLayout->addWidget(m_moment, 0, 0);
  clockLayout->addWidget(m_computerTime, 0, 1);
  clockLayout->addWidget(m_setClock, 1, 0);
  clockLayout->addWidget(m_readClock, 1, 1);

  m_adjust = new QSpinBox(this);
  m_adjust->setRange(-kMaxTemperatureAdjust, kMaxTemperatureAdjust);
  m_unit = new QComboBox(this);
  m_unit->addItems({QStringLiteral("C"), QStringLiteral("F")});
  m_setAdjust = new QPushButton(Text(kTextSetAdjustToScreen), this);
  m_readTemperature = new QPushButton(Text(kTextReadAdjustFromScreen), this);
  auto* temperatureBox = new QGroupBox(Text(kTextTemperatureAdjustment), this);
  auto* temperatureLayout = new QGridLayout(temperatureBox);
  temperatureLayout->addWidget(m_adjust, 0, 0);
  temperatureLayout->addWidget(m_unit, 0, 1);
  temperatureLayout->addWidget(m_setAdjust, 1, 0);
  temperatureLayout->addWidget(m_readTemperature, 1, 1);

  m_readVersion = new QPushButton(Text(kTextReadVersion), this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_screens);
  layout->addLayout(listButtons);
  layout->addWidget(clockBox);
  layout->addWidget(temperatureBox);
  layout->addWidget(m_readVersion);

  m_buttons = {m_setClock, m_readClock, m_setAdjust, m_readTemperature, m_readVersion};
  m_task = new CBackgroundTask(this);
  connect(m_task, &CBackgroundTask::finished, this, [this](bool, bool, const QString&) {
    ShowResults();
    SetButtonsEnabled(true);
    Q_EMIT operationFinished();
  });
  connect(m_setClock, &QPushButton::clicked, this, [this] {
    const DateTime moment = m_computerTime->isChecked() ? CurrentLocalTime() : DateTimeOf(m_moment->dateTime());
    RunOnTicked([moment](const SettingsScreen& screen, const ChannelOptions& channel) {
      return SetControllerClock(screen, moment, channel);
    });
  });
  connect(m_readClock, &QPushButton::clicked, this, [this] { RunOnTicked(ReadControllerClock); });
  connect(m_setAdjust, &QPushButton::clicked, this, [this] {
    const Expected<std::uint8_t> adjustment = TemperatureAdjustValue(m_adjust->value(), m_unit->currentIndex() == 1);
    const std::uint8_t value = adjustment.value_or(0);
    RunOnTicked([value](const SettingsScreen& screen, const ChannelOptions& channel) {
      return SetTemperatureAdjustment(screen, value, channel);
    });
  });
  connect(m_readTemperature, &QPushButton::clicked, this, [this] { RunOnTicked(ReadControllerTemperature); });
  connect(m_readVersion, &QPushButton::clicked, this, [this] { RunOnTicked(ReadControllerVersion); });
}

CSetBoardTimeDlg::~CSetBoardTimeDlg() = default;

bool CSetBoardTimeDlg::IsRunning() const { return m_task->IsRunning(); }

void CSetBoardTimeDlg::TickAll(bool ticked) {
  for (int row = 0; row < m_screens->topLevelItemCount(); ++row) {
    m_screens->topLevelItem(row)->setCheckState(kNameColumn, ticked ? Qt::Checked : Qt::Unchecked);
  }
}

void CSetBoardTimeDlg::SetButtonsEnabled(bool enabled) {
  for (QPushButton* button : m_buttons) button->setEnabled(enabled);
}

void CSetBoardTimeDlg::RunOnTicked(Action action) {
  std::vector<SettingsScreen> ticked;
  for (int row = 0; row < m_screens->topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = m_screens->topLevelItem(row);
    if (item->checkState(kNameColumn) != Qt::Checked) continue;
    item->setText(kResultColumn, QString());
    ticked.push_back(SettingsScreenOf(m_list, row));
  }
  if (ticked.empty()) {
    ShowMessage(this, Text(kTextNoScreenSelected), kTextPrompt, QMessageBox::Information);
    return;
  }
  SetButtonsEnabled(false);
  m_results->clear();
  auto results = m_results;
  const ChannelOptions options = m_options;
  m_task->Start([ticked, action, options, results](const std::atomic<bool>& cancel, const std::function<void(int)>& progress) {
    std::vector<ScreenResult> done;
    for (std::size_t i = 0; i < ticked.size() && !cancel; ++i) {
      done.push_back(action(ticked[i], options));
      progress(static_cast<int>((i + 1) * 100 / ticked.size()));
    }
    *results = std::move(done);  // read by the user-interface thread only after the end
    return Status::Ok();
  });
}

void CSetBoardTimeDlg::ShowResults() {
  for (const ScreenResult& result : *m_results) {
    QTreeWidgetItem* item = m_screens->topLevelItem(result.screen - 1);
    if (item != nullptr) item->setText(kResultColumn, QString::fromStdString(ResultText(result)).trimmed());
  }
}

QString CSetBoardTimeDlg::ResultsText() const {
  QString text;
  for (int row = 0; row < m_screens->topLevelItemCount(); ++row) {
    const QTreeWidgetItem* item = m_screens->topLevelItem(row);
    text += item->text(kNameColumn) + QLatin1Char('\t') + item->text(kResultColumn) + QLatin1Char('\n');
  }
  return text;
}

}  // namespace vantorel

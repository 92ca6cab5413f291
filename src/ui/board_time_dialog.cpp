#include "ui/board_time_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/text_ids.h"
#include "send/temperature_settings.h"
#include "ui/screen_result_list.h"
#include "ui/ui_text.h"

namespace vantorel {

namespace {

DateTime DateTimeOf(const QDateTime& moment) {
  const QDate date = moment.date();
  const QTime time = moment.time();
  return {static_cast<std::uint16_t>(date.year()), static_cast<std::uint16_t>(date.month()),
          static_cast<std::uint16_t>(date.day()),  static_cast<std::uint16_t>(time.hour()),
          static_cast<std::uint16_t>(time.minute()), static_cast<std::uint16_t>(time.second())};
}

}  // namespace

CSetBoardTimeDlg::CSetBoardTimeDlg(const CScreenData& screens, QWidget* parent, ChannelOptions options)
    : QDialog(parent) {
  setWindowTitle(Text(kTextTimeAndTemperature));
  m_screens = new CScreenResultList(screens, std::move(options), this);

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
  layout->addWidget(clockBox);
  layout->addWidget(temperatureBox);
  layout->addWidget(m_readVersion);

  m_buttons = {m_setClock, m_readClock, m_setAdjust, m_readTemperature, m_readVersion};
  connect(m_screens, &CScreenResultList::started, this, [this] { SetButtonsEnabled(false); });
  connect(m_screens, &CScreenResultList::finished, this, [this] {
    SetButtonsEnabled(true);
    Q_EMIT operationFinished();
  });
  connect(m_setClock, &QPushButton::clicked, this, [this] {
    const DateTime moment = m_computerTime->isChecked() ? CurrentLocalTime() : DateTimeOf(m_moment->dateTime());
    m_screens->RunOnTicked([moment](const SettingsScreen& screen, const ChannelOptions& channel) {
      return SetControllerClock(screen, moment, channel);
    });
  });
  connect(m_readClock, &QPushButton::clicked, this, [this] { m_screens->RunOnTicked(ReadControllerClock); });
  connect(m_setAdjust, &QPushButton::clicked, this, [this] {
    const Expected<std::uint8_t> adjustment = TemperatureAdjustValue(m_adjust->value(), m_unit->currentIndex() == 1);
    const std::uint8_t value = adjustment.value_or(0);
    m_screens->RunOnTicked([value](const SettingsScreen& screen, const ChannelOptions& channel) {
      return SetTemperatureAdjustment(screen, value, channel);
    });
  });
  connect(m_readTemperature, &QPushButton::clicked, this, [this] { m_screens->RunOnTicked(ReadControllerTemperature); });
  connect(m_readVersion, &QPushButton::clicked, this, [this] { m_screens->RunOnTicked(ReadControllerVersion); });
}

CSetBoardTimeDlg::~CSetBoardTimeDlg() = default;

QTreeWidget* CSetBoardTimeDlg::Screens() const { return m_screens->Tree(); }

bool CSetBoardTimeDlg::IsRunning() const { return m_screens->IsRunning(); }

void CSetBoardTimeDlg::SetButtonsEnabled(bool enabled) {
  for (QPushButton* button : m_buttons) button->setEnabled(enabled);
}

QString CSetBoardTimeDlg::ResultsText() const { return m_screens->ResultsText(); }

}  // namespace vantorel

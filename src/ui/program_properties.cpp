#include "ui/program_properties.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTime>
#include <QTimeEdit>
#include <QToolButton>

#include <limits>

#include "app/status_text.h"
#include "app/text_ids.h"
#include "codecs/picture_file.h"
#include "playbill/item_builder.h"
#include "ui/ui_text.h"

namespace vantorel {
namespace {

// Sunday first, as the day bits of the time window.
constexpr TextId kDayTexts[] = {kTextSunday, kTextMonday, kTextTuesday, kTextWednesday,
                                kTextThursday, kTextFriday, kTextSaturday};
constexpr int kDayColumns = 3;
const QSize kPreviewSize(160, 80);

QTime TimeOf(std::uint16_t time) { return QTime(std::min(HourOf(time), 23), std::min(MinuteOf(time), 59)); }

std::uint16_t StoredTime(const QTime& time) { return TimeOfDay(time.hour(), time.minute()); }

QTimeEdit* TimeBox(QWidget* parent) {
  auto* box = new QTimeEdit(parent);
  box->setDisplayFormat(QStringLiteral("HH:mm"));
  return box;
}

}  // namespace

CProgramProperties::CProgramProperties(QWidget* parent) : CRecordProperties(parent) {
  m_name = new CFieldEdit(decltype(tagProgramPart::prgName)::kMaxBytes, this);
  m_name->setObjectName(QStringLiteral("ProgramName"));
  m_loops = NumberBox("LoopCount", 0, std::numeric_limits<std::uint8_t>::max(), this);
  m_playTime = NumberBox("PlayTime", 0, std::numeric_limits<std::uint16_t>::max(), this);
  m_background = new QLineEdit(this);
  m_background->setObjectName(QStringLiteral("BackgroundPicture"));
  m_background->setReadOnly(true);
  m_backgroundPicture = new QLabel(this);
  m_backgroundPicture->setObjectName(QStringLiteral("BackgroundPreview"));
  m_backgroundPicture->setWordWrap(true);
  m_backgroundPicture->hide();
  m_chooseBackground = new QToolButton(this);
  m_clearBackground = new QToolButton(this);
  m_showMode = new QComboBox(this);
  m_showMode->setObjectName(QStringLiteral("BackgroundMode"));
  m_timeWindow = new QCheckBox(this);
  m_timeWindow->setObjectName(QStringLiteral("TimeWindowOn"));
  m_texts.Add(m_timeWindow, kTextPlaysInTimeWindow);
  m_start = TimeBox(this);
  m_start->setObjectName(QStringLiteral("TimeWindowStart"));
  m_end = TimeBox(this);
  m_end->setObjectName(QStringLiteral("TimeWindowEnd"));

  auto* backgroundButtons = new QHBoxLayout;
  backgroundButtons->addWidget(m_chooseBackground);
  backgroundButtons->addWidget(m_clearBackground);
  backgroundButtons->addStretch(1);
  auto* days = new QGridLayout;
  for (std::size_t day = 0; day < m_days.size(); ++day) {
    m_days[day] = new QCheckBox(this);
    m_days[day]->setObjectName(QStringLiteral("Day%1").arg(day));
    m_texts.Add(m_days[day], kDayTexts[day]);
    const int index = static_cast<int>(day);
    days->addWidget(m_days[day], index / kDayColumns, index % kDayColumns);
    connect(m_days[day], &QCheckBox::toggled, this, [this] {
      std::uint8_t mask = 0;
      for (std::size_t d = 0; d < m_days.size(); ++d) mask = static_cast<std::uint8_t>(mask | (m_days[d]->isChecked() ? 1u << d : 0u));
      EditProgram(kDays, [mask](tagProgramPart& program) { SetPlayDays(program, mask); });
    });
  }

  auto* form = new QFormLayout(this);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(m_texts.Label(kTextName, this), m_name);
  form->addRow(m_texts.Label(kTextLoopCount, this), m_loops);
  form->addRow(m_texts.Label(kTextPlayTime, this), m_playTime);
  form->addRow(m_texts.Label(kTextBackground, this), m_background);
  form->addRow(QString(), m_backgroundPicture);
  form->addRow(QString(), backgroundButtons);
  form->addRow(m_texts.Label(kTextDisplayMode, this), m_showMode);
  form->addRow(m_timeWindow);
  form->addRow(m_texts.Label(kTextDays, this), days);
  form->addRow(m_texts.Label(kTextFrom, this), m_start);
  form->addRow(m_texts.Label(kTextTo, this), m_end);
  FillChoices();

  connect(m_name, &CFieldEdit::fieldEdited, this,
          [this](const std::string& name) { EditProgram(kName, [&name](tagProgramPart& program) { program.prgName = name; }); });
  connect(m_loops, &QSpinBox::valueChanged, this, [this](int count) {
    EditProgram(kLoopCount, [count](tagProgramPart& program) { program.loopCnt = static_cast<std::uint8_t>(count); });
  });
  connect(m_playTime, &QSpinBox::valueChanged, this, [this](int seconds) {
    EditProgram(kPlayTime, [seconds](tagProgramPart& program) { program.playTime = static_cast<std::uint16_t>(seconds); });
  });
  connect(m_showMode, &QComboBox::activated, this, [this](int index) {
    const auto mode = static_cast<std::uint16_t>(m_showMode->itemData(index).toInt());
    EditProgram(kShowMode, [mode](tagProgramPart& program) { program.showMode = mode; });
  });
  connect(m_timeWindow, &QCheckBox::toggled, this, [this](bool on) {
    EditProgram(kTimeWindow, [this, on](tagProgramPart& program) {
      if (on) {
        SetTimeWindow(program, StoredTime(m_start->time()), StoredTime(m_end->time()));
      } else {
        ClearTimeWindow(program);
      }
    });
  });
  connect(m_start, &QTimeEdit::timeChanged, this, [this](const QTime& time) {
    EditProgram(kStart, [&time](tagProgramPart& program) { SetTimeWindow(program, StoredTime(time), program.timeSch[2]); });
  });
  connect(m_end, &QTimeEdit::timeChanged, this, [this](const QTime& time) {
    EditProgram(kEnd, [&time](tagProgramPart& program) { SetTimeWindow(program, program.timeSch[1], StoredTime(time)); });
  });
}

void CProgramProperties::SetBackgroundActions(QAction* choose, QAction* clear) {
  m_chooseBackground->setDefaultAction(choose);
  m_clearBackground->setDefaultAction(clear);
}

void CProgramProperties::FillChoices() { vantorel::FillChoices(m_showMode, kPlacementModeTexts); }

void CProgramProperties::ShowBackgroundPicture(const std::string& file) {
  if (file == m_shownBackground) return;
  m_shownBackground = file;
  m_backgroundPicture->setVisible(!file.empty());
  if (file.empty()) return;
  const Expected<QImage> picture = ReadPicture(file);
  if (!picture) {
    m_backgroundPicture->setPixmap({});
    m_backgroundPicture->setText(QString::fromStdString(StatusMessage(picture.status().WithText(kTextPictureUnreadable))));
    return;
  }
  m_backgroundPicture->setPixmap(QPixmap::fromImage(picture->scaled(kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void CProgramProperties::EnableTimeWindow(bool on) {
  for (QCheckBox* day : m_days) day->setEnabled(on);
  m_start->setEnabled(on);
  m_end->setEnabled(on);
}

void CProgramProperties::Show(const tagPrgItem& record) {
  m_record = record;
  const tagProgramPart& program = record.program;
  m_name->SetFieldText(program.prgName.view());
  SetQuietly(m_loops, program.loopCnt);
  SetQuietly(m_playTime, program.playTime);
  m_background->setText(QString::fromStdString(program.backgrd.str()));
  m_background->setToolTip(m_background->text());
  ShowBackgroundPicture(program.backgrd.str());
  ShowChoice(m_showMode, program.showMode);
  m_showMode->setEnabled(!program.backgrd.empty());
  const bool on = HasTimeWindow(program);
  {
    const QSignalBlocker block(m_timeWindow);
    m_timeWindow->setChecked(on);
  }
  const std::uint8_t days = PlayDays(program);
  for (std::size_t day = 0; day < m_days.size(); ++day) {
    const QSignalBlocker block(m_days[day]);
    m_days[day]->setChecked((days & (1u << day)) != 0);
  }
  for (const auto& [box, time] : {std::pair{m_start, program.timeSch[1]}, std::pair{m_end, program.timeSch[2]}}) {
    if (box->time() == TimeOf(time)) continue;
    const QSignalBlocker block(box);
    box->setTime(TimeOf(time));
  }
  EnableTimeWindow(on);
}

}  // namespace vantorel

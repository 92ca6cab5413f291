#include "ui/face_item_properties.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <limits>

#include "app/text_ids.h"
#include "playbill/playbill_keys.h"
#include "render/faces/clock_text.h"
#include "render/faces/face_layout.h"
#include "render/font_library.h"
#include "render/font_style.h"
#include "ui/ui_text.h"

namespace vantorel {
namespace {

constexpr int kStyleTexts[] = {kTextClockYear,    kTextClockMonth,        kTextClockDay,       kTextClockHour,
                               kTextClockMinute,  kTextClockSecond,       kTextClockWeekday,   kTextClockHands,
                               kTextClock24Hour,  kTextClockTwoDigitYear, kTextClockMultiLine, kTextClockDial};
constexpr int kDayTexts[] = {kTextSunday, kTextMonday, kTextTuesday, kTextWednesday, kTextThursday, kTextFriday, kTextSaturday};
constexpr int kSensorTexts[] = {kTextCelsius, kTextFahrenheit, kTextHumidityMode};
constexpr int kHoursPerDayTexts[] = {kText8HourWorkDay, kText12HourWorkDay, kText16HourWorkDay, kText24HourWorkDay};
constexpr int kCountTexts[] = {kTextCountDays, kTextCountHours};
constexpr int kWorkStartStep = 8;  // TXT2IMG low byte: the work start hour times 8
constexpr int kDayMask = 0x7F;
constexpr int kStyleColumns = 3;
constexpr int kDayColumns = 4;
constexpr int kMinutesAYear = 366 * 24 * 60;

QDateTime QtDateTimeOf(const std::array<std::uint16_t, 6>& stored) {
  return QDateTime(QDate(stored[0], stored[1], stored[2]), QTime(stored[3], stored[4], stored[5]));
}

// A grid of check boxes, `columns` a row.
template <std::size_t N>
QWidget* CheckGrid(std::array<QCheckBox*, N>& boxes, const int (&textIds)[N], const char* name, int columns,
                   CWidgetTexts& texts, QWidget* parent) {
  auto* grid = new QWidget(parent);
  auto* layout = new QGridLayout(grid);
  layout->setContentsMargins(0, 0, 0, 0);
  for (std::size_t i = 0; i < N; ++i) {
    boxes[i] = new QCheckBox(grid);
    boxes[i]->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(name)).arg(i));
    texts.Add(boxes[i], textIds[i]);
    const int at = static_cast<int>(i);
    layout->addWidget(boxes[i], at / columns, at % columns);
  }
  return grid;
}

QComboBox* Choices(const char* name, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QString::fromLatin1(name));
  return combo;
}

}  // namespace

CFaceItemProperties::CFaceItemProperties(QWidget* parent) : CRecordProperties(parent) {
  constexpr std::size_t kTextBytes = decltype(tagItemPart::media)::kMaxBytes;
  m_styleGrid = CheckGrid(m_styleBoxes, kStyleTexts, "ClockStyle", kStyleColumns, m_texts, this);
  m_dateFormat = Choices("DateFormat", this);
  m_prefix = new CFieldEdit(kTextBytes, this);
  m_prefix->setObjectName(QStringLiteral("FacePrefix"));
  m_template = new CFieldEdit(kTextBytes, this);
  m_template->setObjectName(QStringLiteral("CounterTemplate"));
  m_placeholders = Choices("CounterPlaceholders", this);
  for (const char* placeholder : kCounterPlaceholders) m_placeholders->addItem(QString::fromLatin1(placeholder));
  m_timeDifference = NumberBox("TimeDifference", -kMinutesAYear, kMinutesAYear, this);
  m_sensorMode = Choices("SensorMode", this);
  m_target = new QDateTimeEdit(this);
  m_target->setObjectName(QStringLiteral("CounterTarget"));
  m_target->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  m_target->setCalendarPopup(true);
  m_countUp = Choices("CountUp", this);
  m_start = new QDateEdit(this);
  m_start->setObjectName(QStringLiteral("WorkStart"));
  m_start->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  m_start->setCalendarPopup(true);
  m_dayGrid = CheckGrid(m_dayBoxes, kDayTexts, "WorkingDay", kDayColumns, m_texts, this);
  m_hoursPerDay = Choices("HoursPerDay", this);
  m_countHours = Choices("CountHours", this);
  m_workStartHour = NumberBox("WorkStartHour", 0, 23, this);
  m_baseValue = NumberBox("BaseValue", std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), this);
  m_colour = new QPushButton(this);
  m_colour->setObjectName(QStringLiteral("FaceColour"));
  m_colour->setIconSize(QSize(32, 16));
  m_size = Choices("FaceSize", this);
  m_face = Choices("FaceFace", this);
  m_blink = new QCheckBox(this);
  m_blink->setObjectName(QStringLiteral("BlinkColon"));
  m_texts.Add(m_blink, kTextBlinkColon);

  m_form = new QFormLayout(this);
  m_form->setContentsMargins(0, 0, 0, 0);
  m_form->addRow(m_styleGrid);
  m_form->addRow(m_texts.Label(kTextDateFormat, this), m_dateFormat);
  m_form->addRow(m_texts.Label(kTextFacePrefix, this), m_prefix);
  m_form->addRow(m_texts.Label(kTextTimeDifference, this), m_timeDifference);
  m_form->addRow(m_texts.Label(kTextSensorShows, this), m_sensorMode);
  m_form->addRow(m_texts.Label(kTextCounterTarget, this), m_target);
  m_form->addRow(m_texts.Label(kTextCountMode, this), m_countUp);
  m_form->addRow(m_texts.Label(kTextCounterTemplate, this), m_template);
  m_form->addRow(m_texts.Label(kTextInsertPlaceholder, this), m_placeholders);
  m_form->addRow(m_texts.Label(kTextWorkStartDate, this), m_start);
  m_form->addRow(m_texts.Label(kTextWorkingDays, this), m_dayGrid);
  m_form->addRow(m_texts.Label(kTextHoursPerDay, this), m_hoursPerDay);
  m_form->addRow(m_texts.Label(kTextCountMode, this), m_countHours);
  m_form->addRow(m_texts.Label(kTextWorkStartHour, this), m_workStartHour);
  m_form->addRow(m_texts.Label(kTextWorkBaseValue, this), m_baseValue);
  m_form->addRow(m_texts.Label(kTextTextColour, this), m_colour);
  m_form->addRow(m_texts.Label(kTextCellTextSize, this), m_size);
  m_form->addRow(m_texts.Label(kTextCellTextFace, this), m_face);
  m_form->addRow(m_blink);
  FillChoices();

  for (std::size_t i = 0; i < m_styleBoxes.size(); ++i) {
    connect(m_styleBoxes[i], &QCheckBox::toggled, this, [this, i](bool on) { EditStyleBit(i, on); });
  }
  connect(m_dateFormat, &QComboBox::activated, this, [this](int format) {
    Edit(kDateFormat, [format](tagPrgItem& record) { record.item.showMode = clock_style::WithFormat(record.item.showMode, format); });
  });
  for (CFieldEdit* edit : {m_prefix, m_template}) {
    connect(edit, &CFieldEdit::fieldEdited, this, [this](const std::string& text) {
      Edit(kText, [&text](tagPrgItem& record) { record.item.media = text; });
    });
  }
  connect(m_placeholders, &QComboBox::activated, this,
          [this](int index) { InsertPlaceholder(m_placeholders->itemText(index).toStdString()); });
  connect(m_timeDifference, &QSpinBox::valueChanged, this, [this](int minutes) {
    Edit(kTimeDifference, [minutes](tagPrgItem& record) { record.item.timeAdj = minutes; });
  });
  connect(m_sensorMode, &QComboBox::activated, this, [this](int index) {
    const auto mode = static_cast<std::uint16_t>(m_sensorMode->itemData(index).toInt());
    Edit(kSensorMode, [mode](tagPrgItem& record) { record.item.showMode = mode; });
  });
  connect(m_target, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& moment) {
    const QDate date = moment.date();
    const QTime time = moment.time();
    const std::array<std::uint16_t, 6> stored = {
        static_cast<std::uint16_t>(date.year()), static_cast<std::uint16_t>(date.month()),  static_cast<std::uint16_t>(date.day()),
        static_cast<std::uint16_t>(time.hour()), static_cast<std::uint16_t>(time.minute()), static_cast<std::uint16_t>(time.second())};
    Edit(kTarget, [&stored](tagPrgItem& record) { record.item.tcBase = stored; });
  });
  connect(m_countUp, &QComboBox::activated, this, [this](int index) {
    const int up = m_countUp->itemData(index).toInt();
    Edit(kCountUp, [up](tagPrgItem& record) {
      record.item.tcMode = static_cast<std::uint8_t>((record.item.tcMode & ~1) | up);
    });
  });
  connect(m_start, &QDateEdit::dateChanged, this, [this](const QDate& date) {
    Edit(kTarget, [&date](tagPrgItem& record) {
      record.item.tcBase[0] = static_cast<std::uint16_t>(date.year());
      record.item.tcBase[1] = static_cast<std::uint16_t>(date.month());
      record.item.tcBase[2] = static_cast<std::uint16_t>(date.day());
    });
  });
  for (std::size_t day = 0; day < m_dayBoxes.size(); ++day) {
    connect(m_dayBoxes[day], &QCheckBox::toggled, this, [this, day](bool on) {
      const auto bit = static_cast<std::uint16_t>(1u << day);
      Edit(kFirstWorkingDay + static_cast<int>(day), [bit, on](tagPrgItem& record) {
        std::uint16_t& mode = record.item.showMode;
        mode = static_cast<std::uint16_t>(on ? (mode | bit) : (mode & ~bit));
      });
    });
  }
  connect(m_hoursPerDay, &QComboBox::activated, this, [this](int index) {
    const int hours = m_hoursPerDay->itemData(index).toInt();
    Edit(kHoursPerDay, [hours](tagPrgItem& record) {
      record.item.showMode = static_cast<std::uint16_t>((record.item.showMode & 0xFF) | (hours << 8));
    });
  });
  connect(m_countHours, &QComboBox::activated, this, [this](int index) {
    const auto mode = static_cast<std::uint8_t>(m_countHours->itemData(index).toInt());
    Edit(kCountHours, [mode](tagPrgItem& record) { record.item.tcMode = mode; });
  });
  connect(m_workStartHour, &QSpinBox::valueChanged, this, [this](int hour) {
    Edit(kWorkStartHour, [hour](tagPrgItem& record) {
      record.item.txt2Img = (record.item.txt2Img & ~0xFF) | (hour * kWorkStartStep);
    });
  });
  connect(m_baseValue, &QSpinBox::valueChanged, this, [this](int value) {
    Edit(kBaseValue, [value](tagPrgItem& record) { record.item.timeAdj = value; });
  });
  connect(m_colour, &QPushButton::clicked, this, [this] {
    const QColor colour = QColorDialog::getColor(ShownColour(m_record.item.fntColor), this, Text(kTextTextColour));
    if (colour.isValid()) ChooseColour(colour);
  });
  connect(m_size, &QComboBox::activated, this, [this](int index) {
    const int height = FontHeightOfPoints(m_size->itemData(index).toInt());
    Edit(kSize, [height](tagPrgItem& record) { record.item.logFont.height = height; });
  });
  connect(m_face, &QComboBox::activated, this, [this](int index) {
    const int bits = m_face->itemData(index).toInt() & kFaceBits;
    Edit(kFace, [bits](tagPrgItem& record) { record.item.vwAsText = (record.item.vwAsText & ~kFaceBits) | bits; });
  });
  connect(m_blink, &QCheckBox::toggled, this, [this](bool on) {
    Edit(kBlink, [on](tagPrgItem& record) {
      record.item.vwAsText = on ? (record.item.vwAsText | kBlinkBit) : (record.item.vwAsText & ~kBlinkBit);
    });
  });
  FillSizes();
}

void CFaceItemProperties::FillChoices() {
  vantorel::FillChoices(m_sensorMode, kSensorTexts);
  vantorel::FillChoices(m_countHours, kCountTexts);
  {
    const QSignalBlocker block(m_countUp);
    m_countUp->clear();
    m_countUp->addItem(Text(kTextCountUp), 1);
    m_countUp->addItem(Text(kTextCountDown), 0);
  }
  const QSignalBlocker block(m_hoursPerDay);
  m_hoursPerDay->clear();
  for (std::size_t i = 0; i < std::size(kHoursPerDayTexts); ++i) {
    m_hoursPerDay->addItem(Text(kHoursPerDayTexts[i]), kHoursPerDayChoices[i]);
  }
}

void CFaceItemProperties::FillSizes() {
  FillScreenSizes(m_size, m_context.screen);
  FillScreenFaces(m_face, m_context.fontLibrary.get(), m_context.screen);
  const int codePage = m_context.fontLibrary ? m_context.fontLibrary->GetCodePage() : FontCodePageOf(m_context.screen);
  const QSignalBlocker block(m_dateFormat);
  m_dateFormat->clear();
  for (int format = 0; format < kDateFormatCount; ++format) {
    m_dateFormat->addItem(QString::fromStdString(DateFormatSample(format, m_context.now, codePage)), format);
  }
}

void CFaceItemProperties::SetContext(FaceContext context) {
  m_context = std::move(context);
  FillSizes();
}

void CFaceItemProperties::EditStyleBit(std::size_t box, bool on) {
  const std::uint16_t bit = kStyleBits[box];
  Edit(kFirstStyleBit + static_cast<int>(box), [bit, on](tagPrgItem& record) {
    std::uint16_t& style = record.item.showMode;
    style = static_cast<std::uint16_t>(on ? (style | bit) : (style & ~bit));
  });
}

void CFaceItemProperties::ChooseColour(const QColor& colour) {
  const std::uint32_t stored = StoredColourOf(colour);
  Edit(kColour, [stored](tagPrgItem& record) { record.item.fntColor = stored; });
}

void CFaceItemProperties::InsertPlaceholder(const std::string& placeholder) {
  m_template->insert(QString::fromStdString(placeholder));
  const std::string text = m_template->text().toStdString();
  if (text.size() > decltype(tagItemPart::media)::kMaxBytes) return;  // no room: the template stays
  Edit(kText, [&text](tagPrgItem& record) { record.item.media = text; });
}

void CFaceItemProperties::ShowRows(std::uint16_t kind) {
  const bool clock = kind == kKindClock;
  const bool counter = kind == kKindTimeCounter;
  const bool work = kind == kKindWorkCounter;
  const bool prefixed = clock || kind == kKindSensor;
  for (QWidget* row : {static_cast<QWidget*>(m_styleGrid), static_cast<QWidget*>(m_dateFormat),
                       static_cast<QWidget*>(m_timeDifference)}) {
    m_form->setRowVisible(row, clock);
  }
  m_form->setRowVisible(m_prefix, prefixed);
  m_form->setRowVisible(m_sensorMode, kind == kKindSensor);
  for (QWidget* row : {static_cast<QWidget*>(m_target), static_cast<QWidget*>(m_countUp),
                       static_cast<QWidget*>(m_template), static_cast<QWidget*>(m_placeholders)}) {
    m_form->setRowVisible(row, counter);
  }
  for (QWidget* row : {static_cast<QWidget*>(m_start), static_cast<QWidget*>(m_dayGrid),
                       static_cast<QWidget*>(m_hoursPerDay), static_cast<QWidget*>(m_countHours),
                       static_cast<QWidget*>(m_workStartHour), static_cast<QWidget*>(m_baseValue)}) {
    m_form->setRowVisible(row, work);
  }
  m_form->setRowVisible(m_face, m_face->count() > 0);
  m_form->setRowVisible(m_blink, clock || counter);
}

void CFaceItemProperties::Show(const tagPrgItem& record) {
  m_record = record;
  const tagItemPart& item = record.item;
  ShowRows(item.actType);
  for (std::size_t i = 0; i < m_styleBoxes.size(); ++i) {
    const QSignalBlocker block(m_styleBoxes[i]);
    m_styleBoxes[i]->setChecked((item.showMode & kStyleBits[i]) != 0);
  }
  {
    const QSignalBlocker block(m_dateFormat);
    m_dateFormat->setCurrentIndex(clock_style::FormatOf(item.showMode));
  }
  m_prefix->SetFieldText(item.media.str());
  m_template->SetFieldText(item.media.str());
  SetQuietly(m_timeDifference, item.actType == kKindClock ? item.timeAdj : 0);
  ShowChoice(m_sensorMode, item.showMode);
  {
    const QSignalBlocker block(m_target);
    m_target->setDateTime(QtDateTimeOf(item.tcBase));
  }
  ShowChoice(m_countUp, item.tcMode & 1);
  {
    const QSignalBlocker block(m_start);
    m_start->setDate(QDate(item.tcBase[0], item.tcBase[1], item.tcBase[2]));
  }
  for (std::size_t day = 0; day < m_dayBoxes.size(); ++day) {
    const QSignalBlocker block(m_dayBoxes[day]);
    m_dayBoxes[day]->setChecked((item.showMode & kDayMask & (1u << day)) != 0);
  }
  ShowChoice(m_hoursPerDay, item.showMode >> 8);
  ShowChoice(m_countHours, item.tcMode == 0 ? 0 : 1);
  SetQuietly(m_workStartHour, (item.txt2Img & 0xFF) / kWorkStartStep);
  SetQuietly(m_baseValue, item.actType == kKindWorkCounter ? item.timeAdj : 0);
  ShowColourButton(m_colour, item.fntColor);
  ShowChoice(m_size, PointsOfFontHeight(item.logFont.height));
  if (m_face->count() > 0) ShowChoice(m_face, item.vwAsText & kFaceBits);
  const QSignalBlocker block(m_blink);
  m_blink->setChecked((item.vwAsText & kBlinkBit) != 0);
}

}  // namespace vantorel

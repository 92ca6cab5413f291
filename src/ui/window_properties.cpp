#include "ui/window_properties.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

#include <limits>

#include "app/text_ids.h"
#include "ui/ui_text.h"

namespace vantorel {
namespace {

// What a window does after its last item (WAITTYPE): stop, or start again from its first item.
constexpr TextId kWaitTypeTexts[] = {kTextStop, kTextStartAgain};

}  // namespace

CWindowProperties::CWindowProperties(QWidget* parent) : QWidget(parent) {
  m_name = new CFieldEdit(decltype(tagWindowPart::areaName)::kMaxBytes, this);
  m_name->setObjectName(QStringLiteral("WindowName"));
  // The record's limits; the document keeps the window on the screen.
  m_left = NumberBox(std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max(), this);
  m_top = NumberBox(std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max(), this);
  m_width = NumberBox(0, std::numeric_limits<std::uint16_t>::max(), this);
  m_height = NumberBox(0, std::numeric_limits<std::uint16_t>::max(), this);
  m_waitType = new QComboBox(this);
  m_waitType->setObjectName(QStringLiteral("WaitType"));
  m_border = NumberBox(0, std::numeric_limits<std::uint8_t>::max(), this);
  m_border->setObjectName(QStringLiteral("Border"));
  m_border->setSpecialValueText(Text(kTextNone));

  auto* form = new QFormLayout(this);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(m_texts.Label(kTextName, this), m_name);
  const struct {
    QSpinBox* box;
    int textId;
    Field field;
    const char* name;
  } geometry[] = {{m_left, kTextLeft, kLeft, "WindowLeft"},
                  {m_top, kTextTop, kTop, "WindowTop"},
                  {m_width, kTextWidth, kWidth, "WindowWidth"},
                  {m_height, kTextHeight, kHeight, "WindowHeight"}};
  for (const auto& row : geometry) {
    row.box->setObjectName(QString::fromLatin1(row.name));
    form->addRow(m_texts.Label(row.textId, this), row.box);
    connect(row.box, &QSpinBox::valueChanged, this, [this, field = row.field] { EditRect(field); });
  }
  form->addRow(m_texts.Label(kTextAfterLastItem, this), m_waitType);
  form->addRow(m_texts.Label(kTextBorder, this), m_border);
  FillWaitTypes();

  connect(m_name, &CFieldEdit::fieldEdited, this, [this](const std::string& name) {
    tagPrgItem record = m_record;
    record.window.areaName = name;
    Q_EMIT edited(record, kName);
  });
  connect(m_waitType, &QComboBox::activated, this, [this](int index) {
    tagPrgItem record = m_record;
    record.window.waitType = static_cast<std::uint8_t>(m_waitType->itemData(index).toInt());
    Q_EMIT edited(record, kWaitType);
  });
  connect(m_border, &QSpinBox::valueChanged, this, [this](int border) {
    tagPrgItem record = m_record;
    record.window.border = static_cast<std::uint8_t>(border);
    Q_EMIT edited(record, kBorder);
  });
}

void CWindowProperties::EditRect(int field) {
  Q_EMIT rectEdited({static_cast<std::int16_t>(m_left->value()), static_cast<std::int16_t>(m_top->value()),
                     static_cast<std::uint16_t>(m_width->value()), static_cast<std::uint16_t>(m_height->value())},
                    field);
}

void CWindowProperties::FillWaitTypes() {
  const QSignalBlocker block(m_waitType);
  m_waitType->clear();
  for (int type = 0; type < static_cast<int>(std::size(kWaitTypeTexts)); ++type) m_waitType->addItem(Text(kWaitTypeTexts[type]), type);
}

void CWindowProperties::Show(const tagPrgItem& record) {
  m_record = record;
  const tagWindowPart& window = record.window;
  m_name->SetFieldText(window.areaName.view());
  SetQuietly(m_left, window.left);
  SetQuietly(m_top, window.top);
  SetQuietly(m_width, window.width);
  SetQuietly(m_height, window.height);
  ShowChoice(m_waitType, window.waitType);
  SetQuietly(m_border, window.border);
}

void CWindowProperties::Retranslate() {
  m_texts.Retranslate();
  m_border->setSpecialValueText(Text(kTextNone));
  FillWaitTypes();
  Show(m_record);
}

}  // namespace vantorel

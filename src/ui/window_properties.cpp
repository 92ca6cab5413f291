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

CWindowProperties::CWindowProperties(QWidget* parent) : CRecordProperties(parent) {
  m_name = new CFieldEdit(decltype(tagWindowPart::areaName)::kMaxBytes, this);
  m_name->setObjectName(QStringLiteral("WindowName"));
  // The record's limits; the document keeps the window on the screen.
  constexpr int kMinPosition = std::numeric_limits<std::int16_t>::min();
  constexpr int kMaxPosition = std::numeric_limits<std::int16_t>::max();
  m_left = NumberBox("WindowLeft", kMinPosition, kMaxPosition, this);
  m_top = NumberBox("WindowTop", kMinPosition, kMaxPosition, this);
  m_width = NumberBox("WindowWidth", 0, std::numeric_limits<std::uint16_t>::max(), this);
  m_height = NumberBox("WindowHeight", 0, std::numeric_limits<std::uint16_t>::max(), this);
  m_waitType = new QComboBox(this);
  m_waitType->setObjectName(QStringLiteral("WaitType"));
  m_border = NumberBox("Border", 0, std::numeric_limits<std::uint8_t>::max(), this);

  auto* form = new QFormLayout(this);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(m_texts.Label(kTextName, this), m_name);
  const struct {
    QSpinBox* box;
    int textId;
    Field field;
  } geometry[] = {{m_left, kTextLeft, kLeft}, {m_top, kTextTop, kTop}, {m_width, kTextWidth, kWidth}, {m_height, kTextHeight, kHeight}};
  for (const auto& row : geometry) {
    form->addRow(m_texts.Label(row.textId, this), row.box);
    connect(row.box, &QSpinBox::valueChanged, this, [this, field = row.field] { EditRect(field); });
  }
  form->addRow(m_texts.Label(kTextAfterLastItem, this), m_waitType);
  form->addRow(m_texts.Label(kTextBorder, this), m_border);
  FillChoices();

  connect(m_name, &CFieldEdit::fieldEdited, this,
          [this](const std::string& name) { Edit(kName, [&name](tagPrgItem& record) { record.window.areaName = name; }); });
  connect(m_waitType, &QComboBox::activated, this, [this](int index) {
    const auto type = static_cast<std::uint8_t>(m_waitType->itemData(index).toInt());
    Edit(kWaitType, [type](tagPrgItem& record) { record.window.waitType = type; });
  });
  connect(m_border, &QSpinBox::valueChanged, this, [this](int border) {
    Edit(kBorder, [border](tagPrgItem& record) { record.window.border = static_cast<std::uint8_t>(border); });
  });
}

void CWindowProperties::EditRect(int field) {
  Q_EMIT rectEdited({static_cast<std::int16_t>(m_left->value()), static_cast<std::int16_t>(m_top->value()),
                     static_cast<std::uint16_t>(m_width->value()), static_cast<std::uint16_t>(m_height->value())},
                    field);
}

void CWindowProperties::FillChoices() {
  vantorel::FillChoices(m_waitType, kWaitTypeTexts);
  m_border->setSpecialValueText(Text(kTextNone));
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

}  // namespace vantorel

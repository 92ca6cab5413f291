#include "ui/property_fields.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>

#include "app/text_format.h"
#include "app/text_table.h"
#include "platform/fixed_text.h"
#include "playbill/item_builder.h"
#include "render/font_library.h"
#include "render/font_style.h"
#include "screen/comm_types.h"
#include "screen/screen_data.h"
#include "screen/screen_editor_rules.h"
#include "ui/ui_text.h"

namespace vantorel {

// The swap of red and blue is its own inverse.
QColor ShownColour(std::uint32_t stored) { return QColor::fromRgb(StoredColour(stored & 0xFFFFFF)); }

std::uint32_t StoredColourOf(const QColor& colour) { return StoredColour(colour.rgb() & 0xFFFFFF); }

void FillSerialPorts(QComboBox* ports) {
  for (int index = 0; index < kSerialPortCount; ++index) ports->addItem(QString::fromStdString(SerialPortText(index)), index);
}

void FillBaudRates(QComboBox* rates) {
  for (const std::int32_t baud : kBaudRates) rates->addItem(QString::number(baud), baud);
}

void ShowColourButton(QPushButton* button, std::uint32_t stored) {
  const QColor colour = ShownColour(stored);
  QPixmap swatch(32, 16);
  swatch.fill(colour);
  QPainter painter(&swatch);
  painter.setPen(Qt::gray);
  painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
  painter.end();
  button->setIconSize(swatch.size());
  button->setIcon(QIcon(swatch));
  button->setText(colour.name());
}

CFieldEdit::CFieldEdit(std::size_t maxBytes, QWidget* parent) : QLineEdit(parent), m_maxBytes(maxBytes) {
  // No character takes less than a byte: a first limit before the field's own measure.
  setMaxLength(static_cast<int>(maxBytes));
  connect(this, &QLineEdit::textEdited, this, [this](const QString& typed) {
    const std::string text = typed.toStdString();
    const std::string_view kept = CutToLegacySize(text, m_maxBytes);
    if (kept.size() != text.size()) {
      const int cursor = cursorPosition();
      const QString cut = QString::fromUtf8(kept.data(), static_cast<qsizetype>(kept.size()));
      setText(cut);
      setCursorPosition(std::min(cursor, static_cast<int>(cut.size())));
    }
    Q_EMIT fieldEdited(std::string(kept));
  });
}

void CFieldEdit::SetFieldText(std::string_view text) {
  const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (shown != this->text()) setText(shown);
}

QSpinBox* NumberBox(const char* name, int min, int max, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setRange(min, max);
  return box;
}

void SetQuietly(QSpinBox* box, int value) {
  if (box->value() == value) return;  // a box being typed in keeps its cursor
  const QSignalBlocker block(box);
  box->setValue(value);
}

namespace {

constexpr int kOtherValueRole = Qt::UserRole + 1;

}  // namespace

void FillChoices(QComboBox* combo, std::span<const int> textIds) {
  const QSignalBlocker block(combo);
  combo->clear();
  for (std::size_t i = 0; i < textIds.size(); ++i) combo->addItem(Text(textIds[i]), static_cast<int>(i));
}

void ShowChoice(QComboBox* combo, int value) {
  const QSignalBlocker block(combo);
  for (int i = combo->count() - 1; i >= 0; --i) {
    if (combo->itemData(i, kOtherValueRole).toBool()) combo->removeItem(i);
  }
  int index = combo->findData(value);
  if (index < 0) {
    combo->addItem(QString::fromStdString(FormatText(LoadText(kTextOtherValue).c_str(), value)), value);
    index = combo->count() - 1;
    combo->setItemData(index, true, kOtherValueRole);
  }
  combo->setCurrentIndex(index);
}

void FillScreenSizes(QComboBox* sizes, const tagScreenInfo& screen) {
  const auto masks = static_cast<std::uint16_t>(screen.ascSizeM | screen.extSizeM);
  const QSignalBlocker block(sizes);
  sizes->clear();
  for (int index = 0; index < kFontSizeCount; ++index) {
    if (masks == 0 || (masks & (1u << index)) != 0) sizes->addItem(QString::fromStdString(SizeLabel(index)), IndexToSize(index));
  }
}

void FillScreenFaces(QComboBox* faces, const CDotFont* library, const tagScreenInfo& screen) {
  const QSignalBlocker block(faces);
  faces->clear();
  for (const FaceListEntry& face : FaceList(library, screen.ascSizeM, screen.extSizeM)) {
    faces->addItem(QString::fromStdString(face.name), static_cast<int>(face.faceBits));
  }
}

QLabel* CWidgetTexts::Label(int textId, QWidget* parent) {
  auto* label = new QLabel(Text(textId), parent);
  m_labels.emplace_back(label, textId);
  return label;
}

void CWidgetTexts::Add(QAbstractButton* button, int textId) {
  button->setText(Text(textId));
  m_buttons.emplace_back(button, textId);
}

void CWidgetTexts::Retranslate() const {
  for (const auto& [label, textId] : m_labels) label->setText(Text(textId));
  for (const auto& [button, textId] : m_buttons) button->setText(Text(textId));
}

}  // namespace vantorel

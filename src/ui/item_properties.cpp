#include "ui/item_properties.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <limits>

#include "app/text_ids.h"
#include "playbill/effect_table.h"
#include "playbill/item_builder.h"
#include "playbill/playbill_keys.h"
#include "ui/picture_item_properties.h"
#include "ui/ui_text.h"

namespace vantorel {
namespace {

// A stored colour (red in the low byte) as Qt shows it; the swap of red and blue is its own inverse.
QColor ColourOf(std::uint32_t stored) { return QColor::fromRgb(StoredColour(stored & 0xFFFFFF)); }

std::uint32_t StoredOf(const QColor& colour) { return StoredColour(colour.rgb() & 0xFFFFFF); }

QIcon Swatch(const QColor& colour) {
  QPixmap swatch(32, 16);
  swatch.fill(colour);
  QPainter painter(&swatch);
  painter.setPen(Qt::gray);
  painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
  return QIcon(swatch);
}

}  // namespace

CItemProperties::CItemProperties(QWidget* parent) : CRecordProperties(parent) {
  m_effect = new QComboBox(this);
  m_effect->setObjectName(QStringLiteral("Effect"));
  m_effect->setMaxVisibleItems(20);
  m_speed = NumberBox("Speed", 0, std::numeric_limits<std::uint16_t>::max(), this);
  m_stayTime = NumberBox("StayTime", 0, std::numeric_limits<std::uint16_t>::max(), this);
  m_transparent = new QCheckBox(this);
  m_transparent->setObjectName(QStringLiteral("Transparent"));
  m_texts.Add(m_transparent, kTextTransparentBackground);
  m_backgroundColour = new QPushButton(this);
  m_backgroundColour->setObjectName(QStringLiteral("BackgroundColour"));
  m_backgroundColour->setIconSize(QSize(32, 16));

  auto* form = new QFormLayout(this);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(m_texts.Label(kTextEffect, this), m_effect);
  form->addRow(m_texts.Label(kTextSpeed, this), m_speed);
  form->addRow(m_texts.Label(kTextStayTime, this), m_stayTime);
  form->addRow(m_transparent);
  form->addRow(m_texts.Label(kTextBackgroundColour, this), m_backgroundColour);
  m_picture = new CPictureItemProperties(this);
  form->addRow(m_picture);
  connect(m_picture, &CRecordProperties::edited, this, &CRecordProperties::edited);
  FillChoices();

  connect(m_effect, &QComboBox::activated, this, [this](int index) {
    const auto code = static_cast<std::uint16_t>(m_effect->itemData(index).toInt());
    EditItem(kEffect, [code](tagItemPart& item) { item.showType = code; });
  });
  connect(m_speed, &QSpinBox::valueChanged, this, [this](int speed) {
    EditItem(kSpeed, [speed](tagItemPart& item) { item.speed = static_cast<std::uint16_t>(speed); });
  });
  connect(m_stayTime, &QSpinBox::valueChanged, this, [this](int seconds) {
    EditItem(kStayTime, [seconds](tagItemPart& item) { item.actTime = static_cast<std::uint16_t>(seconds); });
  });
  connect(m_transparent, &QCheckBox::toggled, this, [this](bool on) {
    EditItem(kTransparent, [on](tagItemPart& item) { item.transp = on ? 1 : 0; });
  });
  connect(m_backgroundColour, &QPushButton::clicked, this, &CItemProperties::ChooseBackgroundColour);
}

void CItemProperties::FillChoices() {
  const QSignalBlocker block(m_effect);
  m_effect->clear();
  for (int index = 0; index < kEffectCount; ++index) {
    const EffectInfo& effect = EffectAt(index);
    m_effect->addItem(Text(effect.textId), effect.code);
  }
}

void CItemProperties::ChooseBackgroundColour() {
  const QColor chosen = QColorDialog::getColor(ColourOf(m_record.item.bgColor), this, Text(kTextBackgroundColour));
  if (!chosen.isValid()) return;
  const std::uint32_t stored = StoredOf(chosen);
  EditItem(kBackgroundColour, [stored](tagItemPart& item) { item.bgColor = stored; });
}

void CItemProperties::Show(const tagPrgItem& record) {
  m_record = record;
  const tagItemPart& item = record.item;
  // A code outside the table shows no effect until one is chosen.
  const int effect = EffectIndexOfCode(item.showType);
  {
    const QSignalBlocker block(m_effect);
    m_effect->setCurrentIndex(effect);
  }
  SetQuietly(m_speed, item.speed);
  SetQuietly(m_stayTime, item.actTime);
  {
    const QSignalBlocker block(m_transparent);
    m_transparent->setChecked(item.transp != 0);
  }
  m_backgroundColour->setIcon(Swatch(ColourOf(item.bgColor)));
  m_backgroundColour->setText(ColourOf(item.bgColor).name());
  // A kind that does not keep its background colour would lose it on saving.
  m_backgroundColour->setEnabled(ItemKindWrites(item.actType, ActorKey::BgColor));
  m_picture->setVisible(item.actType == kKindPicture);
  m_picture->Show(record);
}

void CItemProperties::Retranslate() {
  m_picture->Retranslate();
  CRecordProperties::Retranslate();
}

}  // namespace vantorel

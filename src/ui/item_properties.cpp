#include "ui/item_properties.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <limits>

#include "app/text_ids.h"
#include "playbill/effect_table.h"
#include "playbill/item_builder.h"
#include "playbill/playbill_keys.h"
#include "ui/cell_text_editor.h"
#include "ui/face_item_properties.h"
#include "ui/image_text_editor.h"
#include "ui/media_item_properties.h"
#include "ui/picture_item_properties.h"
#include "ui/text_file_item_properties.h"
#include "ui/ui_text.h"

namespace vantorel {
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
  m_textFile = new CTextFileItemProperties(this);
  form->addRow(m_textFile);
  m_cellText = new CCellTextItemProperties(this);
  form->addRow(m_cellText);
  m_imageText = new CImageTextItemProperties(this);
  form->addRow(m_imageText);
  m_face = new CFaceItemProperties(this);
  form->addRow(m_face);
  m_media = new CMediaItemProperties(this);
  form->addRow(m_media);
  for (CRecordProperties* editor :
       std::initializer_list<CRecordProperties*>{m_picture, m_textFile, m_cellText, m_imageText, m_face, m_media}) {
    connect(editor, &CRecordProperties::edited, this, &CRecordProperties::edited);
  }
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
  const QColor chosen = QColorDialog::getColor(ShownColour(m_record.item.bgColor), this, Text(kTextBackgroundColour));
  if (!chosen.isValid()) return;
  const std::uint32_t stored = StoredColourOf(chosen);
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
  ShowColourButton(m_backgroundColour, item.bgColor);
  // A kind that does not keep its background colour would lose it on saving.
  m_backgroundColour->setEnabled(ItemKindWrites(item.actType, ActorKey::BgColor));
  m_picture->setVisible(item.actType == kKindPicture);
  m_picture->Show(record);
  m_textFile->setVisible(item.actType == kKindTextFile);
  m_textFile->Show(record);
  m_cellText->setVisible(item.actType == kKindCellText);
  if (item.actType == kKindCellText) m_cellText->Show(record);
  m_imageText->setVisible(item.actType == kKindImageText);
  if (item.actType == kKindImageText) m_imageText->Show(record);
  m_face->setVisible(IsFaceKind(item.actType));
  if (IsFaceKind(item.actType)) m_face->Show(record);
  m_media->setVisible(IsMediaItemKind(item.actType));
  if (IsMediaItemKind(item.actType)) m_media->Show(record);
}

void CItemProperties::Retranslate() {
  m_picture->Retranslate();
  m_textFile->Retranslate();
  m_cellText->Retranslate();
  m_imageText->Retranslate();
  m_face->Retranslate();
  m_media->Retranslate();
  CRecordProperties::Retranslate();
}

}  // namespace vantorel

#pragma once
// The settings every item has, whatever its kind: entry effect, effect speed, stay time,
// transparent background, and the background colour (offered for the kinds that keep it); below
// them the editor of what the item's kind shows.

#include "ui/record_properties.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

namespace vantorel {

class CCellTextItemProperties;
class CFaceItemProperties;
class CImageTextItemProperties;
class CMediaItemProperties;
class CPictureItemProperties;
class CTextFileItemProperties;

class CItemProperties : public CRecordProperties {
  Q_OBJECT
public:
  // What changed; repeated changes of one field are one undo step.
  enum Field { kEffect = 1, kSpeed, kStayTime, kTransparent, kBackgroundColour };

  explicit CItemProperties(QWidget* parent);

  void Show(const tagPrgItem& record) override;
  void Retranslate() override;
  CPictureItemProperties* PictureEditor() const { return m_picture; }
  CTextFileItemProperties* TextFileEditor() const { return m_textFile; }
  CCellTextItemProperties* CellTextEditor() const { return m_cellText; }
  CImageTextItemProperties* ImageTextEditor() const { return m_imageText; }
  CFaceItemProperties* FaceEditor() const { return m_face; }
  CMediaItemProperties* MediaEditor() const { return m_media; }

private:
  void FillChoices() override;
  // Reports the shown record with `change` applied to its item part.
  template <typename Change>
  void EditItem(int field, Change change) {
    Edit(field, [&change](tagPrgItem& record) { change(record.item); });
  }
  void ChooseBackgroundColour();
  QComboBox* m_effect = nullptr;
  QSpinBox* m_speed = nullptr;
  QSpinBox* m_stayTime = nullptr;
  QCheckBox* m_transparent = nullptr;
  QPushButton* m_backgroundColour = nullptr;
  CPictureItemProperties* m_picture = nullptr;
  CTextFileItemProperties* m_textFile = nullptr;
  CCellTextItemProperties* m_cellText = nullptr;
  CImageTextItemProperties* m_imageText = nullptr;
  CFaceItemProperties* m_face = nullptr;
  CMediaItemProperties* m_media = nullptr;
};

}  // namespace vantorel

#pragma once
// The settings every item has, whatever its kind: entry effect, effect speed, stay time,
// transparent background, and the background colour (offered for the kinds that keep it).

#include <QWidget>

#include "playbill/prg_item.h"
#include "ui/property_fields.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

namespace vantorel {

class CItemProperties : public QWidget {
  Q_OBJECT
public:
  // What changed; repeated changes of one field are one undo step.
  enum Field { kEffect = 1, kSpeed, kStayTime, kTransparent, kBackgroundColour };

  explicit CItemProperties(QWidget* parent);

  void Show(const tagPrgItem& record);
  void Retranslate();

Q_SIGNALS:
  void edited(const vantorel::tagPrgItem& record, int field);

private:
  template <typename Change>
  void Edit(int field, Change change);
  void FillEffects();
  void ChooseBackgroundColour();

  tagPrgItem m_record;
  CWidgetTexts m_texts;
  QComboBox* m_effect = nullptr;
  QSpinBox* m_speed = nullptr;
  QSpinBox* m_stayTime = nullptr;
  QCheckBox* m_transparent = nullptr;
  QPushButton* m_backgroundColour = nullptr;
};

}  // namespace vantorel

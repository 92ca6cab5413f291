#pragma once
// The properties of a window: name, position and size (kept on the screen by the document), what
// it does after its last item, and its border.

#include <QWidget>

#include "playbill/cross_layout.h"
#include "playbill/prg_item.h"
#include "ui/property_fields.h"

class QComboBox;
class QSpinBox;

namespace vantorel {

class CWindowProperties : public QWidget {
  Q_OBJECT
public:
  // What changed; repeated changes of one field are one undo step.
  enum Field { kName = 1, kLeft, kTop, kWidth, kHeight, kWaitType, kBorder };

  explicit CWindowProperties(QWidget* parent);

  void Show(const tagPrgItem& record);
  void Retranslate();

Q_SIGNALS:
  void edited(const vantorel::tagPrgItem& record, int field);
  void rectEdited(vantorel::WindowRect rect, int field);

private:
  void FillWaitTypes();
  void EditRect(int field);

  tagPrgItem m_record;
  CWidgetTexts m_texts;
  CFieldEdit* m_name = nullptr;
  QSpinBox* m_left = nullptr;
  QSpinBox* m_top = nullptr;
  QSpinBox* m_width = nullptr;
  QSpinBox* m_height = nullptr;
  QComboBox* m_waitType = nullptr;
  QSpinBox* m_border = nullptr;
};

}  // namespace vantorel

#pragma once
// The properties of a window: name, position and size (kept on the screen by the document), what
// it does after its last item, and its border.

#include "playbill/cross_layout.h"
#include "ui/record_properties.h"

class QComboBox;
class QSpinBox;

namespace vantorel {

class CWindowProperties : public CRecordProperties {
  Q_OBJECT
public:
  // What changed; repeated changes of one field are one undo step.
  enum Field { kName = 1, kLeft, kTop, kWidth, kHeight, kWaitType, kBorder };

  explicit CWindowProperties(QWidget* parent);

  void Show(const tagPrgItem& record) override;

Q_SIGNALS:
  // Position and size as typed; the document keeps the window on the screen.
  void rectEdited(vantorel::WindowRect rect, int field);

private:
  void FillChoices() override;
  void EditRect(int field);
  CFieldEdit* m_name = nullptr;
  QSpinBox* m_left = nullptr;
  QSpinBox* m_top = nullptr;
  QSpinBox* m_width = nullptr;
  QSpinBox* m_height = nullptr;
  QComboBox* m_waitType = nullptr;
  QSpinBox* m_border = nullptr;
};

}  // namespace vantorel

#pragma once
// What a picture item shows: its file, how the picture is placed in the window (center, zoom,
// stretch, tile) and whether it is inverted.

#include "ui/record_properties.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace vantorel {

class CPictureItemProperties : public CRecordProperties {
  Q_OBJECT
public:
  enum Field { kFile = 20, kPlacement, kInverse };

  explicit CPictureItemProperties(QWidget* parent);

  void Show(const tagPrgItem& record) override;
  // Takes `file` as the item's picture when it can be read; otherwise says why in the editor and
  // changes nothing. What the file chooser calls; tests call it directly.
  bool ChooseFile(const std::string& file);

private:
  void FillChoices() override;
  QLineEdit* m_file = nullptr;
  QToolButton* m_choose = nullptr;
  QLabel* m_problem = nullptr;
  QComboBox* m_placement = nullptr;
  QCheckBox* m_inverse = nullptr;
};

}  // namespace vantorel

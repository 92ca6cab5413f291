#pragma once
// The "Image mode" editor: formatted text in the platform's fonts (family, size, colour, text
// background, bold, italic, underline for the selection; alignment for its paragraphs), stored as
// an RTF document after its 32-bit length in the item's block, and the first line as the item's
// name. A text too long for a block is not taken.

#include <QColor>
#include <QFont>

#include <optional>

#include "ui/record_properties.h"

class QComboBox;
class QFontComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTextEdit;
class QToolButton;

namespace vantorel {

class CImageTextItemProperties : public CRecordProperties {
  Q_OBJECT
public:
  enum Field { kText = 80, kFormat, kAlignment };

  explicit CImageTextItemProperties(QWidget* parent);

  void Show(const tagPrgItem& record) override;

  // What the fields call: the selection (without one, what is typed next) takes the change; the
  // alignment goes to the paragraphs of the selection.
  void ApplyFamily(const QString& family);
  void ApplyPointSize(int points);
  void ApplyColour(const QColor& colour);
  void ApplyBackground(const QColor& colour);
  void ApplyBold(bool on);
  void ApplyItalic(bool on);
  void ApplyUnderline(bool on);
  void ApplyAlignment(Qt::Alignment alignment);
  QTextEdit* TextEdit() const { return m_text; }

private:
  void FillChoices() override;
  void Merge(const QTextCharFormat& format);
  void StoreText(int field);
  // The fields show the format at the cursor.
  void ShowFormat(const QTextCharFormat& format);

  QFontComboBox* m_family = nullptr;
  QSpinBox* m_size = nullptr;
  QPushButton* m_colour = nullptr;
  QPushButton* m_background = nullptr;
  QToolButton* m_bold = nullptr;
  QToolButton* m_italic = nullptr;
  QToolButton* m_underline = nullptr;
  QComboBox* m_align = nullptr;
  QTextEdit* m_text = nullptr;
  QLabel* m_problem = nullptr;
  std::optional<RichTextBlock> m_stored;  // what this editor last stored: not read back over the text
  bool m_writing = false;
  int m_pendingField = 0;
};

}  // namespace vantorel

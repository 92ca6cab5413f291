#pragma once
// What a plain text file item shows: its file and the font and colour the text is drawn in. The
// kind keeps no background colour of its own.

#include <QFont>

#include "ui/record_properties.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace vantorel {

// The LOGFONT of a font chosen in the font dialog (height in pixels); FontOfLogFont
// (render/richtext/rich_text_item.h) turns it back.
tagLogFont LogFontOf(const QFont& font);

class CTextFileItemProperties : public CRecordProperties {
  Q_OBJECT
public:
  enum Field { kFile = 40, kFont, kColour };

  explicit CTextFileItemProperties(QWidget* parent);

  void Show(const tagPrgItem& record) override;
  // What the file chooser, the font dialog and the colour dialog call; tests call them directly.
  void ChooseFile(const std::string& file);
  void ChooseFont(const QFont& font);
  void ChooseColour(const QColor& colour);

private:
  void FillChoices() override {}
  QLineEdit* m_file = nullptr;
  QToolButton* m_browse = nullptr;
  QPushButton* m_font = nullptr;
  QPushButton* m_colour = nullptr;
};

}  // namespace vantorel

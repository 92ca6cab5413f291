#pragma once
// The "Text mode" editor: the user types the text and gives the selected characters a size of the
// screen's, a colour (the colour bits of three-byte cells, any colour in six-byte cells) and
// inverse; the face, the alignment and the line spacing hold for the whole item. What is typed
// becomes the item's cells at once, limited to what the item's buffer holds, and the editor shows
// the characters as the cells keep them; below it, the first page drawn with the dot fonts exactly
// as the sign draws it. ".fxt" files load and save the cells, ".txt" files load as text.

#include <QImage>
#include <QSize>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/status.h"
#include "render/celltext/styled_cells.h"
#include "render/dot_font.h"
#include "screen/screen_data.h"
#include "ui/record_properties.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTextEdit;

namespace vantorel {

// What the editor needs beside the record: the screen, the item's window and the font library.
struct CellTextContext {
  tagScreenInfo screen;
  QSize window{0, 0};
  std::filesystem::path folder;
  std::shared_ptr<CTwFont> fontLibrary;
};

// The bytes a "Text mode" item's buffer holds: its block's, at least a new item's.
std::size_t CellTextBufferBytes(const tagItemPart& item);

class CCellTextItemProperties : public CRecordProperties {
  Q_OBJECT
public:
  enum Field { kText = 60, kStyle, kFace, kAlignment, kSpacing, kFile };
  // The colours of three-byte cells, stored form (red in the low byte).
  static constexpr std::uint32_t kBitColours[] = {0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

  explicit CCellTextItemProperties(QWidget* parent);

  void SetContext(CellTextContext context);
  void Show(const tagPrgItem& record) override;

  // The characters as the editor holds them now.
  std::vector<StyledChar> Characters() const;
  // Gives the selected characters (without a selection: what is typed next) a size in dots, a
  // colour (stored form) or inverse; what the toolbar's fields call.
  void ApplySize(int dots);
  void ApplyColour(std::uint32_t colour);
  void ApplyInverse(bool inverse);
  // Loads a ".fxt" file as the item's cells or a ".txt" file as text; saves the cells as ".fxt".
  // A failure leaves the item as it was; the buttons show it as a warning.
  Status LoadFile(const std::filesystem::path& file);
  Status SaveFile(const std::filesystem::path& file);
  // The cells the buffer holds beside its header and terminating cell.
  std::size_t Capacity() const;
  QTextEdit* TextEdit() const { return m_text; }
  // The pages as the sign draws them (the first few), one pixel per LED; none without a font
  // library. The preview shows them one below the other.
  std::vector<QImage> PreviewPages() const;
  QImage PreviewPage() const;

private:
  void FillChoices() override;
  CellTextSettings Settings() const;
  int CellSize() const;
  // Writes `characters` into the text edit without reporting them; the cursor stays where it was.
  void ShowCharacters(const std::vector<StyledChar>& characters);
  // What was typed, as cells: the characters shown as the cells keep them, the block stored.
  void TextTyped();
  void StoreCells(const std::vector<StyledChar>& characters, int field);
  void Restyle(const std::function<void(StyledChar&)>& change);
  // The size, colour and inverse fields show the style of what is typed next.
  void ShowTypingStyle();
  void UpdatePreview();
  void UpdateCount();
  void EditTextStyle(int field, int alignment, int spacing, int face);

  CellTextContext m_context;
  QComboBox* m_size = nullptr;
  QComboBox* m_colour = nullptr;
  QCheckBox* m_inverse = nullptr;
  QComboBox* m_face = nullptr;
  QComboBox* m_align = nullptr;
  QComboBox* m_valign = nullptr;
  QSpinBox* m_spacing = nullptr;
  QTextEdit* m_text = nullptr;
  QLabel* m_count = nullptr;
  QLabel* m_preview = nullptr;
  QPushButton* m_load = nullptr;
  QPushButton* m_save = nullptr;
  std::optional<RichTextBlock> m_stored;  // what this editor last stored: shown again, not rewritten
  StyledChar m_typing;                     // the style of what is typed next
  bool m_writing = false;
};

}  // namespace vantorel

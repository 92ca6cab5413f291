// Hostile "Text mode" blocks: the first four bytes pick the window size, the text style word and
// the scrolling; the rest is the block as an item holds it. Every page of it is drawn with a
// double-byte library and with the extended-ASCII library (no font files: widths from the size
// table, and none at all) and converted to the editor's characters and back. Pages always move on
// and never draw outside the bitmap.

#include <array>
#include <cstdlib>
#include <span>

#include "fuzz_font_folder.h"
#include "render/celltext/cell_page.h"
#include "render/celltext/styled_cells.h"
#include "render/font_lib_ascii_ex.h"
#include "render/font_lib_asia.h"
#include "render/item_pages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  if (size < 4) return 0;
  static const CFontLib_GB2312 gb(fuzz::FontFolder());
  static const CFontLib_AsciiEx ascii(fuzz::FontFolder());
  const int width = data[0] % 97;
  const int height = data[1] % 65;
  CellPageSettings settings;
  settings.textStyle = static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3] & 0x70) << 24;
  settings.singleLine = (data[3] & 1) != 0;
  settings.verticalScroll = (data[3] & 2) != 0;
  settings.background = (data[3] & 4) ? 0x0000FF : 0;
  const std::optional<RichTextBlock> block = RichTextBlock::FromBytes(std::span(data + 4, size - 4));
  if (!block) return 0;
  const CellTextView cells(*block);

  for (const CTwFont* font : std::array<const CTwFont*, 2>{&gb, &ascii}) {
    CLedBitmap bitmap(width, height, 0x77, (data[3] & 8) != 0);
    std::size_t first = 0;
    std::size_t pages = 0;
    while (first < cells.Count()) {
      const CellPage page = DrawCellPage(bitmap, cells, *font, first, settings);
      if (page.nextCell < first || page.height > std::max(height, 0)) std::abort();
      if (page.nextCell == first) break;  // nothing drawn: the text ends here
      first = page.nextCell;
      if (++pages > cells.Count()) std::abort();  // every page draws a cell at least
    }
    std::array<CellLine, 8> lines{};
    LineBreakSettings breaking;
    breaking.lineWidth = width;
    breaking.pageHeight = height;
    breaking.singleLine = settings.singleLine;
    breaking.lineSpacing = data[2] & 0x0F;
    const std::size_t made = BreakLines(cells, *font, 0, cells.Count(), breaking, lines);
    for (std::size_t i = 0; i < made; ++i) {
      if (lines[i].cellCount == 0 || static_cast<std::size_t>(lines[i].firstCell) + lines[i].cellCount > cells.Count()) {
        std::abort();
      }
    }
  }

  // The whole road of an item: every page, the effect picking the scrolling.
  tagItemPart item;
  item.actType = kKindCellText;
  item.showType = (data[3] & 1) ? 11 : (data[3] & 2) ? 10 : 0;
  item.txt2Img = static_cast<std::int32_t>(settings.textStyle);
  item.richTxt = block;
  const auto pages = RenderItemPages(item, QSize(width, height), {0x77, {}, &gb, false, {}});
  if (!pages || pages->size() > std::max<std::size_t>(cells.Count(), 1)) std::abort();

  const int codePage = data[2] % 6;
  const std::vector<StyledChar> text = CellsToStyledChars(*block, codePage);
  const CellConversion back = ConvertToCells(text, {cells.CellSize(), codePage, data[1], data[3]}, block->HeldSize());
  if (back.block && back.block->HeldSize() > std::min(block->HeldSize(), RichTextBlock::kMaxBytes)) std::abort();
  return 0;
}

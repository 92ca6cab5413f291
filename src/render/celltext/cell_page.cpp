#include "render/celltext/cell_page.h"

#include <algorithm>
#include <array>

namespace vantorel {
namespace {

constexpr std::uint8_t kHorizontalBits = 0x03;
constexpr std::uint8_t kVerticalBits = 0x0C;
constexpr int kCentreVertically = 4;

// The style a cell is drawn with: its size and inverse bits with the face (its own in cell size 6).
std::uint8_t DrawStyle(std::uint8_t cellStyle, int cellSize, std::uint8_t faceBits) {
  const std::uint8_t face = cellSize == 6 ? (cellStyle & kCellHighBits) : (faceBits & kCellHighBits);
  return static_cast<std::uint8_t>((cellStyle & 0x0F) | face);
}

}  // namespace

std::uint8_t AlignmentAt(const CellTextView& cells, std::size_t cell, std::uint32_t textStyle) {
  std::uint8_t alignment = TextStyleAlignment(textStyle);
  const std::size_t end = std::min(cell, cells.Count());
  for (std::size_t i = 0; i < end; ++i) {
    if (cells.CodeAt(i) == kCellTab) alignment = static_cast<std::uint8_t>((cells.StyleAt(i) >> 4) & 0x07);
  }
  return alignment;
}

CellPage DrawCellPage(CLedBitmap& bitmap, const CellTextView& cells, const CDotFont& font, std::size_t firstCell,
                      const CellPageSettings& settings) {
  bitmap.Fill(settings.background);
  CellPage page;
  page.nextCell = firstCell;
  const int width = bitmap.Width();
  const int height = bitmap.Height();
  if (bitmap.IsEmpty() || firstCell >= cells.Count()) return page;

  const std::uint8_t faceBits = TextStyleFaceBits(settings.textStyle);
  const int spacing = TextStyleLineSpacing(settings.textStyle);
  LineBreakSettings breaking;
  breaking.lineWidth = width;
  breaking.pageHeight = height;
  breaking.singleLine = settings.singleLine;
  breaking.lineSpacing = spacing;
  breaking.alignment = AlignmentAt(cells, firstCell, settings.textStyle);
  breaking.faceBits = faceBits;
  std::array<CellLine, kMaxCellPageLines> lines;
  const std::size_t count = BreakLines(cells, font, firstCell, cells.Count() - firstCell, breaking, lines);
  if (count == 0) return page;

  int covered = 0;
  int widest = 0;
  for (std::size_t i = 0; i < count; ++i) {
    covered += lines[i].height + (i > 0 ? spacing : 0);
    widest = std::max<int>(widest, lines[i].width);
  }
  int top = 0;
  if (settings.singleLine) {
    lines[0].alignment &= static_cast<std::uint8_t>(~kHorizontalBits);
    top = AlignOffset(kCentreVertically, lines[0].height, height);
  } else if (!settings.verticalScroll) {
    top = AlignOffset(lines[0].alignment & kVerticalBits, covered, height);
  }

  const QRgb background = ToQRgb(settings.background);
  // Glyph cells are copied into 24-bit pixels; an indexed bitmap takes the drawn page at the end.
  const bool indexed = bitmap.Format() == LedPixelFormat::kIndexed4;
  QImage rgb;
  if (indexed) {
    rgb = QImage(width, height, QImage::Format_RGB888);
    rgb.fill(background);
  }
  QImage& surface = indexed ? rgb : bitmap.Image();
  for (std::size_t i = 0; i < count; ++i) {
    const CellLine& line = lines[i];
    int x = AlignOffset((line.alignment & kHorizontalBits) << 2, line.width, width);
    const std::size_t end = static_cast<std::size_t>(line.firstCell) + line.cellCount;
    for (std::size_t c = line.firstCell; c < end; ++c) {
      const TextCell cell = cells.At(c);
      const std::uint16_t code = cell.Code();
      if (code <= 31) continue;
      const bool blackBehind = cell.Inverse() || cell.colour == settings.background;
      x += font.DrawChar(surface, x, top, code, DrawStyle(cell.style, cells.CellSize(), faceBits), ToQRgb(cell.colour),
                         blackBehind ? qRgb(0, 0, 0) : background);
    }
    top += line.height + spacing;
  }

  if (indexed) bitmap.Assign(rgb);
  page.lineCount = count;
  page.width = settings.singleLine ? std::min<int>(lines[0].width, width) : widest;
  page.height = std::min(covered, height);
  page.nextCell = static_cast<std::size_t>(lines[count - 1].firstCell) + lines[count - 1].cellCount;
  return page;
}

}  // namespace vantorel

#include "render/celltext/cell_layout.h"

#include <algorithm>

namespace vantorel {
namespace {

bool IsLatinLetter(std::uint16_t code) { return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z'); }
bool IsLineEndCode(std::uint16_t code) { return code == kCellLineEnd || code == kCellLineFeed; }

std::uint16_t Saturated16(long value) { return static_cast<std::uint16_t>(std::clamp<long>(value, 0, 0xFFFF)); }

}  // namespace

CellToken TokenAt(const CellTextView& cells, std::size_t first, std::size_t end) {
  end = std::min(end, cells.Count());
  if (first >= end) return {};
  const std::uint16_t code = cells.CodeAt(first);
  if (code == 0) return {};
  const auto runOf = [&](auto belongs) {
    std::size_t last = first + 1;
    while (last < end && belongs(cells.CodeAt(last))) ++last;
    return last - first;
  };
  if (IsLatinLetter(code)) return {CellTokenKind::kWord, runOf(IsLatinLetter)};
  if (IsLineEndCode(code)) return {CellTokenKind::kLineEnd, runOf(IsLineEndCode)};
  if (code == kCellTab) return {CellTokenKind::kTab, 1};
  if (code == kCellLineAttribute) return {CellTokenKind::kLineAttribute, 1};
  return {CellTokenKind::kOther, 1};
}

FontStyle CellMeasureStyle(std::uint8_t cellStyle, int cellSize, std::uint8_t faceBits) {
  if (cellSize == 6) return cellStyle & static_cast<std::uint8_t>(~kCellInverse);
  return static_cast<FontStyle>((cellStyle & kCellSizeIndexMask) | (faceBits & kCellHighBits));
}

CellFit FitCells(const CellTextView& cells, const CDotFont& font, std::size_t first, std::size_t count, int widthLimit,
                 std::uint8_t faceBits) {
  CellFit fit;
  if (first >= cells.Count()) return fit;
  const std::size_t end = first + std::min(count, cells.Count() - first);
  for (std::size_t i = first; i < end; ++i) {
    const std::uint16_t code = cells.CodeAt(i);
    if (code == 0) break;
    const FontStyle style = CellMeasureStyle(cells.StyleAt(i), cells.CellSize(), faceBits);
    const int width = font.CharWidth(code, style);
    if (fit.count > 0 && fit.width + width > widthLimit) break;
    fit.width += width;
    fit.height = std::max(fit.height, font.CharHeight(code, style));
    ++fit.count;
  }
  return fit;
}

std::size_t BreakLines(const CellTextView& cells, const CDotFont& font, std::size_t first, std::size_t count,
                       const LineBreakSettings& settings, std::span<CellLine> lines) {
  if (first >= cells.Count()) return 0;
  const std::size_t end = first + std::min(count, cells.Count() - first);
  std::uint8_t alignment = settings.alignment;
  std::size_t made = 0;
  long heights = 0;
  std::size_t at = first;
  while (made < lines.size() && at < end) {
    CellLine line;
    line.alignment = alignment;
    std::size_t next = at;
    long width = 0;
    int height = 0;
    int lineEndHeight = 0;
    bool visible = false;
    for (;;) {
      const CellToken token = TokenAt(cells, next, end);
      if (token.kind == CellTokenKind::kEnd) break;
      if (token.kind == CellTokenKind::kLineAttribute) {
        line.attribute = cells.StyleAt(next);
        next += token.count;
        continue;
      }
      if (token.kind == CellTokenKind::kTab) {
        alignment = static_cast<std::uint8_t>((cells.StyleAt(next) >> 4) & 0x07);
        line.alignment = alignment;
        next += token.count;
        continue;
      }
      if (token.kind == CellTokenKind::kLineEnd) {
        lineEndHeight = font.CharHeight(cells.CodeAt(next),
                                        CellMeasureStyle(cells.StyleAt(next), cells.CellSize(), settings.faceBits));
        next += token.count;
        break;
      }
      const long rest = settings.lineWidth - width;
      const CellFit fit = FitCells(cells, font, next, token.count, static_cast<int>(std::max(rest, -1L)), settings.faceBits);
      const bool whole = fit.count == token.count && fit.width <= rest;
      if (whole || !visible) {
        // A token too wide for an empty line keeps what fits of it, at least one cell.
        width += fit.width;
        height = std::max(height, fit.height);
        next += std::max<std::size_t>(fit.count, 1);
        visible = true;
      }
      if (!whole) break;
    }
    if (next == at) break;  // nothing but the end of the text
    line.firstCell = Saturated16(static_cast<long>(at));
    line.cellCount = Saturated16(static_cast<long>(next - at));
    line.width = Saturated16(width);
    line.height = Saturated16(visible ? height : lineEndHeight);
    if (made > 0 && heights + line.height > settings.pageHeight) break;
    heights += line.height + settings.lineSpacing;
    lines[made++] = line;
    at = next;
    if (settings.singleLine) break;
  }
  return made;
}

int AlignOffset(int alignment, int used, int available) {
  if (used >= available) return 0;
  switch ((alignment >> 2) & 3) {
    case 1: return (available - used) / 2;
    case 2: return available - used;
    default: return 0;
  }
}

}  // namespace vantorel

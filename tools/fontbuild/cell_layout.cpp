#include "cell_layout.h"

#include <algorithm>

namespace vantorel::fontbuild {
namespace {

struct InkBox {
  int left = 0, right = -1, top = 0, bottom = -1;  // in glyph dots; right < left when blank
  bool Empty() const { return right < left; }
};

InkBox FindInk(const RenderedGlyph& glyph) {
  InkBox box{glyph.width, -1, glyph.rows, -1};
  for (int y = 0; y < glyph.rows; ++y) {
    for (int x = 0; x < glyph.width; ++x) {
      if (!glyph.Lit(x, y)) continue;
      box.left = std::min(box.left, x);
      box.right = std::max(box.right, x);
      box.top = std::min(box.top, y);
      box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

// Moves `start` (the cell position of the ink's first dot, ink `size` long) inside [0, limit).
int KeepInside(int start, int size, int limit, bool& moved) {
  if (size > limit) {
    const int centred = (limit - size) / 2;
    moved = moved || centred != start;
    return centred;
  }
  const int inside = std::clamp(start, 0, limit - size);
  moved = moved || inside != start;
  return inside;
}

std::vector<std::uint8_t> Pack(const RenderedGlyph& glyph, const InkBox& ink, int cellX, int cellY, int rowWidth,
                               int height, int visibleWidth, PlacementCounts& counts) {
  const int rowBytes = (rowWidth + 7) / 8;
  std::vector<std::uint8_t> rows(static_cast<std::size_t>(rowBytes * height), 0);
  bool clipped = false;
  for (int y = ink.top; y <= ink.bottom; ++y) {
    for (int x = ink.left; x <= ink.right; ++x) {
      if (!glyph.Lit(x, y)) continue;
      const int column = cellX + (x - ink.left);
      const int row = cellY + (y - ink.top);
      if (column < 0 || column >= visibleWidth || row < 0 || row >= height) {
        clipped = true;
        continue;
      }
      rows[static_cast<std::size_t>(row * rowBytes + column / 8)] |= static_cast<std::uint8_t>(0x80 >> (column % 8));
    }
  }
  if (clipped) ++counts.clipped;
  return rows;
}

}  // namespace

std::vector<std::uint8_t> PlaceInCell(const RenderedGlyph& glyph, const CellShape& cell, PlacementCounts& counts) {
  const InkBox ink = FindInk(glyph);
  if (ink.Empty()) return std::vector<std::uint8_t>(static_cast<std::size_t>((cell.width + 7) / 8 * cell.height), 0);
  const int penX = (cell.width - glyph.advance) / 2;
  bool moved = false;
  const int cellX = KeepInside(penX + glyph.left + ink.left, ink.right - ink.left + 1, cell.width, moved);
  const int cellY = KeepInside(cell.baseline - glyph.top + ink.top, ink.bottom - ink.top + 1, cell.height, moved);
  if (moved) ++counts.moved;
  return Pack(glyph, ink, cellX, cellY, cell.width, cell.height, cell.width, counts);
}

std::vector<std::uint8_t> PlaceProportional(const RenderedGlyph& glyph, const CellShape& cell, int rowWidth, int gap,
                                            int blankWidth, int& width, PlacementCounts& counts) {
  const InkBox ink = FindInk(glyph);
  if (ink.Empty()) {
    width = blankWidth;
    return std::vector<std::uint8_t>(static_cast<std::size_t>((rowWidth + 7) / 8 * cell.height), 0);
  }
  const int inkWidth = ink.right - ink.left + 1;
  width = std::min(rowWidth, inkWidth + gap);
  bool moved = false;
  const int cellY = KeepInside(cell.baseline - glyph.top + ink.top, ink.bottom - ink.top + 1, cell.height, moved);
  if (moved) ++counts.moved;
  return Pack(glyph, ink, 0, cellY, rowWidth, cell.height, rowWidth, counts);
}

InkExtent MeasureInk(std::span<const RenderedGlyph> glyphs) {
  InkExtent extent;
  for (const RenderedGlyph& glyph : glyphs) {
    const InkBox ink = FindInk(glyph);
    extent.advance = std::max(extent.advance, glyph.advance);
    if (ink.Empty()) continue;
    extent.above = std::max(extent.above, glyph.top - ink.top);
    extent.below = std::max(extent.below, ink.bottom + 1 - glyph.top);
    extent.width = std::max(extent.width, ink.right - ink.left + 1);
  }
  return extent;
}

int CentredBaseline(const InkExtent& extent, int height) {
  return extent.above + (height - (extent.above + extent.below)) / 2;
}

}  // namespace vantorel::fontbuild

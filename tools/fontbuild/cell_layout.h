#pragma once
// Where a rendered glyph goes in a dot-font cell: on a shared baseline, its advance box centred
// in the cell, moved inward when its dots would fall outside (clipped only when it is larger than
// the cell).

#include <cstdint>
#include <span>
#include <vector>

#include "glyph_source.h"

namespace vantorel::fontbuild {

struct CellShape {
  int width = 0;
  int height = 0;
  int baseline = 0;  // row just below the baseline's dots: a dot `top` above it lands on row baseline - top
};

// Counts of glyphs that had to move or lost dots, for the build report.
struct PlacementCounts {
  int moved = 0;
  int clipped = 0;
};

// Rows of ceil(cell width / 8) bytes, most significant bit leftmost.
std::vector<std::uint8_t> PlaceInCell(const RenderedGlyph& glyph, const CellShape& cell, PlacementCounts& counts);

// Proportional placement in a square cell of `rowWidth` dots per row: the ink starts at column 0
// and the width is the ink width plus `gap`; a glyph without ink gets `blankWidth`. Returns the
// rows (ceil(rowWidth / 8) bytes each) and stores the width.
std::vector<std::uint8_t> PlaceProportional(const RenderedGlyph& glyph, const CellShape& cell, int rowWidth, int gap,
                                            int blankWidth, int& width, PlacementCounts& counts);

// Ink extent of glyphs around the baseline.
struct InkExtent {
  int above = 0;  // dots above the baseline
  int below = 0;  // dots below it
  int width = 0;  // widest ink
  int advance = 0;
};
InkExtent MeasureInk(std::span<const RenderedGlyph> glyphs);

// The baseline that centres `extent` vertically in a cell `height` tall.
int CentredBaseline(const InkExtent& extent, int height);

}  // namespace vantorel::fontbuild

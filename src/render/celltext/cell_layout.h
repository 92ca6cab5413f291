#pragma once
// Line breaking of "Text mode" cells with the widths of a dot-matrix font library.
//
// Tokens: a run of Latin letters (a word), a run of line-end codes (13, 10), or one other cell;
// a tab (9) and a line attribute (7) are tokens of their own kind. Lines break between tokens;
// a word breaks inside only when it alone is wider than the line. Cells of codes below 32 take
// no width; a line that holds nothing but them takes the height of its line end.
//
// Threads: pure functions of their arguments (the font library may be shared).

#include <cstddef>
#include <cstdint>
#include <span>

#include "render/celltext/cell_text.h"
#include "render/dot_font.h"

namespace vantorel {

// One line of a layout.
struct CellLine {
  std::uint16_t firstCell = 0;
  std::uint16_t cellCount = 0;
  std::uint16_t width = 0;      // pixels
  std::uint16_t height = 0;     // pixels: the tallest cell
  std::uint8_t alignment = 0;   // from the last tab cell (bits 0-1 across, 2-3 down)
  std::uint8_t attribute = 0;   // the style byte of the last code-7 cell

  friend bool operator==(const CellLine&, const CellLine&) = default;
};

enum class CellTokenKind { kEnd, kWord, kLineEnd, kTab, kLineAttribute, kOther };

struct CellToken {
  CellTokenKind kind = CellTokenKind::kEnd;
  std::size_t count = 0;  // cells
};

// The token that starts at `first`, not reaching `end`; kEnd at `end` or at a cell of code 0.
CellToken TokenAt(const CellTextView& cells, std::size_t first, std::size_t end);

// The font style a cell is measured with: cell size 6, its own style without the inverse bit;
// cell size 3, its size index with the item's face bits.
FontStyle CellMeasureStyle(std::uint8_t cellStyle, int cellSize, std::uint8_t faceBits);

struct CellFit {
  std::size_t count = 0;  // cells that fit
  int width = 0;          // their width
  int height = 0;         // the tallest of them
};

// How many of `count` cells from `first` fit into `widthLimit`: while the running width stays
// within it, and always the first cell, even a wider one. A cell of code 0 ends the text.
CellFit FitCells(const CellTextView& cells, const CDotFont& font, std::size_t first, std::size_t count, int widthLimit,
                 std::uint8_t faceBits);

struct LineBreakSettings {
  int lineWidth = 0;
  int pageHeight = 0;
  bool singleLine = false;       // one line only
  int lineSpacing = 0;           // pixels between lines
  std::uint8_t alignment = 0;    // in effect at `first`
  std::uint8_t faceBits = 0;     // the item's face (cell size 3)
};

// Breaks `count` cells from `first` into lines, as many as the page height takes (the first line
// always) and `lines` holds; returns how many were made.
std::size_t BreakLines(const CellTextView& cells, const CDotFont& font, std::size_t first, std::size_t count,
                       const LineBreakSettings& settings, std::span<CellLine> lines);

// The offset that places `used` pixels in `available` by bits 2-3 of `alignment`: 1 centres,
// 2 puts it at the end, others at the start; 0 whenever it does not fit.
int AlignOffset(int alignment, int used, int available);

}  // namespace vantorel

#pragma once
// One page of "Text mode" cells drawn into a window-size LED bitmap with a dot-matrix font
// library, as the controller draws it.
//
// The item's text style word (TXT2IMG) supplies bits 16-19 the alignment at the start of the text
// (bits 0-1 across: 1 centre, 2 right; bits 2-3 down: 1 centre, 2 bottom), bits 20-23 the line
// spacing in pixels and bits 28-30 the face number of cell-size-3 text.
//
// Threads: pure function of its arguments (the font library may be shared); the bitmap belongs to
// the caller.

#include <cstddef>
#include <cstdint>

#include "render/celltext/cell_layout.h"
#include "render/led_bitmap.h"

namespace vantorel {

// The most lines one page holds.
inline constexpr std::size_t kMaxCellPageLines = 128;

constexpr std::uint8_t TextStyleAlignment(std::uint32_t word) { return static_cast<std::uint8_t>((word >> 16) & 0x0F); }
constexpr int TextStyleLineSpacing(std::uint32_t word) { return static_cast<int>((word >> 20) & 0x0F); }
constexpr std::uint8_t TextStyleFaceBits(std::uint32_t word) { return static_cast<std::uint8_t>(((word >> 28) & 0x07) << 4); }
constexpr std::uint32_t MakeTextStyle(int alignment, int lineSpacing, int face) {
  return (static_cast<std::uint32_t>(alignment & 0x0F) << 16) | (static_cast<std::uint32_t>(lineSpacing & 0x0F) << 20) |
         (static_cast<std::uint32_t>(face & 0x07) << 28);
}

struct CellPageSettings {
  LedColour background = 0;    // the window's background colour (BGCOLOR)
  std::uint32_t textStyle = 0; // the item's text style word
  bool singleLine = false;     // the item scrolls across: one line a page, centred vertically
  bool verticalScroll = false; // the item scrolls up: lines start at the top
};

struct CellPage {
  int width = 0;              // the widest line (one line: its width, at most the bitmap's)
  int height = 0;             // the height the lines cover, at most the bitmap's
  std::size_t nextCell = 0;   // the first cell not drawn; `firstCell` when none was
  std::size_t lineCount = 0;
};

// The alignment in effect at `cell`: the text style word's, changed by every tab cell before it.
std::uint8_t AlignmentAt(const CellTextView& cells, std::size_t cell, std::uint32_t textStyle);

// Fills `bitmap` with the background and draws the lines that fit from `firstCell` on.
CellPage DrawCellPage(CLedBitmap& bitmap, const CellTextView& cells, const CDotFont& font, std::size_t firstCell,
                      const CellPageSettings& settings);

}  // namespace vantorel

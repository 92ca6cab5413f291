#pragma once
// The formatted-text editor's characters and the cells of a "Text mode" block, both ways. Every
// character becomes one cell in reading order (with the extended-ASCII code page, one cell per
// byte of it); the editor then shows the characters as the sign will: sizes the sign has, red for
// black, black on colour for inverse cells, a space for what a cell cannot hold.
//
// Threads: pure functions; any thread may call them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "playbill/rich_text_block.h"
#include "render/font_style.h"

namespace vantorel {

// One character of the editor's text.
struct StyledChar {
  char32_t character = 0;         // Unicode; 13 for a line end
  int pointSize = 16;             // font size in points as the editor shows it (the dot height)
  std::uint32_t foreground = 0;   // 24-bit RGB, red in the low byte
  std::uint32_t background = 0;   // 0 (black): no background of its own

  friend bool operator==(const StyledChar&, const StyledChar&) = default;
};

struct CellTextSettings {
  int cellSize = 3;                  // 3: colour bits; 6: full colour and a face per cell
  int codePage = kCodePageGb2312;    // the screen's font code page (FONTLIB)
  std::uint16_t extSizeMask = 0xFF;  // the screen's double-byte sizes (EXTSIZEM), bit s = size index s
  std::uint8_t faceBits = 0;         // cell size 6: the face number in style bits 4-6
};

struct CellConversion {
  // The kind-6 block (count, cell size, cells, terminating cell), no larger than the buffer;
  // nothing when the buffer cannot hold even an empty text.
  std::optional<RichTextBlock> block;
  // How the editor must show the characters now, one for each character that was kept; text
  // beyond what the buffer holds is left out.
  std::vector<StyledChar> shown;
};

// The cells of `text` for an item whose buffer holds `bufferSize` bytes (at most
// RichTextBlock::kMaxBytes count).
CellConversion ConvertToCells(std::span<const StyledChar> text, const CellTextSettings& settings,
                              std::size_t bufferSize);

// The characters of a kind-6 block for an editor: one a cell up to the count or the first code 0,
// except that a line feed after a carriage return is part of the same line end.
std::vector<StyledChar> CellsToStyledChars(const RichTextBlock& block, int codePage);

}  // namespace vantorel

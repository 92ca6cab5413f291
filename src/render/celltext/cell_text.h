#pragma once
// The cells of a "Text mode" block, read without trusting its header: u16 cell count, u8 cell size
// (6, anything else counts as 3), the cells, a terminating cell of zero bytes. Only cells that lie
// wholly inside the held bytes and below the declared count are seen; any other index reads as a
// zero cell, which ends the text.
//
//   cell size 3: style, lead byte (0 for a single byte), character code
//   cell size 6: red, green, blue, style, lead byte, character code
//
// Style byte: bits 0-2 size index, bit 3 inverse, bits 4-6 the colour (cell size 3: red, green,
// blue at full intensity) or the face number (cell size 6).
//
// A view is a value over bytes it does not own: the block must outlive it.

#include <cstddef>
#include <cstdint>
#include <span>

#include "playbill/rich_text_block.h"
#include "render/led_bitmap.h"

namespace vantorel {

inline constexpr std::uint8_t kCellSizeIndexMask = 0x07;
inline constexpr std::uint8_t kCellInverse = 0x08;
inline constexpr std::uint8_t kCellRed = 0x10;
inline constexpr std::uint8_t kCellGreen = 0x20;
inline constexpr std::uint8_t kCellBlue = 0x40;
inline constexpr std::uint8_t kCellHighBits = 0x70;  // colour (cell size 3) or face (cell size 6)

// Codes with a meaning of their own.
inline constexpr std::uint16_t kCellLineAttribute = 7;  // its style byte: an attribute of its line
inline constexpr std::uint16_t kCellTab = 9;            // style bits 4-6: the alignment from here on
inline constexpr std::uint16_t kCellLineFeed = 10;      // 10 and 13 end a line
inline constexpr std::uint16_t kCellLineEnd = 13;
inline constexpr std::size_t kCellHeaderBytes = 3;

struct TextCell {
  std::uint8_t style = 0;
  std::uint8_t lead = 0;
  std::uint8_t trail = 0;
  LedColour colour = 0;  // cell size 6: bytes 0-2; cell size 3: from the colour bits

  // Lead x 256 + trail: a double-byte code, or the single byte.
  std::uint16_t Code() const { return static_cast<std::uint16_t>(lead << 8 | trail); }
  bool Inverse() const { return (style & kCellInverse) != 0; }
  int SizeIndex() const { return style & kCellSizeIndexMask; }
  bool IsLineEnd() const { return Code() == kCellLineEnd || Code() == kCellLineFeed; }
};

// The full-intensity colour of the colour bits of a cell-size-3 style byte.
LedColour CellBitsColour(std::uint8_t style);

class CellTextView {
public:
  CellTextView() = default;
  explicit CellTextView(std::span<const std::uint8_t> block);
  explicit CellTextView(const RichTextBlock& block) : CellTextView(block.Bytes()) {}

  int CellSize() const { return m_cellSize; }
  // The cells that can be read: the declared count, limited to the held bytes.
  std::size_t Count() const { return m_count; }
  TextCell At(std::size_t index) const;
  std::uint16_t CodeAt(std::size_t index) const;
  std::uint8_t StyleAt(std::size_t index) const;

private:
  const std::uint8_t* CellBytes(std::size_t index) const { return m_cells.data() + index * static_cast<std::size_t>(m_cellSize); }

  std::span<const std::uint8_t> m_cells;
  int m_cellSize = 3;
  std::size_t m_count = 0;
};

}  // namespace vantorel

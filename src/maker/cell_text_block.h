#pragma once
// The formatted-text block (type 3) of an item the controller draws itself ("Text mode"): u8 form,
// then the cells of the item's RICHTXT block. Form 1 holds three bytes a cell (attribute, lead
// byte or 0, character code), form 4 six (red, green, blue, attribute, lead byte, character code).
//
// Six-byte cells are stored as three-byte ones when every cell has the same bits 4-6 of its
// attribute and every colour byte is 0 or 255: the new attribute keeps bits 0-3 and 7 and sets
// bit 4, 5 and 6 for a red, green and blue that are not 0.
//
// Pure functions, safe on any thread.

#include <cstdint>
#include <optional>
#include <vector>

#include "playbill/rich_text_block.h"

namespace vantorel {

inline constexpr std::uint8_t kCellFormThreeBytes = 1;
inline constexpr std::uint8_t kCellFormSixBytes = 4;

struct CellTextBlock {
  std::vector<std::uint8_t> bytes;
  bool sixByte = false;  // form 4: the record says so
};

// The block of the cells `block` holds: as many as its count says and its held bytes really
// hold. Nothing when that is none (an empty block, or one too short for its header).
std::optional<CellTextBlock> MakeCellTextBlock(const RichTextBlock& block);

}  // namespace vantorel

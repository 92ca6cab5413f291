#pragma once
// The 16-byte item record of a program file for one item, field by field as each item type code
// lays it out, and the small conversions the records share: the font code of a font's dot
// height, the effect code of SHOWTYPE and the packed date and time of TCBASE.
//
// Bytes 2-3 (the index of the item's data block) and 15 (the border of the item's window) are
// left zero: the program file writer fills them. Colours are taken from the stored form
// 0x00BBGGRR (red in the low byte). Multi-byte fields are little-endian.
//
// Pure functions, safe on any thread.

#include <array>
#include <cstdint>

#include "maker/item_codes.h"
#include "playbill/prg_item.h"

namespace vantorel {

// The size code of a font of `dotHeight` dots: 7 from 56 dots, 6 from 48, 5 from 40, 4 from 32,
// 3 from 24, 2 from 16, 1 from 12, else 0.
int FontCodeOfDotHeight(int dotHeight);
// The size code of an item's font (its LOGFONT height in points, as the dot fonts count it).
int FontCodeOf(const tagLogFont& font);

// SHOWTYPE as the controller takes it: any random effect (bit 15 set) is 0x8000, every other
// value passes unchanged.
std::uint16_t EffectCode(std::uint16_t showType);

// TCBASE (year, month, day, hour, minute, second) packed as ((year x 16 + month) x 32 + day) and
// as (hour x 2048 + minute x 32 + second / 2).
std::uint32_t PackedDate(const std::array<std::uint16_t, 6>& tcBase);
std::uint16_t PackedTime(const std::array<std::uint16_t, 6>& tcBase);

// What a record carries beside the item's own fields.
struct ItemRecordExtras {
  std::uint16_t frames = 0;                           // codes 4, 7, 11
  std::uint16_t pictureWidth = 0, pictureHeight = 0;  // code 7: the GIF's size; code 11: the window's size
  bool sixByteCells = false;                          // code 3: the block holds six-byte cells
};

// The record of `code` for `item`. A code without a record layout of its own gives the code
// followed by zeros.
ItemRecordBytes MakeItemRecord(std::uint8_t code, const tagItemPart& item, const ItemRecordExtras& extras = {});

}  // namespace vantorel

#pragma once
// The rules by which the editor's front ends build records: what an item of a kind starts with,
// how colours and text styles are stored, and how a program's time window is encoded. Front ends
// parse what the user typed and call these.

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/status.h"
#include "playbill/prg_item.h"

namespace vantorel {

// Colours are stored with red in the low byte.
inline constexpr std::uint32_t kStoredRed = 0x0000FF;
// The font height (dots) a new text-bearing item starts with.
inline constexpr int kDefaultFontHeight = 16;

// A colour written as 0xRRGGBB, in its stored form (red in the low byte).
std::uint32_t StoredColour(std::uint32_t rgb);

// The cell style of a "Text mode" cell of size 3: the size index of `fontHeight` and one bit per
// colour channel present in `colour` (stored form).
std::uint8_t CellStyleOf(std::uint32_t colour, int fontHeight);

// Turns `item` (a default item) into one of `kind` as an editor starts it: the text-to-image value,
// no media and no block for kinds that hold neither, the default font and red text for the kinds
// that draw text themselves, and their display mode; a time counter counts down to the first day
// of the current month with the default template, a work counter counts Monday to Friday, 8 hours
// from 8:00, from the first of the month.
void StartItemKind(tagItemPart& item, std::uint16_t kind);

// Placement modes (SHOWMODE of pictures, videos and animations): 0 centre, 1 zoom, 2 stretch, 3 tile.
inline constexpr std::uint16_t kLastPlacementMode = 3;
inline constexpr std::uint16_t kDefaultPlacementMode = 2;  // stretched over the window, as new items are

// A new time counter's template.
inline constexpr std::string_view kDefaultCounterTemplate = "{!d}days";
// A new work counter's week (SHOWMODE: Monday to Friday, 8 hours a day) and the hour its working
// day starts.
inline constexpr std::uint16_t kDefaultWorkWeek = 0x0800 | 0x3E;
inline constexpr int kDefaultWorkStartHour = 8;

// Gives a formatted-text item (kind 6 or 8) the block of `text` in `colour` at `fontHeight`; an
// "Image mode" item also shows the first line of it as its MEDIA text. Refused for other kinds, for
// non-ASCII text in "Text mode" cells (cells in the screen's code page are made by ConvertToCells,
// render/celltext/styled_cells.h), and for text too long for a block.
Status SetItemText(tagItemPart& item, std::string_view text, std::uint32_t colour, int fontHeight);

// Time windows of programs (TIMESCH): times as hour*256+minute.
std::uint16_t TimeOfDay(int hour, int minute);
inline int HourOf(std::uint16_t time) { return time >> 8; }
inline int MinuteOf(std::uint16_t time) { return time & 0xFF; }
// The days (bit d: day d, Sunday = 0) of the program's time window; the other bits stay.
void SetPlayDays(tagProgramPart& program, std::uint8_t days);
std::uint8_t PlayDays(const tagProgramPart& program);
// The program plays only from `start` to `end` (start = end: the whole day; end before start:
// past midnight).
void SetTimeWindow(tagProgramPart& program, std::uint16_t start, std::uint16_t end);
// The program plays at any time.
void ClearTimeWindow(tagProgramPart& program);
bool HasTimeWindow(const tagProgramPart& program);

// The day mask of digits "0" (Sunday) to "6"; nothing when another character is among them.
std::optional<std::uint8_t> DayMaskOfDigits(std::string_view digits);

}  // namespace vantorel

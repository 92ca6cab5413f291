#pragma once
// The text of a clock face: the prefix, the date in one of eight formats and the time, as the
// lines the face draws. Text is UTF-8; the face encodes it for the font library when it draws.
//
// Pure functions: safe on any thread.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "render/faces/date_time.h"

namespace vantorel {

// Bits of the clock style word (the item's SHOWMODE).
namespace clock_style {
constexpr std::uint16_t kYear = 1u << 0;
constexpr std::uint16_t kMonth = 1u << 1;
constexpr std::uint16_t kDay = 1u << 2;
constexpr std::uint16_t kHour = 1u << 3;
constexpr std::uint16_t kMinute = 1u << 4;
constexpr std::uint16_t kSecond = 1u << 5;
constexpr std::uint16_t kWeekday = 1u << 6;
constexpr std::uint16_t kHands = 1u << 7;
constexpr std::uint16_t kTwentyFourHour = 1u << 8;
constexpr std::uint16_t kTwoDigitYear = 1u << 9;
constexpr std::uint16_t kMultiLine = 1u << 10;
constexpr int kFormatShift = 11;  // bits 11-13: the date format 0..7
constexpr std::uint16_t kDial = 1u << 14;

constexpr int FormatOf(std::uint16_t style) { return (style >> kFormatShift) & 7; }
constexpr std::uint16_t WithFormat(std::uint16_t style, int format) {
  return static_cast<std::uint16_t>((style & ~(7u << kFormatShift)) | (static_cast<unsigned>(format & 7) << kFormatShift));
}
}  // namespace clock_style

constexpr int kDateFormatCount = 8;

// The lines of a clock at `moment`: one line, or with the multi-line bit the prefix, the date
// part and the time part each on a line of its own (empty parts have no line). `codePage` (a font
// library code page) chooses the unit words of format 0.
std::vector<std::string> ClockText(const DateTime& moment, std::string_view prefix, std::uint16_t style, int codePage);

// The entry of the date-format list: format `format` with every field shown at `moment`, in the
// 24-hour clock; format 0 of a double-byte code page shows the language name instead.
std::string DateFormatSample(int format, const DateTime& moment, int codePage);

}  // namespace vantorel

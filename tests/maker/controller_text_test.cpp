#include "maker/controller_text.h"

#include <gtest/gtest.h>

#include "render/font_style.h"

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ControllerText, WritesTheFontCodePageAndCountsWhatItLacks) {
  struct Row {
    const char* name;
    std::string_view utf8;
    int codePage;
    std::size_t maxCharacters;
    Bytes bytes;
    int replaced;
  };
  using namespace std::string_view_literals;
  const Row rows[] = {
      {"ASCII", "12:30", kCodePageAscii, 255, {'1', '2', ':', '3', '0'}, 0},
      {"GB2312 pairs", "\u4E2D\u6587", kCodePageGb2312, 255, {0xD6, 0xD0, 0xCE, 0xC4}, 0},
      {"a Thai letter GB2312 lacks", "\u4E2D\u0E01\u6587", kCodePageGb2312, 255, {0xD6, 0xD0, '?', 0xCE, 0xC4}, 1},
      {"a character outside the basic plane", "a\U0001F600b", kCodePageGb2312, 255, {'a', '?', 'b'}, 1},
      {"the euro sign as a pair in GB2312", "\u20AC", kCodePageGb2312, 255, {0xA2, 0xE3}, 0},
      {"BIG5", "\u4E2D", kCodePageBig5, 255, {0xA4, 0xA4}, 0},
      {"Shift JIS", "\u65E5", kCodePageShiftJis, 255, {0x93, 0xFA}, 0},
      {"KSC5601", "\uD55C", kCodePageKsc5601, 255, {0xC7, 0xD1}, 0},
      {"an accent ASCII lacks", "caf\u00E9", kCodePageAscii, 255, {'c', 'a', 'f', '?'}, 1},
      {"an accent of extended ASCII", "caf\u00E9", kCodePageAsciiEx, 255, {'c', 'a', 'f', 0xE9}, 0},
      {"the built-in degree sign", "25\u00B0", kCodePageGb2312, 255, {'2', '5', 0x7F}, 0},
      {"the degree sign of extended ASCII", "25\u00B0", kCodePageAsciiEx, 255, {'2', '5', 0xB0}, 0},
      {"invalid UTF-8", "a\xFF" "b", kCodePageGb2312, 255, {'a', '?', 'b'}, 1},
      {"a zero character ends the text", "ab\0cd"sv, kCodePageAscii, 255, {'a', 'b'}, 0},
      {"cut after whole pairs", "\u4E2D\u6587AB", kCodePageGb2312, 3, {0xD6, 0xD0, 0xCE, 0xC4, 'A'}, 0},
      {"a pair counts as one character", "\u4E2D\u6587", kCodePageGb2312, 1, {0xD6, 0xD0}, 0},
      {"nothing wanted", "abc", kCodePageAscii, 0, {}, 0},
      {"a lacking character after the cut is not counted", "ab\U0001F600", kCodePageGb2312, 2, {'a', 'b'}, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const ControllerText text = EncodeControllerText(row.utf8, row.codePage, row.maxCharacters);
    EXPECT_EQ(text.bytes, row.bytes);
    EXPECT_EQ(text.replaced, row.replaced);
  }
}

}  // namespace
}  // namespace vantorel

#include "platform/fixed_text.h"

#include <gtest/gtest.h>

namespace vantorel {
namespace {

TEST(FixedText, CutsAtWidthMinusOneOnCharacterBoundaries) {
  struct Case {
    std::string input;
    std::string expected;
  };
  // Width 6 keeps at most 5 bytes of the legacy code page (GB18030).
  const Case cases[] = {
      {"", ""},
      {"abcde", "abcde"},
      {"abcdef", "abcde"},
      {"abc\xE4\xB8\xAD", "abc\xE4\xB8\xAD"},          // a Chinese character takes 2 bytes: 5 in all
      {"abcd\xE4\xB8\xAD", "abcd"},                    // one that would end at byte 6 is dropped
      {"ab\xE4\xB8\xAD" "d", "ab\xE4\xB8\xAD" "d"},      // 2 + 2 + 1
      {"abcd\xC3\xA9", "abcd"},                         // a 2-byte character across the limit
      {"a\xF0\x9F\x98\x80" "b", "a\xF0\x9F\x98\x80"},  // an emoji takes 4 bytes
      {"ab\xF0\x9F\x98\x80", "ab"},
      {std::string("ab\0cd", 5), "ab"},                 // a stored field ends at its NUL
  };
  for (const auto& c : cases) {
    FixedText<6> text(c.input);
    EXPECT_EQ(text.str(), c.expected) << c.input;
    EXPECT_LE(text.LegacySize(), 5u);
  }
}

// "中" repeated: 3 bytes each in UTF-8, 2 in the legacy code page.
std::string Chinese(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "\xE4\xB8\xAD";
  return text;
}

TEST(FixedText, NameFieldHoldsWhatTheLegacyFieldHeld) {
  struct Case {
    const char* name;
    std::string input;
    std::string expected;
    std::size_t legacySize;
  };
  const Case cases[] = {
      {"32 Chinese characters fill 64 bytes", Chinese(32), Chinese(32), 64},
      {"33 are cut to 32", Chinese(33), Chinese(32), 64},
      {"mixed ASCII and Chinese", "Shop " + Chinese(30), "Shop " + Chinese(29), 63},
      {"emoji count 4", "\xF0\x9F\x98\x80" + Chinese(31), "\xF0\x9F\x98\x80" + Chinese(30), 64},
      {"bytes of broken UTF-8 count one each", "\xE4\xB8" + Chinese(32), "\xE4\xB8" + Chinese(31), 64},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const FixedText<65> name(c.input);
    EXPECT_EQ(name.str(), c.expected);
    EXPECT_EQ(name.LegacySize(), c.legacySize);
  }
}

TEST(FixedText, LegacySizeOfText) {
  EXPECT_EQ(LegacyCodepageSize(""), 0u);
  EXPECT_EQ(LegacyCodepageSize("abc"), 3u);
  EXPECT_EQ(LegacyCodepageSize(Chinese(3)), 6u);
  EXPECT_EQ(LegacyCodepageSize("\xF0\x9F\x98\x80"), 4u);
  EXPECT_EQ(LegacyCodepageSize("\xC3\xA4"), 4u);  // "ä" is outside the two-byte range
}

// The shortcut for ideographs and for characters beyond the basic plane agrees with the converter
// at the edges of its ranges.
TEST(FixedText, LegacySizeShortcutsAgreeWithTheConverter) {
  const char* const samples[] = {"\xE4\xB8\x80", "\xE9\xBE\xA5", "\xE9\xBE\xA6", "\xE4\xB7\xBF",
                                 "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF", "\xE3\x80\x82", "\xEF\xBC\x81"};
  const std::size_t expected[] = {2, 2, 4, 4, 4, 4, 2, 2};
  for (std::size_t k = 0; k < std::size(samples); ++k) {
    EXPECT_EQ(LegacyCodepageSize(samples[k]), expected[k]) << k;
  }
}

TEST(FixedText, AssignsAndComparesLiterals) {
  FixedText<8> text;
  text = "Welcome to town";
  EXPECT_TRUE(text == "Welcome");
  EXPECT_FALSE(text == "Welcom");
}

TEST(FixedText, TctextWidthKeeps119Bytes) {
  FixedText<120> text(std::string(300, 'x'));
  EXPECT_EQ(text.size(), 119u);
}

}  // namespace
}  // namespace vantorel

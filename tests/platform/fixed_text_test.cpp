#include "platform/fixed_text.h"

#include <gtest/gtest.h>

namespace vantorel {
namespace {

TEST(FixedText, CutsAtWidthMinusOneOnCharacterBoundaries) {
  struct Case {
    std::string input;
    std::string expected;
  };
  // Width 6 keeps at most 5 bytes.
  const Case cases[] = {
      {"", ""},
      {"abcde", "abcde"},
      {"abcdef", "abcde"},
      {"abc\xE4\xB8\xAD", "abc"},            // a 3-byte character that would end at byte 6 is dropped
      {"ab\xE4\xB8\xAD" "d", "ab\xE4\xB8\xAD"},  // one that ends at byte 5 is kept
      {"abcd\xC3\xA9", "abcd"},              // 2-byte character across the limit
      {std::string("ab\0cd", 5), "ab"},      // a stored field ends at its NUL
  };
  for (const auto& c : cases) {
    FixedText<6> text(c.input);
    EXPECT_EQ(text.str(), c.expected) << c.input;
    EXPECT_LE(text.size(), 5u);
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

#include "platform/legacy_text.h"

#include <gtest/gtest.h>

namespace vantorel {
namespace {

TEST(LegacyText, RecognisesUtf8) {
  struct Case {
    std::string bytes;
    bool valid;
  };
  const Case cases[] = {
      {"plain", true},
      {"\xE6\x98\x9F\xE6\x9C\x9F", true},       // 星期
      {"\xC3\xA9", true},
      {"\xC3", false},                          // truncated
      {"\xE6\x98", false},                      // truncated
      {"\xC0\xAF", false},                      // overlong
      {"\xED\xA0\x80", false},                  // surrogate
      {"\xD0\xC7\xC6\xDA", false},              // GB2312 bytes of 星期
      {"\xF4\x90\x80\x80", false},              // beyond U+10FFFF
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(LegacyText, ConvertsLegacyBytesAndKeepsUtf8) {
  EXPECT_EQ(ToUtf8("Welcome"), "Welcome");
  EXPECT_EQ(ToUtf8("\xE6\x98\x9F"), "\xE6\x98\x9F");
  EXPECT_EQ(ToUtf8("\xD0\xC7\xC6\xDA"), "\xE6\x98\x9F\xE6\x9C\x9F");  // GB18030 星期
  EXPECT_EQ(ToUtf8("\xA4\x40", "BIG5"), "\xE4\xB8\x80");              // BIG5 一
  EXPECT_TRUE(IsValidUtf8(ToUtf8("ab\xFF\xFF" "cd")));
}

}  // namespace
}  // namespace vantorel

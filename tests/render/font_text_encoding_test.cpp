#include "render/font_text_encoding.h"

#include <gtest/gtest.h>

#include "render/font_style.h"

namespace vantorel {
namespace {

TEST(FontTextEncoding, Utf8BecomesCodePageBytes) {
  struct Case {
    int codePage;
    const char* utf8;
    std::string bytes;
  };
  const Case cases[] = {
      {kCodePageGb2312, "星期一 Mon 25°", "\xD0\xC7\xC6\xDA\xD2\xBB Mon 25\x7F"},
      {kCodePageGb2312, "丂", "\x81\x40"},  // GBK extension
      {kCodePageBig5, "星期", "\xAC\x50\xB4\xC1"},
      {kCodePageBig5, "€", "\xA3\xE1"},
      {kCodePageKsc5601, "한국", "\xC7\xD1\xB1\xB9"},
      {kCodePageKsc5601, "갂", "\x81\x41"},  // extended Hangul
      {kCodePageShiftJis, "日本", "\x93\xFA\x96\x7B"},
      {kCodePageAsciiEx, "café 25°", "caf\xE9 25\xB0"},
      {kCodePageAscii, "Ab 25°C é", "Ab 25\x7F" "C ?"},
      {kCodePageGb2312, "한", "?"},               // not in the code page
      {kCodePageGb2312, "a\xE4\xB8", "a??"},      // a cut UTF-8 sequence
      {kCodePageGb2312, "\xE4" "AB", "?AB"},      // a lead byte without its continuation
      {kCodePageGb2312, "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(EncodeForCodePage(c.utf8, c.codePage), c.bytes) << c.utf8;
}

}  // namespace
}  // namespace vantorel

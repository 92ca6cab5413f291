#include "render/font_text_encoding.h"

#include <gtest/gtest.h>

#include <optional>

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

// The double-byte libraries read every byte of 0x80 and above as a lead byte: a single high byte
// would swallow the character after it.
TEST(FontTextEncoding, DoubleBytePagesGiveAsciiOrPairsOnly) {
  struct Case {
    const char* name;
    int codePage;
    const char* utf8;
    std::string bytes;
  };
  const Case cases[] = {
      {"GBK euro sign in two bytes", kCodePageGb2312, "\u20ACAB", "\xA2\xE3" "AB"},
      {"GB2312 character", kCodePageGb2312, "\u4E2D\u6587", "\xD6\xD0\xCE\xC4"},
      {"GBK extension", kCodePageGb2312, "\u4E02", "\x81\x40"},
      {"GB18030 four-byte character", kCodePageGb2312, "\U00020000A", "?A"},
      {"full-width yen in GB2312", kCodePageGb2312, "\u00A5", "\xA3\xA4"},
      {"half-width katakana in full width", kCodePageShiftJis, "\uFF71\uFF72A", "\x83\x41\x83\x43" "A"},
      {"half-width katakana stop", kCodePageShiftJis, "\uFF61", "\x81\x42"},
      {"Shift JIS kanji", kCodePageShiftJis, "\u65E5\u672C", "\x93\xFA\x96\x7B"},
      {"Shift JIS yen", kCodePageShiftJis, "\u00A5", "\x81\x8F"},
      {"BIG5 character", kCodePageBig5, "\u661F", "\xAC\x50"},
      {"BIG5 euro sign", kCodePageBig5, "\u20AC", "\xA3\xE1"},
      {"KSC5601 Hangul", kCodePageKsc5601, "\uD55C", "\xC7\xD1"},
      {"KSC5601 won sign", kCodePageKsc5601, "\u20A9", "\xA3\xDC"},
      {"extended ASCII keeps single high bytes", kCodePageAsciiEx, "\u20AC", "\x80"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string bytes = EncodeForCodePage(c.utf8, c.codePage);
    EXPECT_EQ(bytes, c.bytes);
    if (!IsDoubleByteCodePage(c.codePage)) continue;
    for (std::size_t i = 0; i < bytes.size(); i += static_cast<unsigned char>(bytes[i]) >= 0x80 ? 2 : 1) {
      ASSERT_LT(i + (static_cast<unsigned char>(bytes[i]) >= 0x80 ? 1 : 0), bytes.size()) << "a lone lead byte";
    }
  }
}

TEST(FontTextEncoding, CodesDecodeToTheirCharacters) {
  struct Case {
    int codePage;
    std::uint16_t code;
    std::optional<char32_t> character;
  };
  const Case cases[] = {
      {kCodePageGb2312, 'A', U'A'},       {kCodePageGb2312, 0xD6D0, U'\u4E2D'}, {kCodePageGb2312, 0xA2E3, U'\u20AC'},
      {kCodePageGb2312, 0x7F, U'\u00B0'}, {kCodePageAsciiEx, 0x7F, U'\x7F'},    {kCodePageAsciiEx, 0xE9, U'\u00E9'},
      {kCodePageShiftJis, 0xB1, U'\uFF71'}, {kCodePageBig5, 0xAC50, U'\u661F'}, {kCodePageKsc5601, 0xC7D1, U'\uD55C'},
      {kCodePageGb2312, 0xFFFF, std::nullopt}, {kCodePageAscii, 0xC0, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeCharacter(c.code, c.codePage), c.character) << c.code;
}

TEST(FontTextEncoding, Utf8RoundTrip) {
  const std::u32string characters = {U'A', U'\u00E9', U'\u4E2D', U'\U0001F600'};
  std::string utf8;
  for (const char32_t c : characters) utf8 += Utf8Of(c);
  EXPECT_EQ(utf8, "A\u00E9\u4E2D\U0001F600");
  EXPECT_EQ(Utf8Characters(utf8), characters);
  EXPECT_EQ(Utf8Characters("a\xE4\xB8"), (std::u32string{U'a', 0xFFFD, 0xFFFD}));
}

}  // namespace
}  // namespace vantorel

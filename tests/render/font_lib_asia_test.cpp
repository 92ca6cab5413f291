#include <gtest/gtest.h>

#include <set>

#include "font_test_files.h"
#include "render/font_code_index.h"
#include "render/font_lib_asia.h"

namespace vantorel {
namespace {

class AsiaLibraryTest : public test::FontFolderTest {
protected:
  // Every size 12..56 of `base` for `face`, `count` indexed glyphs tagged `tag`.
  void WriteAllSizes(const std::string& base, int count, std::uint8_t tag, int face = 0) const {
    for (int s = 1; s < kFontSizeCount; ++s) {
      WriteBytes(DotFontFileName(base, s, face), IndexedGlyphs(count, GeometryOf(s).fullBytes, tag));
    }
  }
  static int IndexOf(const GlyphBuffer& glyph) { return glyph[0] << 8 | glyph[1]; }
};

TEST_F(AsiaLibraryTest, EachLibraryReadsItsFilesAtTheCodesIndex) {
  WriteAllSizes("gb", kGb2312GlyphCount, 1);
  WriteAllSizes("gbex", kGbkExtGlyphCount, 2);
  WriteAllSizes("big", kBig5GlyphCount, 3);
  WriteAllSizes("hkscs", kHkscsGlyphCount, 4);
  WriteAllSizes("ksc", kKsc5601GlyphCount, 5);
  WriteAllSizes("sjis", kShiftJisGlyphCount + kShiftJisLeadingGlyphs, 6);
  CFontLib_GB2312 gb(Folder());
  CFontLib_BIG5 big(Folder());
  CFontLib_KSC5601 ksc(Folder());
  CFontLib_SJIS sjis(Folder());
  struct Case {
    const CTwFont* library;
    std::uint16_t code;
    int tag;    // 0 = no glyph
    int index;  // position in the file
  };
  const Case cases[] = {
      {&gb, 0xB0A1, 1, 846},
      {&gb, 0xF7FE, 1, 7613},
      {&gb, 0x8140, 2, 0},  // GBK extension
      {&gb, 0xFEA0, 2, 14239},
      {&gb, 0x817F, 0, 0},  // trail 0x7F: neither file
      {&gb, 0xA2A0, 0, 0},
      {&big, 0xA440, 3, 409},
      {&big, 0xA3E1, 3, 408},
      {&big, 0xA3C0, 0, 0},  // between A3BF and A3E1
      {&big, 0x8740, 4, 0},  // HKSCS
      {&big, 0xFEFE, 4, 5071},
      {&ksc, 0xB0A1, 5, Ksc5601CodeToIndex(0xB0A1)},
      {&ksc, 0xC9A1, 0, 0},
      {&sjis, 0x8140, 6, 159},  // after the 159 leading glyphs
      {&sjis, 0xFCFC, 6, 11279 + 159},
      {&sjis, 0xA040, 0, 0},
  };
  GlyphBuffer glyph{};
  for (const Case& c : cases) {
    for (int s = 1; s < kFontSizeCount; ++s) {
      const int count = c.library->GetGlyph(glyph, c.code, MakeFontStyle(s));
      if (c.tag == 0) {
        EXPECT_EQ(count, 0) << std::hex << c.code;
        continue;
      }
      ASSERT_EQ(count, GeometryOf(s).fullBytes) << std::hex << c.code << " size " << s;
      EXPECT_EQ(IndexOf(glyph), c.index) << std::hex << c.code;
      EXPECT_EQ(glyph[2], c.tag) << std::hex << c.code;
    }
  }
  // Codes below 128 are ASCII (the degree sign is built in).
  EXPECT_EQ(sjis.GetGlyph(glyph, 127, MakeFontStyle(2)), 16);
  EXPECT_EQ(ksc.CharWidth('A', MakeFontStyle(3)), 12);
  EXPECT_EQ(ksc.CharWidth(0xB0A1, MakeFontStyle(3)), 24);
  EXPECT_EQ(ksc.CharHeight(0xB0A1, MakeFontStyle(7)), 56);
}

TEST_F(AsiaLibraryTest, EightDotsDrawOnlyTheBuiltInCharactersAndNeverOpenEightDotFiles) {
  // Files that would give lit cells if they were ever read at 8 dots.
  for (const char* name : {"gb08.fmd", "gbex08.fmd", "big08.fmd", "ksc08.fmd", "sjis08.fmd"}) {
    WriteBytes(name, std::vector<std::uint8_t>(200000, 0xFF));
  }
  CFontLib_GB2312 gb(Folder());
  CFontLib_BIG5 big(Folder());
  CFontLib_KSC5601 ksc(Folder());
  CFontLib_SJIS sjis(Folder());
  GlyphBuffer glyph{};
  std::set<std::uint16_t> builtIn;
  for (const BuiltInGlyph& entry : BuiltInGlyphs()) {
    builtIn.insert(entry.gb2312);
    ASSERT_EQ(gb.GetGlyph(glyph, entry.gb2312, MakeFontStyle(0)), 8);
    EXPECT_TRUE(std::equal(entry.rows.begin(), entry.rows.end(), glyph.begin()));
    ASSERT_EQ(big.GetGlyph(glyph, entry.big5, MakeFontStyle(0)), 8);
    EXPECT_TRUE(std::equal(entry.rows.begin(), entry.rows.end(), glyph.begin()));
  }
  EXPECT_EQ(builtIn.size(), 14u);
  int drawn = 0;
  for (int code = 0x8140; code <= 0xFEFE; ++code) {
    if (gb.GetGlyph(glyph, static_cast<std::uint16_t>(code), MakeFontStyle(0)) > 0) {
      ++drawn;
      EXPECT_TRUE(builtIn.count(static_cast<std::uint16_t>(code))) << std::hex << code;
    }
    EXPECT_EQ(ksc.GetGlyph(glyph, static_cast<std::uint16_t>(code), MakeFontStyle(0)), 0);
    EXPECT_EQ(sjis.GetGlyph(glyph, static_cast<std::uint16_t>(code), MakeFontStyle(0)), 0);
  }
  EXPECT_EQ(drawn, 14);
  // Inverse applies to built-in glyphs.
  ASSERT_EQ(gb.GetGlyph(glyph, 0xD2BB, MakeFontStyle(0, 0, true)), 8);
  EXPECT_EQ(glyph[4], 0x01);

  // A Korean string at 8 dots: blank 8 x 8 cells of full width.
  QImage surface(20, 8, QImage::Format_RGB32);
  surface.fill(0xFF0000FF);
  ksc.DrawString(surface, 20, 0, 0, "\xB0\xA1\xB0\xA2", MakeFontStyle(0), 0xFFFF0000);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 16; ++x) ASSERT_EQ(surface.pixel(x, y), 0xFF000000) << x << "," << y;
    EXPECT_EQ(surface.pixel(16, y), 0xFF0000FF);
  }
}

TEST_F(AsiaLibraryTest, MissingFaceFilesFallBackToFaceZero) {
  WriteBytes("gb16.fmd", IndexedGlyphs(kGb2312GlyphCount, 32, 0));
  WriteBytes("gb16_2.fmd", IndexedGlyphs(kGb2312GlyphCount, 32, 2));
  WriteBytes("gb24_4.fmd", std::vector<std::uint8_t>(72 * 10, 1));  // opens, but too short
  CFontLib_GB2312 gb(Folder());
  GlyphBuffer glyph{};
  ASSERT_EQ(gb.GetGlyph(glyph, 0xB0A1, MakeFontStyle(2, 3)), 32);
  EXPECT_EQ(glyph[2], 0);
  ASSERT_EQ(gb.GetGlyph(glyph, 0xB0A1, MakeFontStyle(2, 2)), 32);
  EXPECT_EQ(glyph[2], 2);
  EXPECT_EQ(gb.GetGlyph(glyph, 0xB0A1, MakeFontStyle(3, 4)), 0);
  EXPECT_EQ(gb.GetGlyph(glyph, 0xB0A1, MakeFontStyle(3, 0)), 0);  // no gb24.fmd at all
}

TEST_F(AsiaLibraryTest, GlyphsPastTheEndOfAShortFileAreAbsent) {
  WriteBytes("big24.fmd", IndexedGlyphs(100, 72, 1));
  auto truncated = IndexedGlyphs(101, 128, 1);
  truncated.resize(100 * 128 + 127);
  WriteBytes("big32.fmd", truncated);
  CFontLib_BIG5 big(Folder());
  GlyphBuffer glyph{};
  ASSERT_EQ(Big5CodeToIndex(0xA1C5), 99);
  EXPECT_EQ(big.GetGlyph(glyph, 0xA1C5, MakeFontStyle(3)), 72);
  EXPECT_EQ(big.GetGlyph(glyph, 0xA1C6, MakeFontStyle(3)), 0);  // the last glyph of big24.fmd is 99
  EXPECT_EQ(big.GetGlyph(glyph, 0xA1C5, MakeFontStyle(4)), 128);
  EXPECT_EQ(big.GetGlyph(glyph, 0xA1C6, MakeFontStyle(4)), 0);  // big32.fmd ends one byte short
  EXPECT_EQ(big.GetGlyph(glyph, 0xF9FE, MakeFontStyle(3)), 0);
}

TEST_F(AsiaLibraryTest, DoubleByteWalkAndLoneLeadBytes) {
  WriteBytes("gb16.fmd", std::vector<std::uint8_t>(kGb2312GlyphCount * 32, 0xFF));
  CFontLib_GB2312 gb(Folder());
  const FontStyle style = MakeFontStyle(2);
  EXPECT_EQ(gb.StringWidth("\xD0\xC7\xC6\xDA" "A", style), 40);
  EXPECT_EQ(gb.StringWidth("\xD0\xC7" "A\xC6", style), 24);  // the lone lead byte is not measured
  EXPECT_EQ(gb.StringWidth("\xD0\xC7\xC6\xDA", MakeFontStyle(2, 6, true)), 32);
  EXPECT_EQ(gb.StringWidth(std::string_view("\xD0\xC7\0\xC6\xDA", 5), style), 16);
  EXPECT_EQ(gb.StringWidth(std::string_view("\xD0\xC7\xC6\0\xDA", 5), style), 16);  // a lead byte before the end mark

  QImage surface(64, 16, QImage::Format_RGB32);
  surface.fill(0xFF0000FF);
  gb.DrawString(surface, 64, 0, 0, "\xD0\xC7" "A\xC6", style, 0xFFFF0000);
  EXPECT_EQ(surface.pixel(15, 8), 0xFFFF0000);  // the character, all lit
  EXPECT_EQ(surface.pixel(16, 8), 0xFF000000);  // 'A' without any ASCII file: a blank cell
  EXPECT_EQ(surface.pixel(24, 8), 0xFF0000FF);  // the lone lead byte draws nothing
  // Stops after the double-byte character that reaches the limit, drawn whole.
  surface.fill(0xFF0000FF);
  gb.DrawString(surface, 20, 0, 0, "\xD0\xC7\xC6\xDA\xD0\xC7", style, 0xFFFF0000);
  EXPECT_EQ(surface.pixel(31, 8), 0xFFFF0000);
  EXPECT_EQ(surface.pixel(32, 8), 0xFF0000FF);
}

}  // namespace
}  // namespace vantorel

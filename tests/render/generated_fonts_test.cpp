// The font files that the build makes beside the executables.

#include <gtest/gtest.h>
#include <iconv.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "render/font_code_index.h"
#include "render/font_lib_ascii.h"
#include "render/font_lib_ascii_ex.h"
#include "render/font_lib_asia.h"
#include "render/ovf_header.h"

namespace vantorel {
namespace {

const std::filesystem::path kFonts = VANTOREL_BIN_DIR;

// Ink rows and columns of a glyph in a cell `width` wide.
struct Ink {
  int top = -1, bottom = -1, left = -1, right = -1;
  bool outside = false;  // a bit set past the cell width
  bool Blank() const { return top < 0; }
};

Ink InkOf(const GlyphBuffer& glyph, int width, int height, int rowBytes) {
  Ink ink;
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < rowBytes * 8; ++column) {
      if (((glyph[static_cast<std::size_t>(row * rowBytes + column / 8)] >> (7 - column % 8)) & 1) == 0) continue;
      if (column >= width) {
        ink.outside = true;
        continue;
      }
      if (ink.top < 0) ink.top = row;
      ink.bottom = row;
      ink.left = ink.left < 0 ? column : std::min(ink.left, column);
      ink.right = std::max(ink.right, column);
    }
  }
  return ink;
}

TEST(GeneratedFonts, EveryFileHasItsExactSize) {
  struct File {
    std::string base;
    int glyphs;
  };
  const File files[] = {{"gb", kGb2312GlyphCount},   {"gbex", kGbkExtGlyphCount}, {"big", kBig5GlyphCount},
                        {"hkscs", kHkscsGlyphCount}, {"ksc", kKsc5601GlyphCount},
                        {"sjis", kShiftJisGlyphCount + kShiftJisLeadingGlyphs}};
  for (const File& file : files) {
    for (int s = 1; s < kFontSizeCount; ++s) {
      const auto path = kFonts / DotFontFileName(file.base, s, 0);
      ASSERT_TRUE(std::filesystem::exists(path)) << path;
      EXPECT_EQ(std::filesystem::file_size(path), static_cast<std::uintmax_t>(file.glyphs) * GeometryOf(s).fullBytes) << path;
    }
  }
  EXPECT_EQ(std::filesystem::file_size(kFonts / "asc.fmd"), 14060u);
  for (int s = 5; s < kFontSizeCount; ++s) {
    EXPECT_EQ(std::filesystem::file_size(kFonts / DotFontFileName("asc", s, 0)), 95u * GeometryOf(s).halfBytes);
  }
  std::ifstream ovf(kFonts / "ascii.ovf", std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(ovf)), std::istreambuf_iterator<char>());
  const auto record = UsableOvfFace(bytes);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->glyphCount, 224);
  EXPECT_EQ(record->sizeMask, 0xFF);
  std::size_t blocks = 0;
  for (int s = 0; s < kFontSizeCount; ++s) blocks += 224u * (1u + static_cast<std::size_t>(GeometryOf(s).fullBytes));
  EXPECT_EQ(bytes.size(), record->faceOffset + 18u + blocks);
}

TEST(GeneratedFonts, AsciiLettersSitOnOneBaselineInsideTheirCells) {
  const CFontLib_ASCII library(kFonts);
  for (int s = 0; s < kFontSizeCount; ++s) {
    const FontGeometry& g = GeometryOf(s);
    auto inkOf = [&](char c) {
      GlyphBuffer glyph{};
      EXPECT_EQ(library.GetGlyph(glyph, static_cast<std::uint16_t>(c), MakeFontStyle(s)), g.halfBytes);
      return InkOf(glyph, g.halfWidth, g.height, RowBytes(g.halfWidth));
    };
    const Ink a = inkOf('A');
    ASSERT_FALSE(a.Blank()) << g.height;
    EXPECT_FALSE(a.outside) << g.height;
    // Capitals fill at least half the cell height and leave a column between neighbours.
    EXPECT_GE(a.bottom - a.top + 1, g.height / 2) << g.height;
    EXPECT_LT(a.right, g.halfWidth) << g.height;
    EXPECT_EQ(inkOf('H').bottom, a.bottom) << g.height;
    EXPECT_EQ(inkOf('x').bottom, a.bottom) << g.height;
    // Descenders hang below the baseline and stay in the cell.
    const Ink gee = inkOf('g');
    EXPECT_GT(gee.bottom, a.bottom) << g.height;
    EXPECT_FALSE(gee.outside) << g.height;
  }
}

TEST(GeneratedFonts, EveryGb2312CharacterHasInkAtEverySize) {
  const CFontLib_GB2312 library(kFonts);
  const iconv_t converter = iconv_open("UTF-32LE", "GB2312");
  ASSERT_NE(converter, reinterpret_cast<iconv_t>(-1));
  std::vector<std::uint16_t> codes;
  for (int code = 0xA1A2; code <= 0xF7FE; ++code) {  // past the ideographic space
    if (Gb2312CodeToIndex(static_cast<std::uint16_t>(code)) < 0) continue;
    char input[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    char output[8];
    char* in = input;
    char* out = output;
    std::size_t inLeft = 2;
    std::size_t outLeft = sizeof output;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1)) {
      codes.push_back(static_cast<std::uint16_t>(code));
    }
  }
  iconv_close(converter);
  ASSERT_EQ(codes.size(), 7444u);
  for (int s = 1; s < kFontSizeCount; ++s) {
    const FontGeometry& g = GeometryOf(s);
    int inkless = 0;
    for (const std::uint16_t code : codes) {
      GlyphBuffer glyph{};
      ASSERT_EQ(library.GetGlyph(glyph, code, MakeFontStyle(s)), g.fullBytes);
      if (InkOf(glyph, g.fullWidth, g.height, RowBytes(g.fullWidth)).Blank()) ++inkless;
    }
    EXPECT_EQ(inkless, 0) << "at " << g.height << " dots";
  }
}

TEST(GeneratedFonts, EveryScriptDrawsAtEverySize) {
  const CFontLib_GB2312 gb(kFonts);
  const CFontLib_BIG5 big(kFonts);
  const CFontLib_KSC5601 ksc(kFonts);
  const CFontLib_SJIS sjis(kFonts);
  struct Case {
    const CTwFont* library;
    std::uint16_t code;
  };
  const Case cases[] = {
      {&gb, 0xB9FA},   // 国
      {&gb, 0x8140},   // GBK extension
      {&big, 0xB0EA},  // 國
      {&big, 0xA3E1},  // the euro sign
      {&big, 0x8840},  // HKSCS
      {&ksc, 0xC7D1},  // 한
      {&ksc, 0x8141},  // extended Hangul
      {&sjis, 0x82A0}, // あ
      {&sjis, 0x93FA}, // 日
  };
  for (const Case& c : cases) {
    for (int s = 1; s < kFontSizeCount; ++s) {
      const FontGeometry& g = GeometryOf(s);
      GlyphBuffer glyph{};
      ASSERT_EQ(c.library->GetGlyph(glyph, c.code, MakeFontStyle(s)), g.fullBytes) << std::hex << c.code;
      const Ink ink = InkOf(glyph, g.fullWidth, g.height, RowBytes(g.fullWidth));
      EXPECT_FALSE(ink.Blank()) << std::hex << c.code << " at " << g.height;
      EXPECT_FALSE(ink.outside) << std::hex << c.code << " at " << g.height;
    }
  }
}

TEST(GeneratedFonts, ExtendedAsciiIsProportional) {
  const CFontLib_AsciiEx library(kFonts);
  for (int s = 0; s < kFontSizeCount; ++s) {
    const FontStyle style = MakeFontStyle(s);
    EXPECT_LT(library.CharWidth('i', style), library.CharWidth('W', style)) << s;
    EXPECT_LE(library.CharWidth('W', style), IndexToSize(s)) << s;
    EXPECT_GT(library.CharWidth(' ', style), 0) << s;
    EXPECT_GT(library.CharWidth(0xE9, style), 0) << s;  // é
    GlyphBuffer glyph{};
    ASSERT_GT(library.GetGlyph(glyph, 127, style), 0);
    EXPECT_FALSE(InkOf(glyph, library.CharWidth(127, style), IndexToSize(s), RowBytes(IndexToSize(s))).Blank()) << s;
  }
  std::string name;
  EXPECT_TRUE(library.GetFaceName(name, 0, 0, 0));
  EXPECT_EQ(name, "Proportional");
}

}  // namespace
}  // namespace vantorel

// The shapes of generated glyphs: characters whose form every font agrees on (bands of 一 二 三,
// the closed boxes of 口 日 田 回) are checked in every double-byte file at every size, and the
// built-in 8-dot glyphs against their rows written out here.

#include <gtest/gtest.h>
#include <iconv.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "render/font_lib_asia.h"
#include "render/font_style.h"

namespace vantorel {
namespace {

const std::filesystem::path kFonts = VANTOREL_BIN_DIR;

// A glyph as lit dots, row by row.
class DotGrid {
public:
  DotGrid(const GlyphBuffer& glyph, int width, int height) : m_width(width), m_height(height) {
    const int rowBytes = RowBytes(width);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        m_lit.push_back(((glyph[static_cast<std::size_t>(y * rowBytes + x / 8)] >> (7 - x % 8)) & 1) != 0);
      }
    }
  }

  // Runs of consecutive rows that hold ink.
  int Bands() const {
    int bands = 0;
    bool previous = false;
    for (int y = 0; y < m_height; ++y) {
      bool any = false;
      for (int x = 0; x < m_width; ++x) any = any || Lit(x, y);
      if (any && !previous) ++bands;
      previous = any;
    }
    return bands;
  }

  // Unlit regions that do not reach the cell's edge (4-connected).
  int Holes() const {
    std::vector<bool> seen(m_lit.size(), false);
    int holes = 0;
    for (int start = 0; start < static_cast<int>(m_lit.size()); ++start) {
      if (m_lit[static_cast<std::size_t>(start)] || seen[static_cast<std::size_t>(start)]) continue;
      bool edge = false;
      std::vector<int> stack = {start};
      seen[static_cast<std::size_t>(start)] = true;
      while (!stack.empty()) {
        const int at = stack.back();
        stack.pop_back();
        const int x = at % m_width;
        const int y = at / m_width;
        if (x == 0 || y == 0 || x == m_width - 1 || y == m_height - 1) edge = true;
        const std::array<std::array<int, 2>, 4> steps{{{1, 0}, {-1, 0}, {0, 1}, {0, -1}}};
        for (const auto& step : steps) {
          const int nx = x + step[0];
          const int ny = y + step[1];
          if (nx < 0 || ny < 0 || nx >= m_width || ny >= m_height) continue;
          const auto next = static_cast<std::size_t>(ny * m_width + nx);
          if (m_lit[next] || seen[next]) continue;
          seen[next] = true;
          stack.push_back(ny * m_width + nx);
        }
      }
      if (!edge) ++holes;
    }
    return holes;
  }

private:
  bool Lit(int x, int y) const { return m_lit[static_cast<std::size_t>(y * m_width + x)]; }

  int m_width;
  int m_height;
  std::vector<bool> m_lit;
};

// The double-byte code of a UTF-8 character in `charset`.
std::uint16_t CodeOf(const char* utf8, const char* charset) {
  const iconv_t converter = iconv_open(charset, "UTF-8");
  EXPECT_NE(converter, reinterpret_cast<iconv_t>(-1)) << charset;
  std::string input = utf8;
  char output[8] = {};
  char* in = input.data();
  char* out = output;
  std::size_t inLeft = input.size();
  std::size_t outLeft = sizeof output;
  const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  EXPECT_NE(result, static_cast<std::size_t>(-1)) << utf8 << " in " << charset;
  EXPECT_EQ(sizeof output - outLeft, 2u) << utf8 << " in " << charset;
  return static_cast<std::uint16_t>(static_cast<unsigned char>(output[0]) << 8 | static_cast<unsigned char>(output[1]));
}

TEST(GeneratedGlyphShapes, BandsAndClosedBoxesInEveryScriptAtEverySize) {
  const CFontLib_GB2312 gb(kFonts);
  const CFontLib_BIG5 big(kFonts);
  const CFontLib_KSC5601 ksc(kFonts);
  const CFontLib_SJIS sjis(kFonts);
  struct Library {
    const CTwFont* library;
    const char* charset;
  };
  const Library libraries[] = {{&gb, "GB2312"}, {&big, "BIG5"}, {&ksc, "CP949"}, {&sjis, "CP932"}};
  struct Shape {
    const char* character;
    int bands;  // -1: not checked
    int holes;
  };
  const Shape shapes[] = {{"一", 1, 0}, {"二", 2, 0}, {"三", 3, 0}, {"口", 1, 1},
                          {"日", 1, 2}, {"田", 1, 4}, {"回", 1, 2}, {"十", 1, 0}};
  for (const Library& library : libraries) {
    for (const Shape& shape : shapes) {
      const std::uint16_t code = CodeOf(shape.character, library.charset);
      for (int s = 1; s < kFontSizeCount; ++s) {
        const FontGeometry& g = GeometryOf(s);
        GlyphBuffer glyph{};
        ASSERT_EQ(library.library->GetGlyph(glyph, code, MakeFontStyle(s)), g.fullBytes);
        const DotGrid grid(glyph, g.fullWidth, g.height);
        const std::string where = std::string(shape.character) + " in " + library.charset + " at " +
                                  std::to_string(g.height);
        EXPECT_EQ(grid.Bands(), shape.bands) << where;
        EXPECT_EQ(grid.Holes(), shape.holes) << where;
      }
    }
  }
}

TEST(GeneratedGlyphShapes, BuiltInEightDotGlyphsHaveTheirRows) {
  struct BuiltIn {
    std::uint16_t gb2312;
    std::uint16_t big5;
    std::array<std::uint8_t, 8> rows;
  };
  const BuiltIn table[] = {
      {0xC4EA, 0xA67E, {0x10, 0x3E, 0x48, 0xBE, 0x28, 0xFF, 0x08, 0x08}},  // 年
      {0xD4C2, 0xA4EB, {0x7C, 0x44, 0x7C, 0x44, 0x7C, 0x44, 0x54, 0x8C}},  // 月
      {0xC8D5, 0xA4E9, {0x7C, 0x44, 0x44, 0x7C, 0x44, 0x44, 0x7C, 0x00}},  // 日
      {0xD0C7, 0xAC50, {0x1E, 0x3E, 0x22, 0x7E, 0x48, 0xBE, 0x08, 0x7E}},  // 星
      {0xC6DA, 0xB4C1, {0xAE, 0xFA, 0xAE, 0xEA, 0xAE, 0xEA, 0xFA, 0xAA}},  // 期
      {0xC9CF, 0xA457, {0x00, 0x10, 0x10, 0x1E, 0x10, 0x10, 0xFE, 0x00}},  // 上
      {0xCFC2, 0xA455, {0x00, 0xFE, 0x10, 0x18, 0x14, 0x10, 0x10, 0x00}},  // 下
      {0xCEE7, 0xA4C8, {0x20, 0x7C, 0x90, 0x10, 0xFE, 0x10, 0x10, 0x00}},  // 午
      {0xD2BB, 0xA440, {0x00, 0x00, 0x00, 0x04, 0xFE, 0x00, 0x00, 0x00}},  // 一
      {0xB6FE, 0xA447, {0x00, 0x08, 0x7C, 0x00, 0x00, 0x04, 0xFE, 0x00}},  // 二
      {0xC8FD, 0xA454, {0x08, 0x7C, 0x00, 0x08, 0x7C, 0x00, 0x04, 0xFE}},  // 三
      {0xCBC4, 0xA57C, {0x00, 0xFE, 0xAA, 0xAA, 0xCE, 0x82, 0xFE, 0x00}},  // 四
      {0xCEE5, 0xA4AD, {0x00, 0x7C, 0x10, 0x3C, 0x14, 0x14, 0xFE, 0x00}},  // 五
      {0xC1F9, 0xA4BB, {0x00, 0x30, 0x10, 0xFE, 0x00, 0x2C, 0x46, 0x82}},  // 六
  };
  const CFontLib_GB2312 gb(kFonts);
  const CFontLib_BIG5 big(kFonts);
  for (const BuiltIn& entry : table) {
    for (const auto& [library, code] : {std::pair<const CTwFont*, std::uint16_t>{&gb, entry.gb2312}, {&big, entry.big5}}) {
      GlyphBuffer glyph{};
      ASSERT_EQ(library->GetGlyph(glyph, code, MakeFontStyle(0)), 8) << std::hex << code;
      for (std::size_t row = 0; row < 8; ++row) EXPECT_EQ(glyph[row], entry.rows[row]) << std::hex << code << " row " << row;
    }
  }
}

}  // namespace
}  // namespace vantorel

#include "render/font_code_index.h"

#include <gtest/gtest.h>

namespace vantorel {
namespace {

using CodeToIndexFunction = int (*)(std::uint16_t);

struct Rule {
  const char* name;
  CodeToIndexFunction toIndex;
  int glyphCount;
};

constexpr Rule kRules[] = {
    {"gb", Gb2312CodeToIndex, kGb2312GlyphCount},     {"gbex", GbkExtCodeToIndex, kGbkExtGlyphCount},
    {"big", Big5CodeToIndex, kBig5GlyphCount},        {"hkscs", HkscsCodeToIndex, kHkscsGlyphCount},
    {"ksc", Ksc5601CodeToIndex, kKsc5601GlyphCount},  {"sjis", ShiftJisCodeToIndex, kShiftJisGlyphCount},
};

// The index of a code is its position among the accepted codes in ascending order: walking every
// code must meet the indexes 0, 1, 2 ... without gaps, and end at the glyph count.
TEST(FontCodeIndex, IndexesAreDenseAndAscendingWithTheFileGlyphCounts) {
  EXPECT_EQ(kGb2312GlyphCount, 7614);
  EXPECT_EQ(kBig5GlyphCount, 13868);
  EXPECT_EQ(kHkscsGlyphCount, 5072);
  EXPECT_EQ(kKsc5601GlyphCount, 17018);
  EXPECT_EQ(kShiftJisGlyphCount, 11280);
  for (const Rule& rule : kRules) {
    int next = 0;
    for (int code = 0; code <= 0xFFFF; ++code) {
      const int index = rule.toIndex(static_cast<std::uint16_t>(code));
      if (index < 0) {
        EXPECT_EQ(index, -1) << rule.name << std::hex << " code " << code;
        continue;
      }
      ASSERT_EQ(index, next) << rule.name << std::hex << " code " << code;
      ++next;
    }
    EXPECT_EQ(next, rule.glyphCount) << rule.name;
  }
}

TEST(FontCodeIndex, RangeBoundaries) {
  struct Case {
    CodeToIndexFunction toIndex;
    std::uint16_t code;
    int index;
  };
  const Case cases[] = {
      // GB2312: symbol rows A1..A9, hanzi rows B0..F7, trails A1..FE.
      {Gb2312CodeToIndex, 0xA1A1, 0},
      {Gb2312CodeToIndex, 0xA1FE, 93},
      {Gb2312CodeToIndex, 0xA9FE, 845},
      {Gb2312CodeToIndex, 0xB0A1, 846},
      {Gb2312CodeToIndex, 0xF7FE, 7613},
      {Gb2312CodeToIndex, 0xA1A0, -1},
      {Gb2312CodeToIndex, 0xA1FF, -1},
      {Gb2312CodeToIndex, 0xAAA1, -1},
      {Gb2312CodeToIndex, 0xAFFE, -1},
      {Gb2312CodeToIndex, 0xF8A1, -1},
      {Gb2312CodeToIndex, 0x0041, -1},
      // GBK extension: region 1 (leads 81..A0, trails 40..FE without 7F), region 2 (leads AA..FE, trails 40..A0).
      {GbkExtCodeToIndex, 0x8140, 0},
      {GbkExtCodeToIndex, 0x817E, 62},
      {GbkExtCodeToIndex, 0x817F, -1},
      {GbkExtCodeToIndex, 0x8180, 63},
      {GbkExtCodeToIndex, 0x81FE, 189},
      {GbkExtCodeToIndex, 0x81FF, -1},
      {GbkExtCodeToIndex, 0x8240, 190},
      {GbkExtCodeToIndex, 0xA0FE, 6079},
      {GbkExtCodeToIndex, 0xA1A1, -1},
      {GbkExtCodeToIndex, 0xAA40, 6080},
      {GbkExtCodeToIndex, 0xAA7F, -1},
      {GbkExtCodeToIndex, 0xAA80, 6080 + 63},
      {GbkExtCodeToIndex, 0xAAA0, 6175},
      {GbkExtCodeToIndex, 0xAAA1, -1},
      {GbkExtCodeToIndex, 0xFEA0, 14239},
      {GbkExtCodeToIndex, 0x813F, -1},
      // BIG5: two runs a lead; A3 ends at BF and has E1 alone; C8 ends at D3.
      {Big5CodeToIndex, 0xA140, 0},
      {Big5CodeToIndex, 0xA17E, 62},
      {Big5CodeToIndex, 0xA17F, -1},
      {Big5CodeToIndex, 0xA1A0, -1},
      {Big5CodeToIndex, 0xA1A1, 63},
      {Big5CodeToIndex, 0xA1FE, 156},
      {Big5CodeToIndex, 0xA340, 314},
      {Big5CodeToIndex, 0xA3BF, 314 + 63 + 30},
      {Big5CodeToIndex, 0xA3C0, -1},
      {Big5CodeToIndex, 0xA3E0, -1},
      {Big5CodeToIndex, 0xA3E1, 314 + 63 + 31},
      {Big5CodeToIndex, 0xA3E2, -1},
      {Big5CodeToIndex, 0xA440, 314 + 95},
      {Big5CodeToIndex, 0xC8D3, 39 * 157 - 62 + 63 + 50},
      {Big5CodeToIndex, 0xC8D4, -1},
      {Big5CodeToIndex, 0xF9FE, 13867},
      {Big5CodeToIndex, 0xFA40, -1},
      {Big5CodeToIndex, 0xA13F, -1},
      // HKSCS: 79 runs from 8740 to FEFE.
      {HkscsCodeToIndex, 0x8740, 0},
      {HkscsCodeToIndex, 0x8779, 57},
      {HkscsCodeToIndex, 0x877A, -1},
      {HkscsCodeToIndex, 0x8840, 58},
      {HkscsCodeToIndex, 0x88AB, -1},
      {HkscsCodeToIndex, 0x8AAB, -1},
      {HkscsCodeToIndex, 0x8E7E, -1},
      {HkscsCodeToIndex, 0xC6CF, -1},
      {HkscsCodeToIndex, 0xF9D5, -1},
      {HkscsCodeToIndex, 0xFEFE, 5071},
      {HkscsCodeToIndex, 0x873F, -1},
      // KSC5601: extended Hangul rows 81..C6, KS X 1001 rows A1..FD.
      {Ksc5601CodeToIndex, 0x8141, 0},
      {Ksc5601CodeToIndex, 0x815A, 25},
      {Ksc5601CodeToIndex, 0x815B, -1},
      {Ksc5601CodeToIndex, 0x8161, 26},
      {Ksc5601CodeToIndex, 0x8181, 52},
      {Ksc5601CodeToIndex, 0x81FE, 177},
      {Ksc5601CodeToIndex, 0xA2E7, 33 * 178 + 154},
      {Ksc5601CodeToIndex, 0xA2E8, -1},
      {Ksc5601CodeToIndex, 0xA5AB, -1},
      {Ksc5601CodeToIndex, 0xA5B0, 33 * 178 + 155 + 2 * 178 + 52 + 42},
      {Ksc5601CodeToIndex, 0xADA1, -1},
      {Ksc5601CodeToIndex, 0xC652, 11830 + 17},
      {Ksc5601CodeToIndex, 0xC653, -1},
      {Ksc5601CodeToIndex, 0xC6A1, 11830 + 18},
      {Ksc5601CodeToIndex, 0xC741, -1},
      {Ksc5601CodeToIndex, 0xC9A1, -1},
      {Ksc5601CodeToIndex, 0xCAA1, 12130},
      {Ksc5601CodeToIndex, 0xFDFE, 17017},
      {Ksc5601CodeToIndex, 0xFEA1, -1},
      {Ksc5601CodeToIndex, 0x8041, -1},
      {Ksc5601CodeToIndex, 0x4141, -1},
      // Shift JIS: leads 81..9F then E0..FC, trails 40..FC without 7F.
      {ShiftJisCodeToIndex, 0x8140, 0},
      {ShiftJisCodeToIndex, 0x817E, 62},
      {ShiftJisCodeToIndex, 0x817F, -1},
      {ShiftJisCodeToIndex, 0x8180, 63},
      {ShiftJisCodeToIndex, 0x81FC, 187},
      {ShiftJisCodeToIndex, 0x81FD, -1},
      {ShiftJisCodeToIndex, 0x9FFC, 31 * 188 - 1},
      {ShiftJisCodeToIndex, 0xA040, -1},
      {ShiftJisCodeToIndex, 0xDF40, -1},
      {ShiftJisCodeToIndex, 0xE040, 31 * 188},
      {ShiftJisCodeToIndex, 0xFCFC, 11279},
      {ShiftJisCodeToIndex, 0xFD40, -1},
      {ShiftJisCodeToIndex, 0x813F, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(c.toIndex(c.code), c.index) << std::hex << c.code;
}

}  // namespace
}  // namespace vantorel

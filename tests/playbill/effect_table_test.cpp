#include "playbill/effect_table.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "playbill/font_library_names.h"

namespace vantorel {
namespace {

TEST(EffectTable, ListOrderReadsTheChooserColumnByColumn) {
  const std::vector<std::uint16_t> firstColumn = {0x8000, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9,
                                                  10, 11, 14, 12, 15, 13, 16, 17, 18};
  for (std::size_t i = 0; i < firstColumn.size(); ++i) EXPECT_EQ(EffectAt(static_cast<int>(i)).code, firstColumn[i]) << i;
  EXPECT_EQ(EffectAt(20).code, 19);   // second column starts
  EXPECT_EQ(EffectAt(40).code, 39);
  EXPECT_EQ(EffectAt(41).code, 40);   // third column starts
  EXPECT_EQ(EffectAt(55).code, 54);
  EXPECT_EQ(EffectAt(56).code, 57);   // 55, 56 and 59 do not exist
  EXPECT_EQ(EffectAt(58).code, 60);
  EXPECT_EQ(EffectAt(66).code, 69);
  EXPECT_EQ(EffectAt(67).code, 70);

  std::set<std::uint16_t> codes;
  std::set<int> texts;
  for (int i = 0; i < kEffectCount; ++i) {
    codes.insert(EffectAt(i).code);
    texts.insert(EffectAt(i).textId);
    EXPECT_FALSE(EffectName(EffectAt(i).code).empty()) << i;
  }
  EXPECT_EQ(codes.size(), 68u);
  EXPECT_EQ(texts.size(), 68u);
}

TEST(EffectTable, IndexesOutsideTheTableGiveTheFirstEntry) {
  for (int index : {-1, 68, 1000, -1000}) {
    EXPECT_EQ(&EffectAt(index), &EffectAt(0)) << index;
  }
}

TEST(EffectTable, LookupByCode) {
  const struct {
    std::uint16_t code;
    int index;
    const char* name;
  } cases[] = {
      {0x8000, 0, "Random"},   {0x8005, 0, "Random"}, {0xFFFF, 0, "Random"},
      {0, 1, "Instant"},       {14, 13, "Scroll left continuously"},
      {12, 14, "Scroll right"}, {53, 54, "Scroll up continuously)"},
      {70, 67, "Slide zebra(vertical)"},
      {55, -1, "Random"},      {59, -1, "Random"}, {71, -1, "Random"}, {0x7FFF, -1, "Random"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(EffectIndexOfCode(c.code), c.index);
    EXPECT_EQ(EffectName(c.code), c.name);
  }
}

TEST(EffectTable, LookupByNameIgnoresCase) {
  EXPECT_EQ(EffectCodeByName("Random"), 0x8000);
  EXPECT_EQ(EffectCodeByName("scroll LEFT continuously"), 14);
  EXPECT_EQ(EffectCodeByName("Open 2-fan"), 67);
  EXPECT_EQ(EffectCodeByName("slide left & right"), 47);
  EXPECT_EQ(EffectCodeByName("Scroll"), std::nullopt);
  EXPECT_EQ(EffectCodeByName(""), std::nullopt);
}

TEST(EffectTable, ClassesLookAtTheLow15Bits) {
  const std::set<int> continuous = {14, 15, 53, 54};
  const std::set<int> horizontal = {11, 12, 14, 15};
  const std::set<int> vertical = {10, 53, 54, 64};
  const std::set<int> rightGoing = {12, 15};
  const std::set<int> single = {10, 11, 12, 64};
  const std::set<int> all = {10, 11, 12, 14, 15, 53, 54, 64};
  for (int code = 0; code <= 80; ++code) {
    for (std::uint16_t flag : {std::uint16_t{0}, std::uint16_t{0x8000}}) {
      const auto value = static_cast<std::uint16_t>(code | flag);
      SCOPED_TRACE(value);
      EXPECT_EQ(IsContinuousScroll(value), continuous.count(code) == 1);
      EXPECT_EQ(IsHorizontalScroll(value), horizontal.count(code) == 1);
      EXPECT_EQ(IsVerticalScroll(value), vertical.count(code) == 1);
      EXPECT_EQ(IsRightGoingScroll(value), rightGoing.count(code) == 1);
      EXPECT_EQ(IsSingleScroll(value), single.count(code) == 1);
      EXPECT_EQ(IsScroll(value), all.count(code) == 1);
    }
  }
}

TEST(FontLibraryNames, CodesZeroToFive) {
  const AppOptions defaults;
  const char* names[] = {"ASCII", "GB2312", "Big 5", "Shift JIS", "Extended ASCII", "KSC5601"};
  for (int code = 0; code < kFontLibCount; ++code) EXPECT_EQ(FontLibraryName(code, defaults), names[code]) << code;
  EXPECT_EQ(FontLibraryTextId(kFontLibKsc5601), 499);
  EXPECT_EQ(FontLibraryName(-1, defaults), "");
  EXPECT_EQ(FontLibraryName(6, defaults), "");
  EXPECT_EQ(FontLibraryTextId(6), 0);
}

TEST(FontLibraryNames, ExtendedAsciiGoesByTheNameTheUserSet) {
  AppOptions named;
  named.extendedAsciiName = "Kyrillisch";
  EXPECT_EQ(FontLibraryName(kFontLibExtendedAscii, named), "Kyrillisch");
  for (const int other : {kFontLibAscii, kFontLibGb2312, kFontLibKsc5601}) {
    EXPECT_EQ(FontLibraryName(other, named), FontLibraryName(other, AppOptions{})) << other;
  }
}

}  // namespace
}  // namespace vantorel

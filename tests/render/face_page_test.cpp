// Clock, temperature and counter faces drawn with the fonts the build makes.

#include <gtest/gtest.h>

#include "app/text_ids.h"
#include "render/faces/clock_text.h"
#include "render/faces/face_layout.h"
#include "render/faces/face_page.h"
#include "render/font_lib_asia.h"
#include "support/golden_image.h"

namespace vantorel {
namespace {

using namespace clock_style;

constexpr LedColour kRed = 0x0000FF;

// Rows that hold a pixel that is not black.
std::vector<int> InkRows(const CLedBitmap& bitmap) {
  std::vector<int> rows;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      if (bitmap.Pixel(x, y) != 0) {
        rows.push_back(y);
        break;
      }
    }
  }
  return rows;
}

class FacePageTest : public ::testing::Test {
protected:
  static tagItemPart Item(std::uint16_t kind, std::uint16_t showMode, int points, const char* media = "") {
    tagItemPart item;
    item.actType = kind;
    item.showMode = showMode;
    item.logFont.height = FontHeightOfPoints(points);
    item.fntColor = kRed;
    item.media = media;
    return item;
  }

  CLedBitmap Page(const tagItemPart& item, QSize size, const DateTime& now) const {
    const auto page = RenderFacePage(item, size, &m_font, 0x77, now);
    EXPECT_TRUE(page) << page.status().detail();
    return page ? *page : CLedBitmap();
  }

  // What DrawCentredLines makes of `lines` in the item's style, for comparison.
  CLedBitmap Lines(const tagItemPart& item, QSize size, const std::vector<std::string>& lines) const {
    CLedBitmap bitmap(size.width(), size.height(), 0x77);
    bitmap.Fill(0);
    FaceTextStyle text;
    text.style = FaceFontStyle(item.logFont.height, item.vwAsText);
    text.colour = kRed;
    DrawCentredLines(bitmap, m_font, lines, text);
    return bitmap;
  }

  CFontLib_GB2312 m_font{VANTOREL_BIN_DIR};
};

TEST(FaceLayout, FontHeightsAndPointsGoBothWays) {
  for (int s = 0; s < kFontSizeCount; ++s) {
    const int points = IndexToSize(s);
    EXPECT_EQ(PointsOfFontHeight(FontHeightOfPoints(points)), points);
    EXPECT_EQ(StyleSizeIndex(FaceFontStyle(FontHeightOfPoints(points), 0)), s) << points;
  }
  EXPECT_EQ(PointsOfFontHeight(53), 40);  // not 39: the 40-point font of a 96 dpi screen
  EXPECT_EQ(StyleFace(FaceFontStyle(16, 0x30)), 3);
}

TEST(FaceLayout, BlinkingBlanksTheLastTwoColons) {
  struct Row {
    const char* line;
    const char* expected;
  };
  const Row rows[] = {{"12:30:15", "12 30 15"}, {"12:30", "12 30"}, {"a:b:c:d", "a:b c d"}, {"1230", "1230"}, {"", ""}};
  for (const Row& row : rows) EXPECT_EQ(WithBlankColons(row.line), row.expected);
}

TEST_F(FacePageTest, AMultiLineClockCentresEachLineInASlotOfAThird) {
  const tagItemPart clock = Item(kKindClock, WithFormat(kYear | kMonth | kDay | kHour | kMinute | kTwentyFourHour | kMultiLine, 0), 8, "Now");
  const CLedBitmap page = Page(clock, {64, 48}, {2026, 12, 9, 14, 5, 0});
  const std::vector<int> rows = InkRows(page);
  ASSERT_FALSE(rows.empty());
  // Slots of 16 rows; 8-dot lines start 4 rows into theirs.
  for (const int y : rows) EXPECT_TRUE((y >= 4 && y < 12) || (y >= 20 && y < 28) || (y >= 36 && y < 44)) << y;
  EXPECT_LE(rows.front(), 6);
  EXPECT_GE(rows.back(), 36);
  // The Chinese library writes the date with its unit words.
  EXPECT_EQ(page.Image(), Lines(clock, {64, 48}, {"Now", "2026年12月09日", "14:05"}).Image());
}

TEST_F(FacePageTest, TheColonsBlinkOnOddSeconds) {
  tagItemPart clock = Item(kKindClock, WithFormat(kHour | kMinute | kSecond | kTwentyFourHour, 1), 8);
  clock.vwAsText = 1 << 8;
  EXPECT_EQ(Page(clock, {64, 16}, {2026, 1, 1, 12, 30, 15}).Image(), Lines(clock, {64, 16}, {"12 30 15"}).Image());
  EXPECT_EQ(Page(clock, {64, 16}, {2026, 1, 1, 12, 30, 16}).Image(), Lines(clock, {64, 16}, {"12:30:16"}).Image());
  clock.vwAsText = 0;
  EXPECT_EQ(Page(clock, {64, 16}, {2026, 1, 1, 12, 30, 15}).Image(), Lines(clock, {64, 16}, {"12:30:15"}).Image());
}

TEST_F(FacePageTest, LinesOfEachFace) {
  const DateTime now = {2026, 12, 9, 10, 0, 0};
  tagItemPart clock = Item(kKindClock, WithFormat(kHour | kMinute | kTwentyFourHour, 1), 16);
  clock.timeAdj = -90;
  tagItemPart counter = Item(kKindTimeCounter, 0, 16, "{!d} days\n{!h2}:{!m2}");
  counter.tcBase = {2026, 12, 11, 13, 4, 0};
  tagItemPart work = Item(kKindWorkCounter, 0x0800 | 0x3E, 16);
  work.tcBase = {2026, 12, 10, 0, 0, 0};  // tomorrow
  work.timeAdj = 312;
  struct Row {
    const char* name;
    tagItemPart item;
    std::vector<std::string> lines;
  };
  const Row rows[] = {
      {"clock with a time difference", clock, {" 8:30"}},
      {"Celsius", Item(kKindSensor, 0, 16, "T "), {"T 20\u00B0C"}},
      {"Fahrenheit", Item(kKindSensor, 1, 16), {"68\u00B0F"}},
      {"humidity", Item(kKindSensor, 2, 16, "H"), {"H60%RH"}},
      {"time counter on two lines", counter, {"2 days", "03:04"}},
      {"work counter starting tomorrow shows its base value", work, {"312"}},
  };
  for (const Row& row : rows) EXPECT_EQ(FaceLines(row.item, now, kCodePageGb2312), row.lines) << row.name;
  EXPECT_TRUE(FaceChangesWithTime(kKindClock));
  EXPECT_FALSE(FaceChangesWithTime(kKindWorkCounter));
  EXPECT_FALSE(IsFaceKind(kKindPicture));
}

TEST_F(FacePageTest, WithoutAFontLibraryOrAWindow) {
  const tagItemPart clock = Item(kKindClock, kHour, 16);
  const auto none = RenderFacePage(clock, {64, 32}, nullptr, 0x77, {});
  ASSERT_FALSE(none);
  EXPECT_EQ(none.status().text(), kTextNoFontLibrary);
  const auto empty = RenderFacePage(clock, {0, 32}, &m_font, 0x77, {});
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->IsEmpty());
}

TEST_F(FacePageTest, GoldenFaces) {
  struct Row {
    const char* name;
    tagItemPart item;
    QSize size;
    DateTime now;
  };
  tagItemPart digital = Item(kKindClock, WithFormat(kMonth | kDay | kWeekday | kHour | kMinute | kSecond | kTwentyFourHour | kMultiLine, 1), 12);
  tagItemPart dial = Item(kKindClock, kDial | kHands, 16);
  tagItemPart chinese = Item(kKindClock, WithFormat(kMonth | kDay | kWeekday | kHour | kMinute | kMultiLine, 0), 16);
  const Row rows[] = {
      {"digital-clock-64x32.png", digital, {64, 32}, {2026, 12, 9, 14, 5, 7}},
      {"dial-10-10-30-64x64.png", dial, {64, 64}, {2026, 12, 9, 10, 10, 30}},
      {"dial-10-10-30-32x32.png", dial, {32, 32}, {2026, 12, 9, 10, 10, 30}},
      {"chinese-clock-128x32.png", chinese, {128, 32}, {2026, 12, 9, 14, 5, 7}},
      {"temperature-64x16.png", Item(kKindSensor, 0, 16, "T "), {64, 16}, {}},
  };
  for (const Row& row : rows) {
    EXPECT_TRUE(test::MatchesGoldenImage(std::filesystem::path("render/faces") / row.name,
                                         Page(row.item, row.size, row.now).Image()));
  }
}

}  // namespace
}  // namespace vantorel

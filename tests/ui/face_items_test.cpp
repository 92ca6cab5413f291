// Clocks and counters on the editor's canvas: drawn at the moment given, again when it changes.

#include <gtest/gtest.h>

#include "render/faces/clock_text.h"
#include "render/faces/face_layout.h"
#include "render/font_lib_asia.h"
#include "ui/canvas_pages.h"

namespace vantorel {
namespace {

tagItemPart Face(std::uint16_t kind, std::uint16_t showMode) {
  tagItemPart item;
  item.actType = kind;
  item.showMode = showMode;
  item.logFont.height = FontHeightOfPoints(8);
  item.fntColor = 0x0000FF;
  item.tcBase = {2026, 12, 1, 0, 0, 0};
  return item;
}

TEST(FaceItemsOnTheCanvas, ClocksFollowTheSecondAndWorkCountersTheDay) {
  const CFontLib_GB2312 library(VANTOREL_BIN_DIR);
  CCanvasPages pages;
  const auto page = [&](const tagItemPart& item, const DateTime& moment) {
    return pages.ItemPage(item, QSize(48, 16), 0x77, {}, &library, false, moment);
  };
  const DateTime morning = {2026, 12, 9, 10, 0, 1};
  const DateTime secondLater = {2026, 12, 9, 10, 0, 2};
  const DateTime evening = {2026, 12, 9, 18, 0, 2};
  const DateTime nextDay = {2026, 12, 10, 10, 0, 1};

  const tagItemPart clock = Face(kKindClock, clock_style::kHour | clock_style::kMinute | clock_style::kSecond |
                                                 clock_style::kTwentyFourHour);
  ASSERT_FALSE(page(clock, morning).isNull());
  EXPECT_NE(page(clock, morning), page(clock, secondLater));
  EXPECT_EQ(page(clock, morning), page(clock, morning));

  tagItemPart counter = Face(kKindTimeCounter, 0);
  counter.tcMode = 1;  // count up
  counter.media = "{!s}";
  EXPECT_NE(page(counter, morning), page(counter, secondLater));

  const tagItemPart work = Face(kKindWorkCounter, 0x7F | 0x0800);
  EXPECT_EQ(page(work, morning), page(work, evening)) << "counting days: the same all day";
  EXPECT_NE(page(work, morning), page(work, nextDay));

  tagItemPart later = counter;
  later.tcBase = {2026, 12, 5, 0, 0, 0};
  EXPECT_NE(CCanvasPages::ItemKey(counter), CCanvasPages::ItemKey(later)) << "the target is part of the drawing";
  EXPECT_TRUE(pages.ItemPage(clock, QSize(48, 16), 0x77, {}, nullptr, false, morning).isNull()) << "no font library";
}

}  // namespace
}  // namespace vantorel

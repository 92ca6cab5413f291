// Clocks and counters on the editor's canvas: drawn at the moment given, again when it changes.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

#include <cstdlib>
#include <filesystem>

#include "render/faces/clock_text.h"
#include "render/faces/face_layout.h"
#include "render/font_lib_asia.h"
#include "playbill/item_builder.h"
#include "ui/canvas_pages.h"
#include "ui/main_frame.h"
#include "ui/playbill_canvas.h"
#include "ui_test_support.h"

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

// What a user sees: a Chinese date clock in the middle bar of the default cross and a count-down
// in its top arm, ticking on the canvas as the seconds pass.
using FaceItemsEditorTest = testing::EditorTest;

TEST_F(FaceItemsEditorTest, AClockAndACountDownTickOnTheCanvas) {
  constexpr int kTopItem = 2;  // the top arm's item
  constexpr int kBarItem = 4;  // the middle bar's clock
  CMainFrame* frame = StartFrame(4);
  ASSERT_NE(frame, nullptr);

  tagPrgItem clock = m_app->Doc().Record(kBarItem);
  ASSERT_EQ(clock.item.actType, kKindClock);
  using namespace clock_style;
  clock.item.showMode = WithFormat(kMonth | kDay | kHour | kMinute | kSecond | kTwentyFourHour | kMultiLine, 0);
  clock.item.logFont.height = FontHeightOfPoints(8);
  ASSERT_TRUE(m_app->Doc().ReplaceRecord(kBarItem, clock));
  tagPrgItem counter = m_app->Doc().Record(kTopItem);
  StartItemKind(counter.item, kKindTimeCounter);
  counter.item.tcBase = {2099, 1, 1, 0, 0, 0};
  counter.item.media = "{!s2}";
  counter.item.fntColor = 0x00FFFF;  // yellow on the arm's green
  ASSERT_TRUE(m_app->Doc().ReplaceRecord(kTopItem, counter));
  frame->DocumentChanged();
  testing::ChooseRecord(*frame, *m_app, kBarItem);

  const auto pages = [&] {
    std::vector<QImage> shown;
    for (const CanvasWindow& window : frame->Canvas()->Windows()) shown.push_back(window.page);
    return shown;
  };
  const std::vector<QImage> first = pages();
  ASSERT_EQ(first.size(), 3u);
  ASSERT_FALSE(first[0].isNull());
  ASSERT_FALSE(first[1].isNull());
  // Within a few seconds both faces have been drawn again with another second.
  QElapsedTimer waited;
  waited.start();
  std::vector<QImage> later = first;
  while (waited.elapsed() < 5000 && (later[0] == first[0] || later[1] == first[1])) {
    QTest::qWait(100);
    later = pages();
  }
  EXPECT_NE(later[0], first[0]) << "the count-down's seconds";
  EXPECT_NE(later[1], first[1]) << "the clock's seconds";
  EXPECT_EQ(later[2], first[2]) << "the bottom arm does not change";

  if (const char* folder = std::getenv("VANTOREL_DOC_SCREENSHOTS")) {
    CPlaybillCanvas* canvas = frame->Canvas();
    canvas->SetZoom(8);
    canvas->resize(canvas->sizeHint());
    const std::filesystem::path into(folder);
    EXPECT_TRUE(canvas->grab().save(QString::fromStdString((into / "face-items-canvas.png").string())));
  }
}

}  // namespace
}  // namespace vantorel

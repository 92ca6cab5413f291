#include <gtest/gtest.h>

#include <vector>

#include "playbill/cross_layout.h"
#include "playbill/window_fit.h"
#include "support/record_builders.h"

namespace vantorel {
namespace {

using Rects = std::vector<WindowRect>;

TEST(CrossLayout, WindowsByLayoutAndScreenSize) {
  const struct {
    int layout;
    std::uint16_t width;
    std::uint16_t height;
    Rects expected;
  } cases[] = {
      {0, 48, 32, {{0, 0, 48, 32}}},
      {3, 64, 64, {{16, 0, 32, 16}, {0, 16, 16, 32}, {16, 16, 32, 32}, {48, 16, 16, 32}, {16, 48, 32, 16}}},
      {3, 96, 96, {{32, 0, 32, 32}, {0, 32, 32, 32}, {32, 32, 32, 32}, {64, 32, 32, 32}, {32, 64, 32, 32}}},
      {1, 64, 64, {{16, 0, 32, 16}, {0, 16, 64, 32}, {16, 48, 32, 16}}},
      {2, 64, 64, {{16, 0, 32, 64}, {0, 16, 16, 32}, {48, 16, 16, 32}}},
      {1, 96, 48, {{32, 0, 32, 16}, {0, 16, 96, 16}, {32, 32, 32, 16}}},
      {2, 96, 48, {{32, 0, 32, 48}, {0, 16, 32, 16}, {64, 16, 32, 16}}},
      // 64 wide: 16-pixel arms whatever the height.
      {3, 64, 128, {{16, 0, 32, 16}, {0, 16, 16, 32}, {16, 16, 32, 32}, {48, 16, 16, 32}, {16, 112, 32, 16}}},
      // Too narrow for arms: every window of width 0 covers the screen.
      {3, 2, 2, {{0, 0, 2, 2}, {0, 0, 2, 2}, {0, 0, 2, 2}, {0, 0, 2, 2}, {0, 0, 2, 2}}},
      {1, 0, 0, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
      {1, 5, 1, {{1, 0, 1, 0}, {0, 0, 5, 0}, {1, 1, 1, 0}}},
      {2, 48, 2, {{16, 0, 16, 2}, {0, 0, 16, 0}, {32, 0, 16, 0}}},
      {-1, 64, 64, {}},
      {4, 64, 64, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "layout " << c.layout << " on " << c.width << "x" << c.height);
    EXPECT_EQ(LayoutWindows(c.layout, c.width, c.height), c.expected);
  }
}

TEST(WindowFit, WindowsAreMovedAndCutOntoTheScreen) {
  const struct {
    const char* name;
    WindowRect before;
    WindowRect after;
  } cases[] = {
      {"past the right edge: 44 with bit 3 cleared", {50, 0, 20, 16}, {36, 0, 20, 16}},
      {"past the right edge, bit 3 clear already", {60, 0, 12, 16}, {52, 0, 12, 16}},
      {"wider than the screen", {5, 0, 100, 16}, {0, 0, 64, 16}},
      {"exactly the screen", {0, 0, 64, 32}, {0, 0, 64, 32}},
      {"negative left stays", {-10, -4, 20, 16}, {-10, -4, 20, 16}},
      {"past the bottom: no bit cleared", {0, 25, 16, 20}, {0, 12, 16, 20}},
      {"taller than the screen", {0, 3, 16, 40}, {0, 0, 16, 32}},
      {"both axes", {60, 30, 80, 8}, {0, 24, 64, 8}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PrgList list = {test::P(), test::W(c.before.left, c.before.top, c.before.width, c.before.height), test::I()};
    const PrgList untouched = list;
    EXPECT_EQ(FitWindowsToScreen(list, 64, 32), !(c.before == c.after));
    const tagWindowPart& window = list[1].window;
    EXPECT_EQ((WindowRect{window.left, window.top, window.width, window.height}), c.after);
    EXPECT_EQ(list[0], untouched[0]);
    EXPECT_EQ(list[2], untouched[2]);
  }
}

TEST(WindowFit, ZeroSizedScreen) {
  PrgList list = {test::P(), test::W(3, 3, 10, 10), test::W(0, 0, 0, 0)};
  EXPECT_TRUE(FitWindowsToScreen(list, 0, 0));
  EXPECT_EQ(list[1].window.width, 0);
  EXPECT_EQ(list[1].window.left, 0);
  EXPECT_EQ(list[1].window.height, 0);
  EXPECT_EQ(list[1].window.top, 0);
  EXPECT_FALSE(FitWindowsToScreen(list, 0, 0));
}

TEST(WindowFit, DraggedWindowsMoveAndResizeByWholeLedsOnTheScreen) {
  const WindowEdges all = WindowEdges::All();
  const WindowEdges right{false, false, true, false};
  const WindowEdges topLeft{true, true, false, false};
  const WindowEdges bottomRight{false, false, true, true};
  const WindowRect start{16, 8, 16, 16};
  const struct {
    const char* name;
    WindowEdges edges;
    int dx;
    int dy;
    WindowRect result;
  } cases[] = {
      {"moved", all, 5, -3, {21, 5, 16, 16}},
      {"moved against the left and top edges", all, -40, -40, {0, 0, 16, 16}},
      {"moved against the right and bottom edges", all, 100, 100, {48, 16, 16, 16}},
      {"right edge out", right, 7, 0, {16, 8, 23, 16}},
      {"right edge to the screen's edge and no further", right, 90, 0, {16, 8, 48, 16}},
      {"right edge past the left one: one LED stays", right, -30, 0, {16, 8, 1, 16}},
      {"top-left corner in", topLeft, 4, 2, {20, 10, 12, 14}},
      {"top-left corner past the screen's corner", topLeft, -30, -30, {0, 0, 32, 24}},
      {"top-left corner past the opposite one", topLeft, 40, 40, {31, 23, 1, 1}},
      {"bottom-right corner", bottomRight, -2, 100, {16, 8, 14, 24}},
      {"no edge follows", WindowEdges{}, 9, 9, start},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DragWindowRect(start, c.edges, c.dx, c.dy, 64, 32), c.result);
  }
  // A window larger than the screen is moved to its corner and keeps its size.
  EXPECT_EQ(DragWindowRect({0, 0, 80, 40}, all, 5, 5, 64, 32), (WindowRect{0, 0, 80, 40}));
}

}  // namespace
}  // namespace vantorel

#include "playbill/window_fit.h"

#include <algorithm>

namespace vantorel {
namespace {

// Fits one axis; `clearMask` is cleared from a moved position.
bool FitAxis(std::int16_t& position, std::uint16_t& size, std::uint16_t screenSize, int clearMask) {
  if (size > screenSize) {
    size = screenSize;
    position = 0;
    return true;
  }
  if (position + size > screenSize) {
    position = static_cast<std::int16_t>((screenSize - size) & ~clearMask);
    return true;
  }
  return false;
}

constexpr int kLeftClearMask = 0x8;

// One axis of a drag: [low, high) becomes [low + delta, high + delta) for the edges that follow,
// inside [0, screenSize).
void DragAxis(int& low, int& high, bool lowFollows, bool highFollows, int delta, int screenSize) {
  if (lowFollows && highFollows) {
    const int size = high - low;
    low = std::clamp(low + delta, 0, std::max(0, screenSize - size));
    high = low + size;
    return;
  }
  if (lowFollows) low = std::clamp(low + delta, 0, std::max(0, high - 1));
  if (highFollows) high = std::clamp(high + delta, low + 1, std::max(screenSize, low + 1));
}

}  // namespace

bool FitWindowsToScreen(PrgList& list, std::uint16_t screenWidth, std::uint16_t screenHeight) {
  bool changed = false;
  for (tagPrgItem& record : list) {
    if (!record.IsWindow()) continue;
    tagWindowPart& window = record.window;
    changed = FitAxis(window.left, window.width, screenWidth, kLeftClearMask) || changed;
    changed = FitAxis(window.top, window.height, screenHeight, 0) || changed;
  }
  return changed;
}

WindowRect FitWindowRect(WindowRect rect, std::uint16_t screenWidth, std::uint16_t screenHeight) {
  rect.left = std::max<std::int16_t>(rect.left, 0);
  rect.top = std::max<std::int16_t>(rect.top, 0);
  rect.width = std::max<std::uint16_t>(rect.width, 1);
  rect.height = std::max<std::uint16_t>(rect.height, 1);
  FitAxis(rect.left, rect.width, screenWidth, kLeftClearMask);
  FitAxis(rect.top, rect.height, screenHeight, 0);
  return rect;
}

WindowRect DragWindowRect(WindowRect start, WindowEdges edges, int dx, int dy, std::uint16_t screenWidth,
                          std::uint16_t screenHeight) {
  int left = start.left;
  int right = start.left + start.width;
  int top = start.top;
  int bottom = start.top + start.height;
  DragAxis(left, right, edges.left, edges.right, dx, screenWidth);
  DragAxis(top, bottom, edges.top, edges.bottom, dy, screenHeight);
  return {static_cast<std::int16_t>(left), static_cast<std::int16_t>(top), static_cast<std::uint16_t>(right - left),
          static_cast<std::uint16_t>(bottom - top)};
}

}  // namespace vantorel

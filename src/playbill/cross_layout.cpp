#include "playbill/cross_layout.h"

namespace vantorel {
namespace {

WindowRect Rect(int left, int top, int width, int height) {
  return {static_cast<std::int16_t>(left), static_cast<std::int16_t>(top), static_cast<std::uint16_t>(width),
          static_cast<std::uint16_t>(height)};
}

}  // namespace

std::vector<WindowRect> LayoutWindows(int layout, std::uint16_t width, std::uint16_t height) {
  if (layout < 0 || layout >= kLayoutCount) return {};
  const WindowRect full = Rect(0, 0, width, height);
  if (layout == 0) return {full};

  // Arm width a and height b of the cross, centre c x d. Signs 64 wide are built from 16-pixel
  // arms around a 32-pixel centre whatever their height.
  int a = width / 3;
  int b = height / 3;
  int c = a;
  int d = b;
  if (width == 64) {
    a = b = 16;
    c = d = 32;
  }
  const int w = width;
  const int h = height;
  std::vector<WindowRect> windows;
  switch (layout) {
    case 1:
      windows = {Rect(a, 0, c, b), Rect(0, b, w, d), Rect(a, h - b, c, b)};
      break;
    case 2:
      windows = {Rect(a, 0, c, h), Rect(0, b, a, d), Rect(w - a, b, a, d)};
      break;
    default:
      windows = {Rect(a, 0, c, b), Rect(0, b, a, d), Rect(a, b, c, d), Rect(w - a, b, a, d), Rect(a, h - b, c, b)};
      break;
  }
  // A screen too narrow for arms would give windows no one can see or edit.
  for (WindowRect& window : windows) {
    if (window.width == 0) window = full;
  }
  return windows;
}

}  // namespace vantorel

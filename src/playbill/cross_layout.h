#pragma once
// Window layouts a program can be given in one step: layout 0 is one full-screen window, layouts
// 1, 2 and 3 are the three-, three- and five-window arrangements of a cross-shaped sign.

#include <cstdint>
#include <vector>

namespace vantorel {

inline constexpr int kLayoutCount = 4;

struct WindowRect {
  std::int16_t left = 0;
  std::int16_t top = 0;
  std::uint16_t width = 0;
  std::uint16_t height = 0;

  friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// The windows of `layout` on a screen of `width` x `height`; empty for layouts outside 0..3.
std::vector<WindowRect> LayoutWindows(int layout, std::uint16_t width, std::uint16_t height);

}  // namespace vantorel

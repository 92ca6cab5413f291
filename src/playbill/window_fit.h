#pragma once
// Windows lie on the screen. Those of a loaded playbill may come from a larger screen and are
// moved and cut onto the current one; those the user places in the editor are kept on it while
// typed in or dragged.

#include <cstdint>

#include "playbill/cross_layout.h"
#include "playbill/prg_item.h"

namespace vantorel {

// For every window: wider than the screen -> full width at LEFT 0; else reaching past the right
// edge -> LEFT = (screen width - WIDTH) with bit 3 (the value 8) cleared. The same for HEIGHT
// and TOP, where no bit is cleared.
// Returns whether any window changed.
bool FitWindowsToScreen(PrgList& list, std::uint16_t screenWidth, std::uint16_t screenHeight);

// A window the user asked for, on the screen: at least one LED each way, not left of or above
// the screen, then moved and cut as a loaded window is.
WindowRect FitWindowRect(WindowRect rect, std::uint16_t screenWidth, std::uint16_t screenHeight);

// The edges of a window that follow the pointer: all four move the window, one edge or two
// neighbouring edges resize it.
struct WindowEdges {
  bool left = false;
  bool top = false;
  bool right = false;
  bool bottom = false;

  static constexpr WindowEdges All() { return {true, true, true, true}; }
  bool Any() const { return left || top || right || bottom; }
  friend bool operator==(const WindowEdges&, const WindowEdges&) = default;
};

// Window `start` after a drag by (dx, dy) whole LEDs with `edges` following the pointer: a moved
// window stops at the screen's edges and keeps its size; a resized one keeps at least one LED
// each way and its dragged edges stay on the screen.
WindowRect DragWindowRect(WindowRect start, WindowEdges edges, int dx, int dy, std::uint16_t screenWidth,
                          std::uint16_t screenHeight);

}  // namespace vantorel

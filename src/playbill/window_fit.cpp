#include "playbill/window_fit.h"

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

}  // namespace

bool FitWindowsToScreen(PrgList& list, std::uint16_t screenWidth, std::uint16_t screenHeight) {
  bool changed = false;
  for (tagPrgItem& record : list) {
    if (!record.IsWindow()) continue;
    tagWindowPart& window = record.window;
    changed = FitAxis(window.left, window.width, screenWidth, 0x8) || changed;
    changed = FitAxis(window.top, window.height, screenHeight, 0) || changed;
  }
  return changed;
}

}  // namespace vantorel

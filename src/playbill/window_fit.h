#pragma once
// Windows of a loaded playbill may come from a larger screen; they are moved and cut so that they
// lie on the current one.

#include <cstdint>

#include "playbill/prg_item.h"

namespace vantorel {

// For every window: wider than the screen -> full width at LEFT 0; else reaching past the right
// edge -> LEFT = (screen width - WIDTH) with bit 3 (the value 8) cleared. The same for HEIGHT
// and TOP, where no bit is cleared.
// Returns whether any window changed.
bool FitWindowsToScreen(PrgList& list, std::uint16_t screenWidth, std::uint16_t screenHeight);

}  // namespace vantorel

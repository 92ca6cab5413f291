#pragma once
// The text form of a screen list ("screen.cfg", "*.screens"): one "[SCREEN]" ... "[/SCREEN]"
// block of key lines per screen, lines ended by CR LF.

#include <string>
#include <string_view>

#include "platform/status.h"
#include "screen/screen_data.h"

namespace vantorel {

// Appends every screen block of `text` that has a valid controller class to `list`, correcting
// its size, model and ID, until the list is full. Lines that are not valid UTF-8 are taken as
// legacy code page text. Never fails: what cannot be understood is skipped, and the blocks that
// were dropped (no valid controller class, not closed, text outside a block) are counted with the first reason.
ReadWarnings ReadScreenText(std::string_view text, CScreenData& list);

// The text of every screen of `list`, in list order.
std::string WriteScreenText(const CScreenData& list);

}  // namespace vantorel

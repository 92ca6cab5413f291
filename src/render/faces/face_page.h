#pragma once
// The page of a clock, temperature, time-counter or work-counter item at one moment: a bitmap of
// the window filled with black, the face's lines drawn with the font library in the item's text
// colour, and for a clock the analog dial and hands its style asks for.
//
// Pure function of its arguments: safe on any thread with its own bitmap; the library may be shared.

#include <QSize>

#include <string>
#include <vector>

#include "platform/status.h"
#include "playbill/prg_item.h"
#include "render/dot_font.h"
#include "render/faces/date_time.h"
#include "render/led_bitmap.h"

namespace vantorel {

// Kinds 5, 9, 10 and 11.
bool IsFaceKind(std::uint16_t kind);
// Whether the face shows something else as time passes (every face but the work counter).
bool FaceChangesWithTime(std::uint16_t kind);

// The lines a face item shows at `now` (UTF-8), before the blinking colons.
std::vector<std::string> FaceLines(const tagItemPart& item, const DateTime& now, int codePage);

// The face at `now`. Without a font library: kTextNoFontLibrary.
Expected<CLedBitmap> RenderFacePage(const tagItemPart& item, QSize windowSize, const CDotFont* font,
                                    std::uint16_t colourMode, const DateTime& now);

}  // namespace vantorel

#pragma once
// The layout every clock and counter face shares: n lines, each in a slot of H / n rows,
// centred horizontally, drawn with the font library in the text colour on black.
//
// Draws into a bitmap the caller owns: one bitmap per thread; the font library may be shared.

#include <cstdint>
#include <string>
#include <vector>

#include "render/dot_font.h"
#include "render/led_bitmap.h"

namespace vantorel {

// The logical resolution that converts a LOGFONT height (dots) into points.
inline constexpr int kLogicalDpi = 96;

// The nominal dot-font height of a LOGFONT height: |height| x 72 / 96, rounded to the nearest
// point (truncating would turn the 53 dots of a 40-point font into 39 points).
int PointsOfFontHeight(int logFontHeight);
// The LOGFONT height (negative: a character height) of `points`.
int FontHeightOfPoints(int points);

struct FaceTextStyle {
  FontStyle style = 0;        // size index and face bits
  LedColour colour = 0x0000FF;
  bool blankColons = false;   // blink-the-colon on an odd second: the last two colons become spaces
};

// The style of a face: the size index of the item's font height with the face bits of VWASTEXT.
FontStyle FaceFontStyle(int logFontHeight, std::int32_t vwAsText);

// Draws `lines` (UTF-8) into `bitmap`, which the caller has filled with black.
void DrawCentredLines(CLedBitmap& bitmap, const CDotFont& font, const std::vector<std::string>& lines,
                      const FaceTextStyle& text);

// `line` with its last two colons (or its only one) made spaces.
std::string WithBlankColons(std::string line);

}  // namespace vantorel

#pragma once
// The analog clock: the dial of 60 points on the window's ellipse and the hands, drawn pixel by
// pixel (no smoothing: one pixel is one LED).
//
// Draws into a bitmap the caller owns.

#include "render/faces/date_time.h"
#include "render/led_bitmap.h"

namespace vantorel {

inline constexpr LedColour kDialRed = 0x0000FF;
inline constexpr LedColour kDialYellow = 0x00FFFF;

// 60 points on the ellipse of radii W/2 - 3 and H/2 - 3 round the centre, from 12 o'clock
// clockwise: every fifth a red disc of radius 1, the others yellow pixels.
void DrawDial(CLedBitmap& bitmap);

// The hour and minute hands (yellow, three pixels wide; the minute hand 80 % of half the smaller
// side, the hour hand 55 %), the second hand (red, one pixel, 90 %) and the centre disc.
void DrawHands(CLedBitmap& bitmap, const DateTime& moment);

}  // namespace vantorel

#pragma once
// How a bitmap looks on the sign, for people: every LED magnified `zoom` times, either as a square
// of its colour or (round dots) as a lit disc on the black of the sign's face. Dark LEDs of a dot
// picture show faintly, as unlit LEDs do in daylight.

#include <QImage>

#include "render/led_bitmap.h"

namespace vantorel {

enum class LedLook { kSquares, kRoundDots };

QImage MagnifiedPicture(const CLedBitmap& bitmap, int zoom, LedLook look);

}  // namespace vantorel

#pragma once
// What a drawing left in an LED bitmap, for tests that check where things landed.

#include <QRect>

#include <set>

#include "render/led_bitmap.h"

namespace vantorel::test {

// The rectangle of pixels that are not `background`, or an empty one.
inline QRect InkRect(const CLedBitmap& bitmap, LedColour background) {
  QRect ink;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      if (bitmap.Pixel(x, y) != background) ink |= QRect(x, y, 1, 1);
    }
  }
  return ink;
}

// Every colour the bitmap holds.
inline std::set<LedColour> ColoursOf(const CLedBitmap& bitmap) {
  std::set<LedColour> colours;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) colours.insert(bitmap.Pixel(x, y));
  }
  return colours;
}

}  // namespace vantorel::test

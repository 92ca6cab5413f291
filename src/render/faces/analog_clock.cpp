#include "render/faces/analog_clock.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace vantorel {
namespace {

void Plot(CLedBitmap& bitmap, int x, int y, LedColour colour) {
  if (x >= 0 && y >= 0 && x < bitmap.Width() && y < bitmap.Height()) bitmap.SetPixel(x, y, colour);
}

// Bresenham's line, both ends included.
void DrawLine(CLedBitmap& bitmap, int x0, int y0, int x1, int y1, LedColour colour) {
  const int dx = std::abs(x1 - x0);
  const int dy = -std::abs(y1 - y0);
  const int stepX = x0 < x1 ? 1 : -1;
  const int stepY = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  while (true) {
    Plot(bitmap, x0, y0, colour);
    if (x0 == x1 && y0 == y1) return;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += stepX;
    }
    if (twice <= dx) {
      error += dx;
      y0 += stepY;
    }
  }
}

void FillDisc(CLedBitmap& bitmap, int cx, int cy, int radius, LedColour colour) {
  for (int y = -radius; y <= radius; ++y) {
    for (int x = -radius; x <= radius; ++x) {
      if (x * x + y * y <= radius * radius + radius / 2) Plot(bitmap, cx + x, cy + y, colour);
    }
  }
}

// The point at `degrees` clockwise from 12 o'clock on the ellipse of radii rx, ry round (cx, cy).
struct Point {
  int x;
  int y;
};
Point OnEllipse(double cx, double cy, double rx, double ry, double degrees) {
  const double radians = degrees * std::numbers::pi / 180.0;
  return {static_cast<int>(std::lround(cx + rx * std::sin(radians))),
          static_cast<int>(std::lround(cy - ry * std::cos(radians)))};
}

// A hand from the centre: `width` parallel lines one pixel apart, across the hand's direction.
void DrawHand(CLedBitmap& bitmap, int cx, int cy, double length, double degrees, int width, LedColour colour) {
  const double radians = degrees * std::numbers::pi / 180.0;
  const Point tip = OnEllipse(cx, cy, length, length, degrees);
  // Across the hand: the axis along which it moves least.
  const bool mostlyVertical = std::abs(std::cos(radians)) >= std::abs(std::sin(radians));
  for (int offset = -(width / 2); offset <= width / 2; ++offset) {
    const int ox = mostlyVertical ? offset : 0;
    const int oy = mostlyVertical ? 0 : offset;
    DrawLine(bitmap, cx + ox, cy + oy, tip.x + ox, tip.y + oy, colour);
  }
}

}  // namespace

void DrawDial(CLedBitmap& bitmap) {
  const double cx = bitmap.Width() / 2;
  const double cy = bitmap.Height() / 2;
  const double rx = bitmap.Width() / 2 - 3;
  const double ry = bitmap.Height() / 2 - 3;
  if (rx <= 0 || ry <= 0) return;
  for (int point = 0; point < 60; ++point) {
    const Point at = OnEllipse(cx, cy, rx, ry, point * 6.0);
    if (point % 5 == 0) {
      FillDisc(bitmap, at.x, at.y, 1, kDialRed);
    } else {
      Plot(bitmap, at.x, at.y, kDialYellow);
    }
  }
}

void DrawHands(CLedBitmap& bitmap, const DateTime& moment) {
  const int cx = bitmap.Width() / 2;
  const int cy = bitmap.Height() / 2;
  const double half = std::min(bitmap.Width(), bitmap.Height()) / 2.0;
  if (half <= 0) return;
  const double minuteDegrees = moment.minute * 6.0;
  const double hourDegrees = ((moment.hour % 12) * 5 + moment.minute / 12) * 6.0;
  DrawHand(bitmap, cx, cy, half * 0.55, hourDegrees, 3, kDialYellow);
  DrawHand(bitmap, cx, cy, half * 0.8, minuteDegrees, 3, kDialYellow);
  DrawHand(bitmap, cx, cy, half * 0.9, moment.second * 6.0, 1, kDialRed);
  if (bitmap.Width() < 64 || bitmap.Height() < 64) {
    FillDisc(bitmap, cx, cy, 2, kDialRed);
  } else {
    FillDisc(bitmap, cx, cy, 5, kDialYellow);
    FillDisc(bitmap, cx, cy, 4, kDialRed);
  }
}

}  // namespace vantorel

#include "render/font_degree_sign.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "render/font_style.h"

namespace vantorel {
namespace {

// The box of the ring per size: first and last row, first and last column.
struct RingBox {
  int top, bottom, left, right;
};

constexpr std::array<RingBox, kFontSizeCount> kRingBoxes = {{
    {0, 3, 1, 4},
    {2, 5, 2, 5},
    {2, 5, 3, 6},
    {3, 7, 5, 9},
    {4, 10, 6, 13},
    {3, 15, 5, 17},
    {5, 17, 7, 19},
    {6, 22, 7, 23},
}};

// A dot is lit when its centre lies in the band between the ellipse of the box and one shrunk by
// the stroke; the stroke grows with the box so large rings stay closed and bold.
bool InRing(const RingBox& box, int row, int column) {
  const double width = box.right - box.left + 1;
  const double height = box.bottom - box.top + 1;
  const double stroke = std::max(1.0, std::min(width, height) / 5.0);
  const double dx = (column - box.left + 0.5) - width / 2;
  const double dy = (row - box.top + 0.5) - height / 2;
  const double outer = std::hypot(dx / (width / 2), dy / (height / 2));
  const double inner = std::hypot(dx / (width / 2 - stroke), dy / (height / 2 - stroke));
  return outer <= 1.0 && inner >= 1.0;
}

}  // namespace

int DegreeSignGlyph(int sizeIndex, std::span<std::uint8_t> glyph) {
  const FontGeometry& geometry = GeometryOf(sizeIndex);
  const int rowBytes = RowBytes(geometry.halfWidth);
  std::fill_n(glyph.begin(), geometry.halfBytes, std::uint8_t{0});
  const RingBox& box = kRingBoxes[static_cast<std::size_t>(sizeIndex & 7)];
  for (int row = box.top; row <= box.bottom; ++row) {
    for (int column = box.left; column <= box.right; ++column) {
      if (InRing(box, row, column)) {
        glyph[static_cast<std::size_t>(row * rowBytes + column / 8)] |= static_cast<std::uint8_t>(0x80 >> (column % 8));
      }
    }
  }
  return geometry.halfBytes;
}

}  // namespace vantorel

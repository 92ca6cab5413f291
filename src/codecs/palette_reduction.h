#pragma once
// Reduction of a 24-bit picture to at most 256 colours for GIF frames: the exact colours when there
// are few enough, else a median cut of the picture's colour histogram (5 bits a channel) with every
// pixel mapped to the nearest colour of the palette. No dithering: LED pixels are too large for it.

#include <QImage>

#include <array>
#include <cstdint>
#include <vector>

namespace vantorel {

struct IndexedPicture {
  int width = 0;
  int height = 0;
  std::vector<std::array<std::uint8_t, 3>> palette;  // at most 256 entries, red first
  std::vector<std::uint8_t> indexes;                 // width x height, row by row
};

IndexedPicture ReducePalette(const QImage& picture, int maxColours = 256);

}  // namespace vantorel

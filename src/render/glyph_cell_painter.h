#pragma once
// Copies a two-colour glyph cell opaquely onto an image at 1:1, clipped to the image.

#include <QImage>

#include <cstdint>
#include <span>

namespace vantorel {

// `rows` holds `height` rows of `rowBytes` (at most 8) bytes, most significant bit leftmost; a 1 bit is drawn
// in `foreground`, a 0 bit in `background`. Only the left `width` columns are drawn.
void PaintGlyphCell(QImage& surface, int x, int y, int width, int height, std::span<const std::uint8_t> rows,
                    int rowBytes, QRgb foreground, QRgb background);

}  // namespace vantorel

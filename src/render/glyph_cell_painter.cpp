#include "render/glyph_cell_painter.h"

#include <QPainter>

#include <algorithm>

namespace vantorel {
namespace {

// One glyph row as bits from the most significant end; glyph rows are at most 7 bytes (56 dots).
std::uint64_t RowBits(std::span<const std::uint8_t> rows, int rowBytes, int row) {
  std::uint64_t bits = 0;
  const auto* bytes = rows.data() + static_cast<std::ptrdiff_t>(row) * rowBytes;
  for (int i = 0; i < rowBytes; ++i) bits |= static_cast<std::uint64_t>(bytes[i]) << (56 - 8 * i);
  return bits;
}

// Writes each visible dot of the cell with `put(scanLine, x, lit)`. Columns past the glyph rows
// (a proportional width larger than the cell) stay unlit.
template <typename Put>
void ForEachDot(QImage& surface, int x, int y, int width, int height, std::span<const std::uint8_t> rows,
                int rowBytes, Put put) {
  const int firstRow = std::max(0, -y);
  const int lastRow = std::min(height, surface.height() - y);
  const int firstColumn = std::max(0, -x);
  const int lastColumn = std::min(width, surface.width() - x);
  const int lastGlyphColumn = std::min(lastColumn, rowBytes * 8);
  if (firstRow >= lastRow || firstColumn >= lastColumn) return;
  // One detach for the whole cell, not one per row.
  uchar* const bits0 = surface.bits();
  const qsizetype bytesPerLine = surface.bytesPerLine();
  for (int row = firstRow; row < lastRow; ++row) {
    uchar* line = bits0 + static_cast<qsizetype>(y + row) * bytesPerLine;
    const std::uint64_t bits = RowBits(rows, rowBytes, row);
    int column = firstColumn;
    for (; column < lastGlyphColumn; ++column) put(line, x + column, ((bits << column) >> 63) != 0);
    for (; column < lastColumn; ++column) put(line, x + column, false);
  }
}

}  // namespace

void PaintGlyphCell(QImage& surface, int x, int y, int width, int height, std::span<const std::uint8_t> rows,
                    int rowBytes, QRgb foreground, QRgb background) {
  if (width < 1 || height < 1 || surface.isNull()) return;
  if (rowBytes < 1 || rowBytes > 8 || rows.size() < static_cast<std::size_t>(height * rowBytes)) return;
  switch (surface.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied: {
      const QRgb on = foreground | 0xFF000000u;
      const QRgb off = background | 0xFF000000u;
      const QRgb flip = on ^ off;
      ForEachDot(surface, x, y, width, height, rows, rowBytes, [off, flip](uchar* line, int px, bool lit) {
        reinterpret_cast<QRgb*>(line)[px] = off ^ (flip & (0u - static_cast<QRgb>(lit)));
      });
      return;
    }
    case QImage::Format_RGB888: {
      ForEachDot(surface, x, y, width, height, rows, rowBytes, [foreground, background](uchar* line, int px, bool lit) {
        const QRgb colour = lit ? foreground : background;
        uchar* dot = line + px * 3;
        dot[0] = static_cast<uchar>(qRed(colour));
        dot[1] = static_cast<uchar>(qGreen(colour));
        dot[2] = static_cast<uchar>(qBlue(colour));
      });
      return;
    }
    default: {
      // Any other surface: a one-bit image with the two colours as its palette, copied opaquely.
      QImage cell(width, height, QImage::Format_Mono);
      cell.setColorTable({background | 0xFF000000u, foreground | 0xFF000000u});
      cell.fill(0);
      for (int row = 0; row < height; ++row) {
        std::copy_n(rows.begin() + row * rowBytes, std::min(rowBytes, static_cast<int>(cell.bytesPerLine())),
                    cell.scanLine(row));
      }
      QPainter painter(&surface);
      painter.setCompositionMode(QPainter::CompositionMode_Source);
      painter.drawImage(x, y, cell);
    }
  }
}

}  // namespace vantorel

#include "render/glyph_cell_painter.h"

#include <QPainter>

#include <algorithm>

namespace vantorel {
namespace {

// Columns past the glyph rows (a proportional width larger than the cell) stay unlit.
bool Lit(std::span<const std::uint8_t> rows, int rowBytes, int row, int column) {
  if (column >= rowBytes * 8) return false;
  return (rows[static_cast<std::size_t>(row * rowBytes + column / 8)] >> (7 - column % 8)) & 1;
}

// Writes each dot of the visible part of the cell with `put(scanLine, column, lit)`.
template <typename Put>
void ForEachDot(QImage& surface, int x, int y, int width, int height, std::span<const std::uint8_t> rows,
                int rowBytes, Put put) {
  const int firstRow = std::max(0, -y);
  const int lastRow = std::min(height, surface.height() - y);
  const int firstColumn = std::max(0, -x);
  const int lastColumn = std::min(width, surface.width() - x);
  for (int row = firstRow; row < lastRow; ++row) {
    uchar* line = surface.scanLine(y + row);
    for (int column = firstColumn; column < lastColumn; ++column) put(line, x + column, Lit(rows, rowBytes, row, column));
  }
}

}  // namespace

void PaintGlyphCell(QImage& surface, int x, int y, int width, int height, std::span<const std::uint8_t> rows,
                    int rowBytes, QRgb foreground, QRgb background) {
  if (width < 1 || height < 1 || surface.isNull()) return;
  if (rowBytes < 1 || rows.size() < static_cast<std::size_t>(height * rowBytes)) return;
  switch (surface.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied: {
      const QRgb on = foreground | 0xFF000000u;
      const QRgb off = background | 0xFF000000u;
      ForEachDot(surface, x, y, width, height, rows, rowBytes, [on, off](uchar* line, int px, bool lit) {
        reinterpret_cast<QRgb*>(line)[px] = lit ? on : off;
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

#include "render/led_look.h"

#include <QPainter>

#include <algorithm>

namespace vantorel {
namespace {

constexpr QRgb kUnlitLed = qRgb(28, 28, 28);

}  // namespace

QImage MagnifiedPicture(const CLedBitmap& bitmap, int zoom, LedLook look) {
  zoom = std::clamp(zoom, 1, 64);
  if (bitmap.IsEmpty()) return {};
  QImage picture(bitmap.Width() * zoom, bitmap.Height() * zoom, QImage::Format_RGB32);
  picture.fill(Qt::black);
  QPainter painter(&picture);
  painter.setPen(Qt::NoPen);
  // A dot leaves a gap between LEDs once they are large enough to show one.
  const double inset = look == LedLook::kRoundDots && zoom >= 3 ? std::max(0.5, zoom * 0.1) : 0.0;
  painter.setRenderHint(QPainter::Antialiasing, look == LedLook::kRoundDots);
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      QRgb colour = ToQRgb(bitmap.Pixel(x, y));
      const QRectF cell(x * zoom + inset, y * zoom + inset, zoom - 2 * inset, zoom - 2 * inset);
      if (look == LedLook::kSquares) {
        painter.fillRect(QRect(x * zoom, y * zoom, zoom, zoom), colour);
        continue;
      }
      if (colour == qRgb(0, 0, 0)) colour = kUnlitLed;
      painter.setBrush(QColor(colour));
      painter.drawEllipse(cell);
    }
  }
  return picture;
}

}  // namespace vantorel

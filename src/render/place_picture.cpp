#include "render/place_picture.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vantorel {
namespace {

// Copies `source` scaled into `rect` of `target` (clipped), nearest pixel.
void Blit(QImage& target, const QImage& source, const QRect& rect, bool inverse) {
  const QRect visible = rect.intersected(target.rect());
  if (visible.isEmpty()) return;
  // Source column of every target column, computed once.
  std::vector<int> columns(static_cast<std::size_t>(visible.width()));
  for (int x = visible.left(); x <= visible.right(); ++x) {
    columns[static_cast<std::size_t>(x - visible.left())] =
        static_cast<int>((static_cast<std::int64_t>(x - rect.left()) * source.width()) / rect.width());
  }
  const uchar flip = inverse ? 0xFF : 0x00;
  for (int y = visible.top(); y <= visible.bottom(); ++y) {
    const int sourceY = static_cast<int>((static_cast<std::int64_t>(y - rect.top()) * source.height()) / rect.height());
    const uchar* in = source.constScanLine(sourceY);
    uchar* out = target.scanLine(y) + 3 * visible.left();
    for (const int sourceX : columns) {
      const uchar* pixel = in + 3 * sourceX;
      *out++ = pixel[0] ^ flip;
      *out++ = pixel[1] ^ flip;
      *out++ = pixel[2] ^ flip;
    }
  }
}

QRect ZoomRect(QSize target, QSize source) {
  const std::int64_t tw = target.width();
  const std::int64_t th = target.height();
  const std::int64_t sw = source.width();
  const std::int64_t sh = source.height();
  // Equal aspect ratios stretch; otherwise the side that limits is filled and the other centred.
  if (sw * th == sh * tw) return QRect(QPoint(0, 0), target);
  if (sw * th > sh * tw) {
    const int height = static_cast<int>(std::max<std::int64_t>(1, sh * tw / sw));
    return QRect(0, std::max(0, (target.height() - height) / 2), target.width(), height);
  }
  const int width = static_cast<int>(std::max<std::int64_t>(1, sw * th / sh));
  return QRect(std::max(0, (target.width() - width) / 2), 0, width, target.height());
}

}  // namespace

QRect PlacementRect(QSize target, QSize source, int mode) {
  if (target.isEmpty() || source.isEmpty()) return {};
  switch (mode) {
    case kPlaceCenter:
      return QRect(QPoint((target.width() - source.width()) / 2, (target.height() - source.height()) / 2), source);
    case kPlaceZoom: return ZoomRect(target, source);
    case kPlaceStretch: return QRect(QPoint(0, 0), target);
    default: return QRect(QPoint(0, 0), source);  // Tile starts here too
  }
}

void PlacePicture(CLedBitmap& target, const QImage& source, int mode, bool inverse) {
  const QSize size(target.Width(), target.Height());
  const QRect rect = PlacementRect(size, source.size(), mode);
  if (rect.isEmpty()) return;
  const QImage rgb = source.format() == QImage::Format_RGB888 ? source : source.convertToFormat(QImage::Format_RGB888);
  // The indexed form is drawn in full colour first, then mapped to the screen's palette.
  const bool indexed = target.Format() == LedPixelFormat::kIndexed4;
  QImage canvas = indexed ? target.Image().convertToFormat(QImage::Format_RGB888) : QImage();
  QImage& surface = indexed ? canvas : target.Image();
  if (mode == kPlaceTile) {
    for (int y = 0; y < size.height(); y += source.height()) {
      for (int x = 0; x < size.width(); x += source.width()) Blit(surface, rgb, QRect(QPoint(x, y), source.size()), inverse);
    }
  } else {
    Blit(surface, rgb, rect, inverse);
  }
  if (indexed) target.Assign(canvas);
}

}  // namespace vantorel

#include "codecs/picture.h"

#include <QPainter>

namespace vantorel {

Status CheckPictureSize(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0) {
    return Status::Failure(kNoTextId, "empty picture: " + std::to_string(width) + " x " + std::to_string(height));
  }
  if (width > kMaxPicturePixels / height) {
    return Status::Failure(kNoTextId, "picture too large: " + std::to_string(width) + " x " + std::to_string(height) +
                                          " pixels (at most " + std::to_string(kMaxPicturePixels / (1024 * 1024)) +
                                          " Mpixel)");
  }
  return Status::Ok();
}

Expected<QImage> MakePicture(int width, int height) {
  if (Status size = CheckPictureSize(width, height); !size) return size;
  QImage picture(width, height, kPictureFormat);
  if (picture.isNull()) return Status::Failure(kNoTextId, "out of memory for a picture");
  picture.fill(Qt::black);
  return picture;
}

QImage ToPicture(const QImage& image) {
  if (image.format() == kPictureFormat) return image;
  if (!image.hasAlphaChannel()) return image.convertToFormat(kPictureFormat);
  // Transparent parts become black, as the sign shows them.
  QImage picture(image.size(), kPictureFormat);
  picture.fill(Qt::black);
  QPainter painter(&picture);
  painter.drawImage(0, 0, image);
  painter.end();
  return picture;
}

}  // namespace vantorel

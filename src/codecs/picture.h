#pragma once
// The pictures the codecs make and take: 24-bit RGB QImages (QImage::Format_RGB888), one byte per
// channel, red first. Every decoder checks a picture's size against one pixel budget before it
// allocates anything, so a hostile header cannot make us reserve gigabytes.

#include <QImage>

#include <cstdint>
#include <string>

#include "platform/status.h"

namespace vantorel {

inline constexpr QImage::Format kPictureFormat = QImage::Format_RGB888;
// 64 Mpixel: more than any photo a sign would show (8000 x 8000), far less than would hurt.
inline constexpr std::int64_t kMaxPicturePixels = 64LL * 1024 * 1024;

// Success when a width x height picture may be made; "picture too large: ..." otherwise.
Status CheckPictureSize(std::int64_t width, std::int64_t height);

// A picture of that size filled with black, or the failure of CheckPictureSize.
Expected<QImage> MakePicture(int width, int height);

// `image` as a 24-bit picture (alpha dropped onto black).
QImage ToPicture(const QImage& image);

}  // namespace vantorel

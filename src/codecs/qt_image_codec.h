#pragma once
// BMP, PNG and TIFF pictures through Qt's image readers, and BMP files written by Qt.

#include <QImage>

#include <cstdint>
#include <span>
#include <vector>

#include "platform/status.h"

namespace vantorel {

// The first picture of a file in `format` ("bmp", "png", "tiff"), as a 24-bit picture. The size is
// checked against the pixel budget before anything is decoded.
Expected<QImage> DecodeWithQt(std::span<const std::uint8_t> bytes, const char* format);

// A 24-bit BMP file of `picture`.
Expected<std::vector<std::uint8_t>> EncodeBmp(const QImage& picture);

}  // namespace vantorel

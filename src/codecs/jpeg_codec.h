#pragma once
// JPEG pictures through the IJG libjpeg API: baseline and progressive, grey, YCbCr and Adobe CMYK.

#include <QImage>

#include <cstdint>
#include <span>

#include "platform/status.h"

namespace vantorel {

// The picture of a JPEG file's bytes. A file cut short gives what was read (the rest grey, as
// libjpeg fills it) and a warning; a file that is no JPEG, or one too large, gives a failure.
Expected<QImage> DecodeJpeg(std::span<const std::uint8_t> bytes, ReadWarnings* warnings = nullptr);

}  // namespace vantorel

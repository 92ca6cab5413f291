// Picture files come from users and from the internet. One target per decoder (the build names
// the format with VANTOREL_FUZZ_FORMAT): decoding must never crash, read outside its input or
// allocate past the pixel budget, and a picture it gives must be a 24-bit one of a sane size.

#include <cstddef>
#include <cstdint>
#include <span>

#include "codecs/gif_codec.h"
#include "codecs/jpeg_codec.h"
#include "codecs/picture.h"
#include "codecs/qt_image_codec.h"

namespace {

enum Format { kBmp, kJpeg, kGif, kPng, kTiff };

void CheckPicture(const QImage& picture) {
  if (picture.format() != vantorel::kPictureFormat) __builtin_trap();
  if (!vantorel::CheckPictureSize(picture.width(), picture.height()).ok()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  const std::span<const std::uint8_t> bytes(data, size);
  ReadWarnings warnings;
  switch (VANTOREL_FUZZ_FORMAT) {
    case kJpeg:
      if (const auto picture = DecodeJpeg(bytes, &warnings)) CheckPicture(*picture);
      break;
    case kGif:
      if (const auto animation = DecodeGif(bytes, 0, &warnings)) {
        for (const auto& frame : animation->frames) CheckPicture(frame.picture);
      }
      break;
    case kBmp:
      if (const auto picture = DecodeWithQt(bytes, "bmp")) CheckPicture(*picture);
      break;
    case kPng:
      if (const auto picture = DecodeWithQt(bytes, "png")) CheckPicture(*picture);
      break;
    case kTiff:
      if (const auto picture = DecodeWithQt(bytes, "tiff")) CheckPicture(*picture);
      break;
  }
  return 0;
}

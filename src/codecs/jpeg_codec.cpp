#include "codecs/jpeg_codec.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "codecs/picture.h"

namespace vantorel {
namespace {

// libjpeg reports errors through a callback that must not return: it jumps back to the decoder.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  int warnings;
  char firstWarning[JMSG_LENGTH_MAX];
};

// Progressive files may hold any number of scans; a few hundred is already absurd, and each one
// makes the decoder walk the whole picture again.
constexpr int kMaxScans = 500;
// What libjpeg may allocate for one picture (coefficient buffers of progressive files).
constexpr long kMaxDecoderMemory = 768L * 1024 * 1024;
// JPEG sides are 16-bit numbers.
constexpr std::size_t kMaxCmykRow = 65535;

void OnError(j_common_ptr info) {
  auto* errors = reinterpret_cast<ErrorManager*>(info->err);
  errors->base.format_message(info, errors->message);
  std::longjmp(errors->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
  if (level >= 0) return;  // trace messages
  auto* errors = reinterpret_cast<ErrorManager*>(info->err);
  if (errors->warnings++ == 0) errors->base.format_message(info, errors->firstWarning);
}

void OnProgress(j_common_ptr info) {
  if (!info->is_decompressor) return;
  const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > kMaxScans) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    std::snprintf(errors->message, sizeof errors->message, "more than %d scans", kMaxScans);
    std::longjmp(errors->jump, 1);
  }
}

// Adobe writes CMYK inverted: 255 is no ink.
void CmykRowToRgb(const JSAMPLE* cmyk, uchar* rgb, JDIMENSION width) {
  for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
    const int k = cmyk[3];
    rgb[0] = static_cast<uchar>(cmyk[0] * k / 255);
    rgb[1] = static_cast<uchar>(cmyk[1] * k / 255);
    rgb[2] = static_cast<uchar>(cmyk[2] * k / 255);
  }
}

// The decoding proper, free of objects with destructors between setjmp and longjmp. `picture`
// is allocated by `allocate` once the size is known; false with `errors.message` on failure.
template <typename Allocate>
bool Decode(std::span<const std::uint8_t> bytes, ErrorManager& errors, JSAMPLE* cmykRow, Allocate allocate,
            QImage*& picture) {
  jpeg_decompress_struct info{};
  jpeg_progress_mgr progress{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.emit_message = OnMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = kMaxDecoderMemory;
  progress.progress_monitor = OnProgress;
  info.progress = &progress;
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  picture = allocate(info.image_width, info.image_height);
  if (!picture) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_start_decompress(&info);
  while (info.output_scanline < info.output_height) {
    uchar* line = picture->scanLine(static_cast<int>(info.output_scanline));
    JSAMPROW row = cmyk ? cmykRow : line;
    jpeg_read_scanlines(&info, &row, 1);
    if (cmyk) CmykRowToRgb(cmykRow, line, info.output_width);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

Expected<QImage> DecodeJpeg(std::span<const std::uint8_t> bytes, ReadWarnings* warnings) {
  if (bytes.size() < 3 || bytes[0] != 0xFF || bytes[1] != 0xD8) return Status::Failure(kNoTextId, "not a JPEG file");
  ErrorManager errors{};
  std::vector<JSAMPLE> cmykRow(kMaxCmykRow * 4);
  QImage result;
  Status refused;
  const auto allocate = [&result, &refused](JDIMENSION width, JDIMENSION height) -> QImage* {
    Expected<QImage> made = MakePicture(static_cast<int>(std::min<JDIMENSION>(width, 1u << 30)),
                                        static_cast<int>(std::min<JDIMENSION>(height, 1u << 30)));
    if (!made) {
      refused = made.status();
      return nullptr;
    }
    result = std::move(*made);
    return &result;
  };
  QImage* picture = nullptr;
  if (!Decode(bytes, errors, cmykRow.data(), allocate, picture)) {
    if (!refused.ok()) return refused;
    return Status::Failure(kNoTextId, std::string("damaged JPEG file: ") + errors.message);
  }
  if (warnings && errors.warnings > 0) {
    for (int i = 0; i < errors.warnings; ++i) warnings->Drop(errors.firstWarning);
  }
  return result;
}

}  // namespace vantorel

// Hostile video files through the decoder: opened, up to 8 frames decoded and scaled, a seek and
// one more frame. A file is refused or decodes; every frame has the size asked for and an
// interval of at least 1 ms. FFmpeg opens files by name, so the bytes go to a file first.

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "codecs/video_decoder.h"

namespace {

const std::string& InputFile() {
  static const std::string name = [] {
    std::string pattern = "/tmp/vantorel-video-fuzz-XXXXXX";
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0) std::abort();
    ::close(descriptor);
    return pattern;
  }();
  return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  std::FILE* out = std::fopen(InputFile().c_str(), "wb");
  if (out == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, out) != size) std::abort();
  std::fclose(out);
  auto decoder = CVideoDecoder::Open(InputFile());
  if (!decoder) return 0;
  if (decoder->Width() < 1 || decoder->Height() < 1 || decoder->FrameCount() < 1) std::abort();
  for (int i = 0; i < 8; ++i) {
    auto frame = decoder->NextFrame(12, 8);
    if (!frame || frame->isNull()) break;
    if (frame->width() != 12 || frame->height() != 8 || decoder->Interval() < 1) std::abort();
  }
  if (decoder->Seek(std::min<std::int64_t>(decoder->FrameCount() - 1, 5))) {
    auto frame = decoder->NextFrame();
    if (frame && !frame->isNull() && (frame->width() < 1 || frame->height() < 1)) std::abort();
  }
  return 0;
}

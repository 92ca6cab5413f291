// Hostile animation files: read, then every frame (up to 16) decoded. A file is refused or read
// whole; a frame decodes to exactly its size or fails; nothing is read outside the bytes.

#include <cstdlib>
#include <vector>

#include "codecs/laf_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  CLafReader reader;
  if (!reader.LoadBytes(std::vector<std::uint8_t>(data, data + size))) {
    if (reader.FrameCount() != 0) std::abort();
    return 0;
  }
  const LafInfo& info = reader.GetInfo();
  for (int i = 0; i < reader.FrameCount() && i < 16; ++i) {
    const auto frame = reader.GetFrameImage(i);
    if (frame && (frame->picture.width() != info.width || frame->picture.height() != info.height)) std::abort();
  }
  return 0;
}

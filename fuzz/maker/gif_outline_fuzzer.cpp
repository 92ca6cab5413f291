// An animation item's GIF file comes from the user: walking its block structure for the frame
// count never reads outside the file and never counts a frame that has no image descriptor.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "maker/picture_file_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  const auto outline = OutlineOfGif(std::span<const std::uint8_t>(data, size));
  if (!outline) return 0;
  // Every frame takes at least its 10-byte image descriptor after the 13-byte header.
  if (outline->frames < 1 || 13 + static_cast<std::size_t>(outline->frames) * 10 > size) std::abort();
  if (outline->width < 0 || outline->width > 0xFFFF || outline->height < 0 || outline->height > 0xFFFF) std::abort();
  return 0;
}

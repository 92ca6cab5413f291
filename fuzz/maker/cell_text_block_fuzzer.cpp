// The formatted-text block of a "Text mode" item is made from its RICHTXT block, which comes from
// playbill files: whatever the block's count claims, the cells taken must lie inside the held bytes,
// and every cell keeps its character bytes in either form.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "maker/cell_text_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  const auto richText = RichTextBlock::FromBytes(std::span<const std::uint8_t>(data, size));
  if (!richText) return 0;
  const std::span<const std::uint8_t> held = richText->Bytes();
  const auto block = MakeCellTextBlock(*richText);
  if (!block) return 0;
  if (held.size() < 3) std::abort();
  const std::size_t inBytes = held[2] == 6 ? 6 : 3;
  const std::size_t outBytes = block->sixByte ? 6 : 3;
  if (block->bytes.empty() || block->bytes[0] != (block->sixByte ? kCellFormSixBytes : kCellFormThreeBytes)) std::abort();
  if ((block->bytes.size() - 1) % outBytes != 0) std::abort();
  const std::size_t cells = (block->bytes.size() - 1) / outBytes;
  if (cells == 0 || cells > (std::size_t{held[0]} | (std::size_t{held[1]} << 8)) || 3 + cells * inBytes > held.size()) std::abort();
  if (block->sixByte && inBytes != 6) std::abort();
  for (std::size_t i = 0; i < cells; ++i) {
    const std::size_t in = 3 + i * inBytes + inBytes - 2;
    const std::size_t out = 1 + i * outBytes + outBytes - 2;
    if (held[in] != block->bytes[out] || held[in + 1] != block->bytes[out + 1]) std::abort();
  }
  return 0;
}

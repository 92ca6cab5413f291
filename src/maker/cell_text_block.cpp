#include "maker/cell_text_block.h"

#include <algorithm>
#include <span>

#include "platform/byte_reader.h"
#include "platform/byte_writer.h"

namespace vantorel {
namespace {

constexpr std::uint8_t kColourBits = 0x70;

// Six-byte cells: red, green, blue, attribute, lead, code.
bool ReducesToThreeBytes(std::span<const std::uint8_t> cells, std::size_t count) {
  const std::uint8_t faceBits = cells[3] & kColourBits;
  for (std::size_t i = 0; i < count; ++i) {
    const auto cell = cells.subspan(i * 6, 6);
    if ((cell[3] & kColourBits) != faceBits) return false;
    for (std::size_t colour = 0; colour < 3; ++colour) {
      if (cell[colour] != 0 && cell[colour] != 0xFF) return false;
    }
  }
  return true;
}

}  // namespace

std::optional<CellTextBlock> MakeCellTextBlock(const RichTextBlock& block) {
  ByteReader in(block.Bytes());
  const std::uint16_t declared = in.U16Le();
  const std::size_t cellBytes = in.U8() == 6 ? 6 : 3;
  if (!in.ok()) return std::nullopt;
  const std::size_t count = std::min<std::size_t>(declared, in.Remaining() / cellBytes);
  if (count == 0) return std::nullopt;
  const std::span<const std::uint8_t> cells = in.Bytes(count * cellBytes);

  CellTextBlock result;
  ByteWriter out(1 + count * cellBytes);
  if (cellBytes == 3) {
    out.U8(kCellFormThreeBytes);
    out.Bytes(cells);
  } else if (ReducesToThreeBytes(cells, count)) {
    out.U8(kCellFormThreeBytes);
    for (std::size_t i = 0; i < count; ++i) {
      const auto cell = cells.subspan(i * 6, 6);
      out.U8(static_cast<std::uint8_t>((cell[3] & ~kColourBits) | (cell[0] != 0 ? 0x10 : 0) |
                                       (cell[1] != 0 ? 0x20 : 0) | (cell[2] != 0 ? 0x40 : 0)));
      out.U8(cell[4]);
      out.U8(cell[5]);
    }
  } else {
    out.U8(kCellFormSixBytes);
    out.Bytes(cells);
    result.sixByte = true;
  }
  result.bytes = std::move(out).Take();
  return result;
}

}  // namespace vantorel

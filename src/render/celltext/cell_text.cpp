#include "render/celltext/cell_text.h"

#include <algorithm>

#include "platform/byte_reader.h"

namespace vantorel {

LedColour CellBitsColour(std::uint8_t style) {
  return ((style & kCellRed) ? 0x0000FFu : 0u) | ((style & kCellGreen) ? 0x00FF00u : 0u) |
         ((style & kCellBlue) ? 0xFF0000u : 0u);
}

CellTextView::CellTextView(std::span<const std::uint8_t> block) {
  if (block.size() < kCellHeaderBytes) return;
  ByteReader header(block);
  const std::size_t declared = header.U16Le();
  m_cellSize = header.U8() == 6 ? 6 : 3;
  m_cells = block.subspan(kCellHeaderBytes);
  m_count = std::min(declared, m_cells.size() / static_cast<std::size_t>(m_cellSize));
}

TextCell CellTextView::At(std::size_t index) const {
  TextCell cell;
  if (index >= m_count) return cell;
  const std::uint8_t* bytes = CellBytes(index);
  if (m_cellSize == 6) {
    cell.colour = bytes[0] | (static_cast<LedColour>(bytes[1]) << 8) | (static_cast<LedColour>(bytes[2]) << 16);
    bytes += 3;
  }
  cell.style = bytes[0];
  cell.lead = bytes[1];
  cell.trail = bytes[2];
  if (m_cellSize == 3) cell.colour = CellBitsColour(cell.style);
  return cell;
}

std::uint16_t CellTextView::CodeAt(std::size_t index) const {
  if (index >= m_count) return 0;
  const std::uint8_t* bytes = CellBytes(index) + m_cellSize - 2;
  return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

std::uint8_t CellTextView::StyleAt(std::size_t index) const {
  if (index >= m_count) return 0;
  return CellBytes(index)[m_cellSize - 3];
}

}  // namespace vantorel

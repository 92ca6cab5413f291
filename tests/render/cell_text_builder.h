#pragma once
// Kind-6 blocks for tests, cell by cell.

#include <cstdint>
#include <string_view>
#include <vector>

#include "playbill/rich_text_block.h"
#include "render/celltext/cell_text.h"

namespace vantorel::test {

class CellBuilder {
public:
  explicit CellBuilder(int cellSize = 3) : m_cellSize(cellSize) {}

  // One cell a byte of `ascii`, all of `style`.
  CellBuilder& Text(std::string_view ascii, std::uint8_t style = 0x10, LedColour colour = 0x0000FF) {
    for (const char c : ascii) Cell(static_cast<std::uint8_t>(c), style, colour);
    return *this;
  }
  CellBuilder& Cell(std::uint16_t code, std::uint8_t style = 0x10, LedColour colour = 0x0000FF) {
    if (m_cellSize == 6) {
      m_bytes.push_back(static_cast<std::uint8_t>(colour & 0xFF));
      m_bytes.push_back(static_cast<std::uint8_t>((colour >> 8) & 0xFF));
      m_bytes.push_back(static_cast<std::uint8_t>((colour >> 16) & 0xFF));
    }
    m_bytes.push_back(style);
    m_bytes.push_back(static_cast<std::uint8_t>(code >> 8));
    m_bytes.push_back(static_cast<std::uint8_t>(code & 0xFF));
    ++m_count;
    return *this;
  }
  // A tab cell carrying `alignment` (0..7) in its style bits 4-6.
  CellBuilder& Tab(int alignment) { return Cell(kCellTab, static_cast<std::uint8_t>(alignment << 4)); }
  CellBuilder& Attribute(std::uint8_t style) { return Cell(kCellLineAttribute, style); }

  // The block: count, cell size, cells, terminating cell.
  RichTextBlock Build() const {
    std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(m_count & 0xFF), static_cast<std::uint8_t>(m_count >> 8),
                                       static_cast<std::uint8_t>(m_cellSize)};
    bytes.insert(bytes.end(), m_bytes.begin(), m_bytes.end());
    bytes.insert(bytes.end(), static_cast<std::size_t>(m_cellSize), 0);
    return RichTextBlock::FromBytes(bytes).value();
  }

private:
  int m_cellSize;
  int m_count = 0;
  std::vector<std::uint8_t> m_bytes;
};

}  // namespace vantorel::test

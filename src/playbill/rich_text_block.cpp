#include "playbill/rich_text_block.h"

#include <algorithm>
#include <new>

namespace vantorel {
namespace {

constexpr int kCellTextKind = 6;
constexpr int kImageModeKind = 8;
constexpr std::size_t kCellHeaderBytes = 3;
constexpr std::size_t kLengthBytes = 4;
constexpr std::uint8_t kRedCellColour = 0x10;  // style bit 4: red at full intensity (cell size 3)

std::uint32_t ReadU16(std::span<const std::uint8_t> bytes) {
  return static_cast<std::uint32_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
         (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

void WriteU16(std::span<std::uint8_t> bytes, std::size_t value) {
  bytes[0] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void WriteU32(std::span<std::uint8_t> bytes, std::size_t value) {
  WriteU16(bytes, value & 0xFFFF);
  WriteU16(bytes.subspan(2), (value >> 16) & 0xFFFF);
}

std::size_t CellBytes(std::uint8_t cellSizeByte) { return cellSizeByte == 6 ? 6 : 3; }

}  // namespace

std::string RichTextBlock::DefaultImageModeText() {
  return "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fnil\\fcharset0 MS Shell Dlg;}}\r\n"
         "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
         "\\viewkind4\\uc1\\pard\\cf1\\lang2052\\f0\\fs24 Welcome\\fs32\\par\r\n"
         "}\r\n";
}

std::optional<RichTextBlock> RichTextBlock::Zeroed(std::size_t size) {
  try {
    return RichTextBlock(std::vector<std::uint8_t>(size, 0));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::optional<RichTextBlock> RichTextBlock::FromBytes(std::span<const std::uint8_t> bytes) {
  bytes = bytes.first(std::min(bytes.size(), kMaxBytes));
  auto block = Zeroed(bytes.size());
  if (block) std::copy(bytes.begin(), bytes.end(), block->m_bytes.begin());
  return block;
}

std::optional<RichTextBlock> RichTextBlock::NewImageModeText() {
  auto block = Zeroed(kNewBlockBytes);
  if (!block) return block;
  const std::string content = DefaultImageModeText() + "\r\n";  // the two zero bytes after it are already there
  std::span<std::uint8_t> bytes = block->m_bytes;
  WriteU32(bytes, content.size());
  std::copy(content.begin(), content.end(), bytes.begin() + kLengthBytes);
  return block;
}

int RichTextBlock::SizeIndexOf(int dotHeight) {
  static constexpr int kHeights[] = {8, 12, 16, 24, 32, 40, 48, 56};
  const auto* found = std::find(std::begin(kHeights), std::end(kHeights), dotHeight);
  return found == std::end(kHeights) ? 2 : static_cast<int>(found - std::begin(kHeights));
}

std::optional<RichTextBlock> RichTextBlock::NewCellText(int textSize) {
  auto block = Zeroed(kNewBlockBytes);
  if (!block) return block;
  static constexpr std::string_view kText = "Welcome";
  const auto style = static_cast<std::uint8_t>(SizeIndexOf(textSize) | kRedCellColour);
  std::span<std::uint8_t> bytes = block->m_bytes;
  WriteU16(bytes, kText.size());
  bytes[2] = 3;
  std::size_t at = kCellHeaderBytes;
  for (char c : kText) {
    bytes[at] = style;
    bytes[at + 1] = 0;
    bytes[at + 2] = static_cast<std::uint8_t>(c);
    at += 3;
  }
  // The terminating zero cell follows; the block is zeroed.
  return block;
}

std::optional<std::uint64_t> RichTextBlock::DeclaredSize(int kind) const {
  if (kind == kCellTextKind && m_bytes.size() >= kCellHeaderBytes) {
    return std::uint64_t{ReadU16(m_bytes)} * CellBytes(m_bytes[2]) + kCellHeaderBytes;
  }
  if (kind == kImageModeKind && m_bytes.size() >= kLengthBytes) {
    return std::uint64_t{ReadU32(m_bytes)} + kLengthBytes;
  }
  return std::nullopt;
}

std::size_t RichTextBlock::StoredSize(int kind) const {
  const auto declared = DeclaredSize(kind);
  if (!declared) return m_bytes.size();
  return static_cast<std::size_t>(std::min<std::uint64_t>(*declared, m_bytes.size()));
}

std::string RichTextBlock::CellText() const {
  std::string text;
  if (m_bytes.size() < kCellHeaderBytes) return text;
  const std::size_t cellBytes = CellBytes(m_bytes[2]);
  const std::size_t held = (m_bytes.size() - kCellHeaderBytes) / cellBytes;
  const std::size_t count = std::min<std::size_t>(ReadU16(m_bytes), held);
  // The lead and trail bytes are the last two bytes of a cell in both cell sizes.
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = kCellHeaderBytes + i * cellBytes + cellBytes - 2;
    const std::uint8_t lead = m_bytes[at];
    const std::uint8_t code = m_bytes[at + 1];
    if (lead == 0 && code == 0) break;
    if (lead != 0) {
      text.push_back(static_cast<char>(lead));
      text.push_back(static_cast<char>(code));
    } else if (code == 13 || code == 10) {
      if (!text.empty() && text.back() != ' ') text.push_back(' ');
    } else if (code > 31) {
      text.push_back(static_cast<char>(code));
    }
  }
  if (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace vantorel

#include "playbill/rich_text_block.h"

#include <algorithm>
#include <new>

#include "platform/byte_reader.h"
#include "platform/byte_writer.h"

namespace vantorel {
namespace {

constexpr int kCellTextKind = 6;
constexpr int kImageModeKind = 8;
constexpr std::size_t kCellHeaderBytes = 3;
constexpr std::size_t kLengthBytes = 4;
constexpr std::uint8_t kRedCellColour = 0x10;  // style bit 4: red at full intensity (cell size 3)

std::size_t CellBytes(std::uint8_t cellSizeByte) { return cellSizeByte == 6 ? 6 : 3; }

}  // namespace

std::string RichTextBlock::DefaultImageModeText() { return ImageModeDocument("Welcome", 0x0000FF); }

std::string RichTextBlock::ImageModeDocument(std::string_view text, std::uint32_t colour) {
  std::string body;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\\' || c == '{' || c == '}') {
      body += '\\';
      body += static_cast<char>(c);
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      body += "\\par ";
    } else if (c < 0x80) {
      body += static_cast<char>(c);
    } else {
      // A UTF-8 character as a Unicode escape with "?" for readers that know no Unicode.
      const std::size_t extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
      char32_t code = c & (0x3F >> extra);
      for (std::size_t k = 0; k < extra && i + 1 < text.size(); ++k) code = (code << 6) | (text[++i] & 0x3F);
      body += code > 0xFFFF ? std::string("?") : "\\u" + std::to_string(static_cast<std::int16_t>(code)) + "?";
    }
  }
  return "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fnil\\fcharset0 MS Shell Dlg;}}\r\n"
         "{\\colortbl ;\\red" + std::to_string(colour & 0xFF) + "\\green" + std::to_string((colour >> 8) & 0xFF) +
         "\\blue" + std::to_string((colour >> 16) & 0xFF) + ";}\r\n"
         "\\viewkind4\\uc1\\pard\\cf1\\lang2052\\f0\\fs24 " + body + "\\fs32\\par\r\n"
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

void RichTextBlock::PutImageModeText(std::string_view document) {
  // The two zero bytes after the content are already there: blocks start zeroed.
  const std::string content = std::string(document) + "\r\n";
  StoreU32Le(m_bytes, static_cast<std::uint32_t>(content.size()));
  std::copy(content.begin(), content.end(), m_bytes.begin() + kLengthBytes);
}

void RichTextBlock::PutCells(std::string_view text, std::uint8_t style) {
  StoreU16Le(m_bytes, static_cast<std::uint16_t>(text.size()));
  m_bytes[2] = 3;
  std::size_t at = kCellHeaderBytes;
  for (char c : text) {
    m_bytes[at] = style;
    m_bytes[at + 1] = 0;
    m_bytes[at + 2] = static_cast<std::uint8_t>(c);
    at += 3;
  }
  // The terminating zero cell follows; blocks start zeroed.
}

std::optional<RichTextBlock> RichTextBlock::NewImageModeText() {
  auto block = Zeroed(kNewBlockBytes);
  if (block) block->PutImageModeText(DefaultImageModeText());
  return block;
}

std::optional<RichTextBlock> RichTextBlock::ImageModeText(std::string_view document) {
  // Length, document, CR LF and two zero bytes, within what a block may hold.
  if (document.size() + kLengthBytes + 4 > kMaxBytes) return std::nullopt;
  auto block = Zeroed(document.size() + kLengthBytes + 4);
  if (block) block->PutImageModeText(document);
  return block;
}

std::optional<RichTextBlock> RichTextBlock::CellTextOf(std::string_view text, std::uint8_t style) {
  // The cells and the terminating cell, within what a block may hold.
  if ((text.size() + 1) * 3 + kCellHeaderBytes > kMaxBytes) return std::nullopt;
  auto block = Zeroed((text.size() + 1) * 3 + kCellHeaderBytes);
  if (block) block->PutCells(text, style);
  return block;
}

std::size_t RichTextBlock::CellCapacity(std::size_t bufferSize, std::size_t cellBytes) {
  const std::size_t buffer = std::min(bufferSize, kMaxBytes);
  if (cellBytes == 0 || buffer < kCellHeaderBytes + cellBytes) return 0;
  return std::min<std::size_t>((buffer - kCellHeaderBytes - cellBytes) / cellBytes, 0xFFFF);
}

int RichTextBlock::SizeIndexOf(int dotHeight) {
  static constexpr int kHeights[] = {8, 12, 16, 24, 32, 40, 48, 56};
  const auto* found = std::find(std::begin(kHeights), std::end(kHeights), dotHeight);
  return found == std::end(kHeights) ? 2 : static_cast<int>(found - std::begin(kHeights));
}

std::optional<RichTextBlock> RichTextBlock::NewCellText(int textSize) {
  auto block = Zeroed(kNewBlockBytes);
  if (block) block->PutCells("Welcome", static_cast<std::uint8_t>(SizeIndexOf(textSize) | kRedCellColour));
  return block;
}

std::optional<std::uint64_t> RichTextBlock::DeclaredSize(int kind) const {
  if (kind == kCellTextKind && m_bytes.size() >= kCellHeaderBytes) {
    return std::uint64_t{ReadU16Le(m_bytes)} * CellBytes(m_bytes[2]) + kCellHeaderBytes;
  }
  if (kind == kImageModeKind && m_bytes.size() >= kLengthBytes) {
    return std::uint64_t{ReadU32Le(m_bytes)} + kLengthBytes;
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
  const std::size_t count = std::min<std::size_t>(ReadU16Le(m_bytes), held);
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

#include "render/celltext/styled_cells.h"

#include <algorithm>
#include <string>

#include "platform/byte_writer.h"
#include "render/celltext/cell_text.h"
#include "render/font_text_encoding.h"

namespace vantorel {
namespace {

constexpr std::uint32_t kRgbMask = 0xFFFFFF;
constexpr std::uint32_t kPureRed = 0x0000FF;
constexpr std::uint8_t kSpace = 32;
constexpr std::uint8_t kDegreeCode = 127;  // the fonts' built-in degree sign

bool IsLineEnd(char32_t character) {
  return character == 13 || character == 10 || character == 0x2028 || character == 0x2029;
}

// The cell codes of one character: one code (a byte, or lead x 256 + trail), or with the
// extended-ASCII code page one code a byte. `shownCharacter` becomes what the cells show.
std::vector<std::uint16_t> CodesOf(char32_t character, int codePage, char32_t& shownCharacter) {
  shownCharacter = character;
  if (IsLineEnd(character)) {
    shownCharacter = 13;
    return {13};
  }
  std::optional<std::string> bytes = EncodeCharacter(character, codePage);
  if (!bytes) {
    shownCharacter = '?';
    bytes = "?";
  }
  std::vector<std::uint16_t> codes;
  if (codePage == kCodePageAsciiEx) {
    // Every byte is kept, but a zero byte would end the text.
    for (const char byte : *bytes) codes.push_back(byte == 0 ? kSpace : static_cast<std::uint8_t>(byte));
    if (codes.size() == 1 && codes[0] == kSpace) shownCharacter = ' ';
    return codes;
  }
  if (bytes->size() == 2) {
    const auto code =
        static_cast<std::uint16_t>(static_cast<std::uint8_t>((*bytes)[0]) << 8 | static_cast<std::uint8_t>((*bytes)[1]));
    // A stand-in (a full-width form) shows as itself.
    shownCharacter = DecodeCharacter(code, codePage).value_or(character);
    return {code};
  }
  const auto byte = static_cast<std::uint8_t>((*bytes)[0]);
  if ((byte >= 32 && byte <= 126) || byte == kDegreeCode) return {byte};
  shownCharacter = ' ';
  return {kSpace};
}

struct CellLook {
  std::uint8_t style;
  std::uint32_t colour;     // cell size 6: stored whole
  StyledChar shown;
};

CellLook LookOf(const StyledChar& character, bool doubleByte, const CellTextSettings& settings) {
  int sizeIndex = SizeToIndex(character.pointSize);
  if (doubleByte && (settings.extSizeMask & (1u << sizeIndex)) == 0) sizeIndex = 2;
  const std::uint32_t foreground = character.foreground & kRgbMask;
  const std::uint32_t background = character.background & kRgbMask;
  const bool inverse = foreground == 0 && background != 0;
  std::uint32_t colour = inverse ? background : foreground;
  std::uint8_t style = static_cast<std::uint8_t>(sizeIndex | (inverse ? kCellInverse : 0));
  if (settings.cellSize == 6) {
    if (colour == 0) colour = kPureRed;
    style = static_cast<std::uint8_t>(style | (settings.faceBits & kCellHighBits));
  } else {
    std::uint8_t bits = static_cast<std::uint8_t>(((colour & 0x0000FF) ? kCellRed : 0) |
                                                  ((colour & 0x00FF00) ? kCellGreen : 0) |
                                                  ((colour & 0xFF0000) ? kCellBlue : 0));
    if (bits == 0) bits = kCellRed;
    style = static_cast<std::uint8_t>(style | bits);
    colour = CellBitsColour(style);
  }
  StyledChar shown = character;
  shown.pointSize = IndexToSize(sizeIndex);
  shown.foreground = inverse ? 0 : colour;
  shown.background = inverse ? colour : 0;
  return {style, colour, shown};
}

void PutCell(ByteWriter& out, int cellSize, std::uint8_t style, std::uint32_t colour, std::uint16_t code) {
  if (cellSize == 6) {
    out.U8(static_cast<std::uint8_t>(colour & 0xFF));
    out.U8(static_cast<std::uint8_t>((colour >> 8) & 0xFF));
    out.U8(static_cast<std::uint8_t>((colour >> 16) & 0xFF));
  }
  out.U8(style);
  out.U8(static_cast<std::uint8_t>(code >> 8));
  out.U8(static_cast<std::uint8_t>(code & 0xFF));
}

}  // namespace

CellConversion ConvertToCells(std::span<const StyledChar> text, const CellTextSettings& requested,
                              std::size_t bufferSize) {
  CellTextSettings settings = requested;
  settings.cellSize = settings.cellSize == 6 ? 6 : 3;
  const auto cellBytes = static_cast<std::size_t>(settings.cellSize);
  CellConversion result;
  if (std::min(bufferSize, RichTextBlock::kMaxBytes) < kCellHeaderBytes + cellBytes) return result;
  const std::size_t capacity = RichTextBlock::CellCapacity(bufferSize, cellBytes);

  ByteWriter cells;
  std::size_t count = 0;
  for (const StyledChar& character : text) {
    char32_t shownCharacter = 0;
    const std::vector<std::uint16_t> codes = CodesOf(character.character, settings.codePage, shownCharacter);
    if (count + codes.size() > capacity) break;
    const bool doubleByte = codes.size() == 1 && codes[0] > 0xFF;
    CellLook look = LookOf(character, doubleByte, settings);
    for (const std::uint16_t code : codes) PutCell(cells, settings.cellSize, look.style, look.colour, code);
    count += codes.size();
    look.shown.character = shownCharacter;
    result.shown.push_back(look.shown);
  }

  ByteWriter out(kCellHeaderBytes + cells.Size() + cellBytes);
  out.U16Le(static_cast<std::uint16_t>(count));
  out.U8(static_cast<std::uint8_t>(cellBytes));
  out.Bytes(cells.View());
  out.Fill(cellBytes);  // the terminating cell
  result.block = RichTextBlock::FromBytes(out.View());
  if (!result.block) result.shown.clear();
  return result;
}

std::vector<StyledChar> CellsToStyledChars(const RichTextBlock& block, int codePage) {
  const CellTextView cells(block);
  std::vector<StyledChar> text;
  for (std::size_t i = 0; i < cells.Count(); ++i) {
    const TextCell cell = cells.At(i);
    const std::uint16_t code = cell.Code();
    if (code == 0) break;
    StyledChar character;
    if (cell.IsLineEnd()) {
      if (code == kCellLineFeed && i > 0 && cells.CodeAt(i - 1) == kCellLineEnd) continue;
      character.character = 13;
    } else if (code < 32) {
      character.character = code;  // a control cell (tab, line attribute) as it is
    } else {
      character.character = DecodeCharacter(code, codePage).value_or(U'?');
    }
    character.pointSize = IndexToSize(cell.SizeIndex());
    character.foreground = cell.Inverse() ? 0 : cell.colour;
    character.background = cell.Inverse() ? cell.colour : 0;
    text.push_back(character);
  }
  return text;
}

}  // namespace vantorel

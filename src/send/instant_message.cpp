#include "send/instant_message.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <string>

#include "app/text_format.h"
#include "app/text_ids.h"
#include "platform/byte_writer.h"

namespace vantorel {

namespace {

constexpr std::size_t kSumFirst = 3;
constexpr std::size_t kSumEnd = kInstantMessageHeaderSize;  // bytes 3-21

constexpr std::uint16_t Rgb565(unsigned red, unsigned green, unsigned blue) {
  return static_cast<std::uint16_t>(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
}

struct NamedColour {
  std::string_view name;
  std::uint16_t value;
};
constexpr std::array<NamedColour, 7> kColours{{{"red", Rgb565(255, 0, 0)},
                                               {"green", Rgb565(0, 255, 0)},
                                               {"yellow", Rgb565(255, 255, 0)},
                                               {"blue", Rgb565(0, 0, 255)},
                                               {"cyan", Rgb565(0, 255, 255)},
                                               {"magenta", Rgb565(255, 0, 255)},
                                               {"white", Rgb565(255, 255, 255)}}};

constexpr std::array<int, kMaxSizeCode + 1> kSizeDots{8, 12, 16, 24, 32, 40, 48, 56};

}  // namespace

Expected<std::vector<std::uint8_t>> InstantMessageBlock(const InstantMessage& message,
                                                        std::span<const std::uint8_t> text) {
  if (text.size() > kMaxInstantMessageText) {
    return Status::Failure(kTextFailed, FormatText("instant message of %zu bytes: at most %zu", text.size(),
                                                   kMaxInstantMessageText));
  }
  if (message.sizeCode < 0 || message.sizeCode > kMaxSizeCode) {
    return Status::Failure(kTextFailed, FormatText("instant message size code %d: 0 to %d", message.sizeCode,
                                                   kMaxSizeCode));
  }
  const int speed = std::clamp(message.speed, 1, 100);
  std::uint8_t size = static_cast<std::uint8_t>(message.sizeCode);
  if (message.bold) size |= kStyleBold;
  if (message.italic) size |= kStyleItalic;
  if (message.underline) size |= kStyleUnderline;

  ByteWriter out(kInstantMessageHeaderSize + text.size());
  out.U8(kInstantMessageMark);
  out.U16Be(0);  // sum, known below
  out.U8(message.loops);
  out.Fill(4);
  out.U16Be(message.width);
  out.U16Be(message.height);
  out.U8(size);
  out.Fill(3);
  out.U16Be(message.colour);
  out.U8(static_cast<std::uint8_t>(100 - speed));
  out.U8(message.stay);
  out.U16Be(static_cast<std::uint16_t>(text.size()));
  out.Bytes(text);
  std::vector<std::uint8_t> block = std::move(out).Take();

  unsigned sum = 0;
  for (std::size_t i = kSumFirst; i < kSumEnd; ++i) sum += block[i];
  block[1] = static_cast<std::uint8_t>((sum >> 8) & 0xFF);
  block[2] = static_cast<std::uint8_t>(sum & 0xFF);
  return block;
}

std::vector<MessagePiece> MessagePieces(std::span<const std::uint8_t> block) {
  std::vector<MessagePiece> pieces;
  for (std::size_t offset = 0; offset < block.size(); offset += kInstantMessagePieceSize) {
    const std::size_t length = std::min(kInstantMessagePieceSize, block.size() - offset);
    const bool last = offset + length == block.size();
    pieces.push_back({block.subspan(offset, length), static_cast<std::uint16_t>(offset),
                      last ? kPieceFlagLast : kPieceFlagMore});
  }
  return pieces;
}

std::optional<std::uint16_t> MessageColourOf(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  for (const NamedColour& colour : kColours) {
    if (colour.name == lower) return colour.value;
  }
  if (lower.size() != 7 || lower[0] != '#') return std::nullopt;
  unsigned rgb = 0;
  const auto [end, error] = std::from_chars(lower.data() + 1, lower.data() + lower.size(), rgb, 16);
  if (error != std::errc() || end != lower.data() + lower.size()) return std::nullopt;
  return Rgb565((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

std::optional<int> MessageSizeCodeOf(int dots) {
  const auto* found = std::find(kSizeDots.begin(), kSizeDots.end(), dots);
  if (found == kSizeDots.end()) return std::nullopt;
  return static_cast<int>(found - kSizeDots.begin());
}

}  // namespace vantorel

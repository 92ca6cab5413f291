#pragma once
// The block of "Send instant message" and the pieces it travels in.
//
// Block (at most 6,144 bytes, all numbers high byte first):
//   0      119
//   1-2    16-bit sum of bytes 3-21
//   3      loop count
//   4-7    0
//   8-11   screen width, screen height
//   12     size code (the font size index: 0 = 8 dots, 1 = 12, 2 = 16, 3 = 24, 4 = 32, 5 = 40,
//          6 = 48, 7 = 56) plus 0x10 bold, 0x20 italic, 0x40 underline
//   13-15  0
//   16-17  colour value (RGB 5-6-5 of the chosen colour)
//   18     100 − speed (speed held at 1-100)
//   19     stay time in seconds
//   20-21  text length (at most 6,122)
//   22-    the text, in the code page of the screen's fonts
// It goes out in pieces of 128 bytes (the last one shorter), each with its offset in the block
// and the flag 17 for the last piece, 1 for the others.
//
// Pure functions, safe on any thread.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace vantorel {

inline constexpr std::uint8_t kInstantMessageMark = 119;
inline constexpr std::size_t kInstantMessageHeaderSize = 22;
inline constexpr std::size_t kMaxInstantMessageBlock = 6144;
inline constexpr std::size_t kMaxInstantMessageText = kMaxInstantMessageBlock - kInstantMessageHeaderSize;
inline constexpr std::size_t kInstantMessagePieceSize = 128;
inline constexpr std::uint8_t kPieceFlagMore = 1;
inline constexpr std::uint8_t kPieceFlagLast = 17;
inline constexpr int kMaxSizeCode = 7;

inline constexpr std::uint8_t kStyleBold = 0x10;
inline constexpr std::uint8_t kStyleItalic = 0x20;
inline constexpr std::uint8_t kStyleUnderline = 0x40;

struct InstantMessage {
  std::uint8_t loops = 1;
  std::uint16_t width = 0;        // of the target screen
  std::uint16_t height = 0;
  int sizeCode = 2;               // 16 dots
  bool bold = false;
  bool italic = false;
  bool underline = false;
  std::uint16_t colour = 0xF800;  // red
  int speed = 50;                 // 1-100, held there
  std::uint8_t stay = 3;          // seconds
};

// The block of `message` with `text` (already in the screen's code page). kTextFailed when the
// text is longer than 6,122 bytes or the size code is outside 0-7.
Expected<std::vector<std::uint8_t>> InstantMessageBlock(const InstantMessage& message, std::span<const std::uint8_t> text);

struct MessagePiece {
  std::span<const std::uint8_t> bytes;  // inside the block
  std::uint16_t offset = 0;
  std::uint8_t flag = kPieceFlagMore;
};
// The pieces `block` is sent in, in order (none for an empty block).
std::vector<MessagePiece> MessagePieces(std::span<const std::uint8_t> block);

// The colour value of a name ("red", "green", "yellow", "blue", "cyan", "magenta", "white") or of
// "#RRGGBB"; nothing for anything else.
std::optional<std::uint16_t> MessageColourOf(std::string_view name);
// The size code of a font height in dots (8, 12, 16, 24, 32, 40, 48, 56); nothing for others.
std::optional<int> MessageSizeCodeOf(int dots);

}  // namespace vantorel

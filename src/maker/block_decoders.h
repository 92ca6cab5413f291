#pragma once
// Decoders of the data blocks of a program file that hold pictures, text or cells, for the
// inspector and the tests: picture pages (type 1) and animation frames (type 4) become QImages
// (RGB888, the present planes combined: a lit 1-bit pixel is 255 in its colour, a grey byte its
// intensity), texts (types 2, 5, 6, 9, 13 and the "LAF:" / "VDF:" references) their bytes up to the
// terminator, formatted text (type 3) its cells.
//
// Sizes are checked against the block's own length before anything is allocated: a width and
// height that the block cannot hold is a failure naming the offset, never an allocation.
//
// Pure functions, safe on any thread.

#include <QImage>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/status.h"

namespace vantorel {

inline constexpr std::size_t kPicturePagesHeaderBytes = 10;
inline constexpr std::size_t kAnimationFrameHeaderBytes = 10;

// The planes a colour mode stores: red for bit 0, green for bit 1, blue for bit 2.
int PresentPlaneCount(std::uint8_t colourMode);
// Bytes of one plane of a w x h picture: a byte per pixel when the mode has grey levels (bits 4-6),
// else a bit per pixel, rows rounded up to whole bytes.
std::uint64_t PicturePlaneBytes(std::uint16_t width, std::uint16_t height, std::uint8_t colourMode);

struct PicturePages {
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::array<std::uint16_t, 3> planePages{};  // pages stored for red, green, blue
  std::vector<QImage> pages;
};

// Every page of the present planes of `colourMode` (the screen's); the counts of the present
// planes must agree, those of absent planes be 0, and the block hold exactly the pages.
Expected<PicturePages> DecodePicturePages(std::span<const std::uint8_t> block, std::uint8_t colourMode);

struct DecodedFrame {
  int delayMs = 0;  // stored in units of 10 ms
  std::uint8_t colourMode = 0;
  QImage picture;
};

// Frames back to back up to the end of the block, each with its own size and colour mode.
Expected<std::vector<DecodedFrame>> DecodeAnimationFrames(std::span<const std::uint8_t> block);

// The bytes before the first zero byte; nothing when there is none.
std::optional<std::string> TerminatedText(std::span<const std::uint8_t> block);

struct TextCell {
  std::uint8_t red = 0, green = 0, blue = 0;  // form 4 only
  std::uint8_t attribute = 0;                 // bits 0-2 size, 3 inverse, 4-6 red, green, blue
  std::uint16_t character = 0;                // the two character bytes, the first one high
};

struct DecodedCellText {
  std::uint8_t form = 0;  // 1: three bytes a cell, 4: six
  std::vector<TextCell> cells;
};

Expected<DecodedCellText> DecodeCellText(std::span<const std::uint8_t> block);

}  // namespace vantorel

#pragma once
// The data blocks of drawn pages for a screen's colour mode: picture pages (block type 1) and
// animation frames (block type 4).
//
// A page is stored as its colour planes in the order red, green, blue, only the planes of the
// colour mode (bit 0 red, bit 1 green, bit 2 blue). With grey levels (bits 4-6 of the mode not 0)
// a plane row holds a byte a pixel, the colour's intensity; otherwise a bit a pixel, the leftmost
// pixel in the most significant bit, rows rounded up to whole bytes, lit from
// CLedBitmap::kLitThreshold on. Pages are turned into bytes as they are added; no bitmap is kept.
//
// A block belongs to one thread at a time.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/byte_writer.h"
#include "platform/status.h"
#include "render/led_bitmap.h"

namespace vantorel {

// The most pages or frames one block counts (a 16-bit count).
inline constexpr int kMaxBlockPages = 0xFFFF;

// The bytes of one page's planes for a window of width x height in `colourMode`.
std::size_t PageBytes(int width, int height, std::uint16_t colourMode);

// Picture pages: u16 width, u16 height, u16 page counts for the red, green and blue planes (the
// number of pages for a plane of the mode, 0 for the others), then the pages.
class CPicturePagesBlock {
public:
  CPicturePagesBlock(int width, int height, std::uint16_t colourMode);

  // Appends the planes of `page`. A page of another size than the block's, a 65536th page, a page
  // that would take the block past kMaxBlockLength (maker/program_file_writer.h) or a window side
  // past 65535 is refused and nothing is added.
  Status AddPage(const CLedBitmap& page);
  int PageCount() const { return m_pages; }
  std::vector<std::uint8_t> TakeBytes() &&;

private:
  int m_width;
  int m_height;
  std::uint16_t m_colourMode;
  int m_pages = 0;
  ByteWriter m_out;
};

// Animation frames: for every stored frame u8 delay in 10 ms, u32 zero, u16 width, u16 height,
// u8 colour mode, then the frame's planes as one page.
class CAnimationFramesBlock {
public:
  CAnimationFramesBlock(int width, int height, std::uint16_t colourMode);

  // Appends `frame` staying `delayMs` (above 2550 ms stored as 255). A frame of delay 0 or less is
  // left out and gives success; refusals as for picture pages.
  Status AddFrame(const CLedBitmap& frame, int delayMs);
  int StoredFrames() const { return m_frames; }
  std::vector<std::uint8_t> TakeBytes() &&;

private:
  int m_width;
  int m_height;
  std::uint16_t m_colourMode;
  int m_frames = 0;
  ByteWriter m_out;
};

}  // namespace vantorel

#pragma once
// The GIF files that picture-file blocks carry: drawn pages as one full-colour GIF, a frame a page
// (block type 8), and an animation item's own GIF file, rescaled to its window when it is larger
// than the window in both directions (block type 7).
//
// The frames of a file made from pages stay 1 s each and loop for ever; a single page makes a
// one-frame file without a delay or a loop count. A rescaled animation keeps its frame delays and
// loop count. Everything happens in memory; no temporary file is written.
//
// Pure functions, safe on any thread.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "platform/status.h"
#include "render/led_bitmap.h"

namespace vantorel {

// How long each frame of a file made from several pages stays.
inline constexpr int kPictureFilePageDelayMs = 1000;

// Whether the pages of an item go into its picture file last first: the effects that scroll to the
// right (the low 15 bits of SHOWTYPE are 12 or 15).
bool ReversesPages(std::uint16_t showType);

// One GIF file of `pages` (all of one size), a frame a page, last first when `reversed`.
Expected<std::vector<std::uint8_t>> PictureFileOfPages(std::span<const CLedBitmap> pages, bool reversed);

// The size (the logical screen) and the frame count of a GIF file, read from its block structure
// without decoding a pixel. A frame counts once its image descriptor is whole; a file cut short
// counts the frames begun. Nothing for a file that is no GIF or holds no frame.
struct GifOutline {
  int width = 0;
  int height = 0;
  int frames = 0;
};
std::optional<GifOutline> OutlineOfGif(std::span<const std::uint8_t> bytes);

struct GifAnimationBlock {
  std::vector<std::uint8_t> bytes;  // a complete GIF file
  int frames = 0;
  int width = 0;   // the size of the file's frames
  int height = 0;
};

// The GIF file `gif` for a window of windowWidth x windowHeight: its own bytes when it is at most
// as wide or at most as high as the window (counted by OutlineOfGif, not decoded); otherwise every
// frame placed into the window's size by the low four bits of `showMode` (render/place_picture.h)
// and encoded again.
Expected<GifAnimationBlock> GifAnimationFile(const std::filesystem::path& gif, int windowWidth, int windowHeight,
                                             std::uint16_t showMode);

}  // namespace vantorel

#pragma once
// GIF files through giflib: reading every frame (or only the first, for stills) with its delay,
// disposal method and transparency applied, and writing single- and multi-frame files.

#include <QImage>

#include <cstdint>
#include <span>
#include <vector>

#include "codecs/animation.h"
#include "platform/status.h"

namespace vantorel {

// All frames when `maxFrames` is 0. A file cut short, or one whose frames together would pass the
// pixel budget, gives the frames read so far and a warning; a file without any frame a failure.
Expected<Animation> DecodeGif(std::span<const std::uint8_t> bytes, std::size_t maxFrames = 0,
                              ReadWarnings* warnings = nullptr);

// The first frame of a GIF file.
Expected<QImage> DecodeGifPicture(std::span<const std::uint8_t> bytes, ReadWarnings* warnings = nullptr);

// A GIF file of the frames (all of the first frame's size), each reduced to at most 256 colours,
// with their delays (rounded to hundredths of a second) and a loop count when there is more than
// one frame.
Expected<std::vector<std::uint8_t>> EncodeGif(const Animation& animation);

}  // namespace vantorel

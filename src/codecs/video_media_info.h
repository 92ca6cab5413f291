#pragma once
// What a video file says about itself, read from its container alone (no frame is decoded): the
// picture size, the bit rate, the frame rate as a fraction, the duration and the frame count. The
// video conversion plan decides from these whether a video is converted for a window.

#include <cstdint>
#include <filesystem>

#include "platform/status.h"

namespace vantorel {

// The largest picture side taken (a file claiming more is refused before a frame is decoded).
inline constexpr int kVideoMaxSide = 8192;

struct VideoMediaInfo {
  int width = 0;
  int height = 0;
  std::int64_t bitRate = 0;  // bits a second: the video stream's, else the whole file's; 0 unknown
  int frameRateNum = 0;      // frames a second = frameRateNum / frameRateDen; never a 0 denominator
  int frameRateDen = 1;
  std::int64_t durationMs = 0;
  std::int64_t frameCount = 0;  // the stream's count, else duration x frame rate, rounded
};

// Fails (no text of its own: the caller names what was being read) for a file that cannot be
// opened, holds no video stream, or gives its video a size of 0 (or a side above kVideoMaxSide),
// a frame rate of 0 or no frames.
Expected<VideoMediaInfo> ReadVideoMediaInfo(const std::filesystem::path& file);

}  // namespace vantorel

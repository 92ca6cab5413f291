#pragma once
// The data a video or animation item gives the controller: an animation file for the window,
// made from a video frame by frame (frames merged until more than 49 ms have passed, so that no
// frame is shorter than 50 ms), or re-rendered from an animation file; a Flash movie is made from
// the animation file of the same name. A small result travels inside the item's data; a large
// one stays a file of its own, named in the data and listed for sending.
//
// Pure function of its arguments and the files, safe on any thread.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/status.h"
#include "playbill/prg_item.h"

namespace vantorel {

inline constexpr std::uint8_t kItemDataAnimation = 0x0B;  // item data type of animation files
inline constexpr std::uintmax_t kEmbedLimit = 524288;    // bytes; a larger animation travels as a file
inline constexpr int kMergeUpToMs = 49;                   // video frames merge until this is passed

struct ControllerAnimation {
  std::vector<std::uint8_t> data;  // the file's content, or "LAF:" and the file's name
  std::uint32_t code = std::uint32_t{kItemDataAnimation} << 24;  // data length in bits 0-23, type in 24-31
  int frames = -1;  // frames written; -1 when nothing was made
  Status failure;   // why nothing was made
};

// Makes the animation of `item` (its MEDIA file, relative to `mediaFolder` when not absolute, and
// its display mode) for a window of width x height in `colourMode` at `outputPath`, deleting any
// file there first, and decides with EmbedOrReference what the item data is.
ControllerAnimation MakeControllerAnimation(const tagItemPart& item, int width, int height, std::uint16_t colourMode,
                                            const std::filesystem::path& outputPath,
                                            const std::filesystem::path& largeFileList,
                                            const std::filesystem::path& mediaFolder = {});

// The item data of the finished animation file `output` with `frames` frames: at most
// kEmbedLimit bytes, the whole content (and the file is deleted); larger, "LAF:" and its file
// name, and its full path is appended as one line to `largeFileList`.
ControllerAnimation EmbedOrReference(const std::filesystem::path& output, const std::filesystem::path& largeFileList,
                                     int frames);

}  // namespace vantorel

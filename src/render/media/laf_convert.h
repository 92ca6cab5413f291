#pragma once
// Re-rendering a moving picture as an animation file (".laf") for a window: another size, colour
// mode and display mode. Each frame of the source is placed into an LED bitmap of the window's
// size by the display mode (PlacePicture) and written with its duration. The source is read and
// the target written one frame at a time; the target appears only when it is whole, so a failure
// leaves no half file (and an earlier target as it was).
//
// Pure functions of their arguments and the files, safe on any thread.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "platform/status.h"

namespace vantorel {

// Told the share of the source done, 0..100, each time it grows.
using ConvertProgress = std::function<void(int percent)>;

// `source` is an animation file or a video (by its extension). Failures: kTextNotAMovie for
// another file, kTextAnimationFileUnreadable or kTextVideoUnreadable for a source that cannot
// be read, kTextNoMovieFrames when it gives no frame, kTextAnimationNotWritten when the target
// cannot be written; the detail says which file and why.
Status Laf_ConvertLafFile(const std::filesystem::path& destination, int width, int height, std::uint16_t colourMode,
                          int placementMode, const std::filesystem::path& source, const ConvertProgress& progress = {});

// The same, giving the number of frames written. Video frames are merged: the durations of
// frames add up until they exceed `mergeUpToMs`, and then the latest frame is written with the
// sum; a last frame left with at least 1 ms is written too. 0 writes every frame of a video.
// Setting `*cancel` (from another thread) stops before the next frame with
// kTextConversionCancelled; the destination is then left as it was.
Expected<int> ConvertToLaf(const std::filesystem::path& destination, int width, int height, std::uint16_t colourMode,
                           int placementMode, const std::filesystem::path& source, int mergeUpToMs = 0,
                           const ConvertProgress& progress = {}, const std::atomic<bool>* cancel = nullptr);

}  // namespace vantorel

#pragma once
// Whether a video item is re-encoded for its window before it goes to a controller that plays
// videos itself, and how: not at all (the video is small enough, or cannot be converted), with
// an earlier conversion found in the screen's conversion log, or into a new file of the screen's
// media folder with a bit rate, frame rate and picture size chosen here. The conversion itself is
// video_converter.h's.
//
// The rules, for a window of w x h and a source of W x H at f frames a second:
// - a source whose file name holds "$" is a converted file itself and is never converted again;
// - an earlier conversion of the same source (same path and size, and the same modification time
//   or, when that differs, the same MD5 digest) for the same output size and placement mode is
//   reused when its converted file still exists with that picture size;
// - at f <= 24 a video is not converted when 1.2 w >= W, 1.2 h >= H, W <= 240 or H <= 160. A
//   source larger than 320 x 240 has a bit rate above 1310720 lowered to 1048576; a smaller one
//   has a bit rate above 1835008 lowered to 1572864, and when its bit rate is not that high it is
//   not converted if w >= W / 2 and h > H / 2 (integer halves);
// - every other video is converted, to "<media folder>/<source name without extension>$N.mp4"
//   with the first N from 1 that names no file, at the source's frame rate when it is below 25
//   and at 24/1 otherwise.
//
// The output picture size is the window's, each side rounded up to an even number (the encoder
// needs even sides for its colour planes).

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <utility>

#include "codecs/video_media_info.h"
#include "platform/status.h"
#include "render/media/conversion_log.h"

namespace vantorel {

enum class VideoPlanKind { kNone = 0, kConvert = 1, kReuse = 2 };

struct VideoConversionRequest {
  std::filesystem::path source;
  int windowWidth = 0;
  int windowHeight = 0;
  int mode = 0;                  // the item's placement mode ("SHOWMODE"); a conversion is kept per mode
  std::filesystem::path folder;  // the screen's media folder: converted files and their log
};

struct VideoConversionPlan {
  VideoPlanKind kind = VideoPlanKind::kNone;
  TextId reason = kNoTextId;      // kNone: why nothing is converted (a rule, not a failure)
  std::filesystem::path output;   // kConvert: the file to make; kReuse: the earlier converted file
  std::int64_t bitRate = 0;       // kConvert: bits a second
  int frameRateNum = 0;           // kConvert: frames a second as a fraction
  int frameRateDen = 1;
  int width = 0;                  // output picture size (kConvert, kReuse)
  int height = 0;
  std::int64_t sourceDurationMs = 0;  // kConvert: for the progress of the conversion
};

// A bit rate the source does not tell is taken as this.
inline constexpr std::int64_t kDefaultVideoBitRate = 1048576;

// What the plan asks of the outside world, so that its rules can be tried without videos.
struct VideoPlanContext {
  bool converterAvailable = false;
  // The picture size of an earlier converted file; nothing when it cannot be read.
  std::function<std::optional<std::pair<int, int>>(const std::filesystem::path&)> pictureSize;
};

// The plan for `request` given the source's media information `info`. Fails (kTextVideoInfoUnreadable,
// the source's path as detail) when the information could not be read or gives a size or frame
// rate of 0, and for a window without pixels. A reuse by digest records the source's new time in
// `log` (saved by the caller).
Expected<VideoConversionPlan> PlanVideoConversion(const VideoConversionRequest& request,
                                                  const Expected<VideoMediaInfo>& info, CConversionLog& log,
                                                  const VideoPlanContext& context);

// The same, reading the source and earlier converted files with ReadVideoMediaInfo, and asking
// whether the converter program is there.
Expected<VideoConversionPlan> PlanVideoConversion(const VideoConversionRequest& request, CConversionLog& log);

// The output picture size for a window: each side rounded up to an even number.
std::pair<int, int> ConvertedPictureSize(int windowWidth, int windowHeight);

// The source path as records store it: absolute, without "." or ".." parts.
std::string RecordSourcePath(const std::filesystem::path& source);

}  // namespace vantorel

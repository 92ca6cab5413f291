#pragma once
// Carrying out a video conversion plan with the ffmpeg program, found on PATH at run time; without
// it no video is converted (VideoConverterAvailable tells the front end, which says so once).
//
// The program is run as
//   ffmpeg -nostdin -hide_banner -loglevel error -y -i file:SRC -vf scale=W:H,setsar=1 -r NUM/DEN
//          -c:v libx264 -preset veryfast -pix_fmt yuv420p -b:v RATE -an -movflags +faststart
//          -progress pipe:1 -nostats -f mp4 file:TEMP
// (H.264 in MP4 plays on every controller that plays videos; the signs have no sound, so the
// sound is left out). Its progress lines ("out_time_us=") against the source's duration give the
// percentage. The output goes to a temporary file beside the planned one and is renamed to the
// planned name only when the program succeeded; a name taken meanwhile by another conversion moves
// the output to the next free "$N". A cancel or a failure removes the temporary file.
//
// ConvertVideo blocks; run it on a worker thread. Progress is reported on that thread. Several
// conversions may run at once on different threads, each with its own log object.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"
#include "render/media/conversion_log.h"
#include "render/media/video_conversion_plan.h"

namespace vantorel {

bool VideoConverterAvailable();

struct VideoConversionJob {
  VideoConversionRequest request;
  VideoConversionPlan plan;                   // of kind kConvert
  const std::atomic<bool>* cancel = nullptr;  // set by another thread to stop the conversion
  std::function<void(int percent)> onProgress;  // 0 to 100, each value once, rising
  std::chrono::milliseconds timeLimit{0};     // 0: none
};

// The program's arguments for converting `source` into `output` as `plan` says.
std::vector<std::string> VideoConverterArguments(const std::filesystem::path& source, const VideoConversionPlan& plan,
                                                 const std::filesystem::path& output);

// The percentage one line of the program's progress output tells for a source of `durationMs`
// (0 to 99: 100 is reported when the converted file is in place); nothing for other lines.
std::optional<int> ConversionProgressPercent(std::string_view line, std::int64_t durationMs);

// Converts, and on success adds the conversion's record to `log` (the caller saves the log).
// Gives the converted file's path: the planned one, or the next free name when another
// conversion took it meanwhile. Fails with kTextNoVideoConverter without the program,
// kTextVideoConversionCancelled when cancelled, and kTextVideoConversionFailed with the end of
// the program's error output.
Expected<std::filesystem::path> ConvertVideo(const VideoConversionJob& job, CConversionLog& log);

}  // namespace vantorel

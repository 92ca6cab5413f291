#include "codecs/video_stream.h"

extern "C" {
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/mathematics.h>
}

#include <algorithm>
#include <cmath>
#include <mutex>
#include <string>

namespace vantorel {
namespace {

Status Refused(const std::filesystem::path& file, const std::string& why) {
  return Status::Failure(kNoTextId, file.string() + ": " + why);
}

}  // namespace

std::string AvErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

Expected<OpenedVideoStream> OpenVideoStream(const std::filesystem::path& file) {
  // FFmpeg's own messages would go to standard error; its failures reach the caller as statuses.
  static std::once_flag quiet;
  std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
  AVFormatContext* raw = nullptr;
  if (const int opened = avformat_open_input(&raw, file.c_str(), nullptr, nullptr); opened < 0) {
    return Refused(file, AvErrorText(opened));
  }
  OpenedVideoStream result;
  result.container.reset(raw);
  AVFormatContext* container = raw;
  if (const int found = avformat_find_stream_info(container, nullptr); found < 0) {
    return Refused(file, AvErrorText(found));
  }
  const int index = av_find_best_stream(container, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (index < 0) return Refused(file, "no video stream");
  const AVStream* stream = container->streams[index];
  const AVCodecParameters* parameters = stream->codecpar;
  VideoMediaInfo& info = result.info;
  info.width = parameters->width;
  info.height = parameters->height;
  if (info.width <= 0 || info.height <= 0 || info.width > kVideoMaxSide || info.height > kVideoMaxSide) {
    return Refused(file, "picture size " + std::to_string(info.width) + " x " + std::to_string(info.height));
  }
  AVRational rate = stream->avg_frame_rate;
  if (rate.num <= 0 || rate.den <= 0) rate = stream->r_frame_rate;
  if (rate.num <= 0 || rate.den <= 0) {
    return Refused(file, "frame rate " + std::to_string(rate.num) + "/" + std::to_string(rate.den));
  }
  info.frameRateNum = rate.num;
  info.frameRateDen = rate.den;
  info.bitRate = parameters->bit_rate > 0 ? parameters->bit_rate : std::max<std::int64_t>(container->bit_rate, 0);
  if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0 && stream->time_base.den > 0) {
    info.durationMs = av_rescale_q(stream->duration, stream->time_base, AVRational{1, 1000});
  } else if (container->duration != AV_NOPTS_VALUE && container->duration > 0) {
    info.durationMs = av_rescale(container->duration, 1000, AV_TIME_BASE);
  }
  if (stream->nb_frames > 0) {
    info.frameCount = stream->nb_frames;
  } else {
    info.frameCount = std::llround(static_cast<double>(info.durationMs) * rate.num / (1000.0 * rate.den));
  }
  if (info.frameCount <= 0) return Refused(file, "no frames");
  result.streamIndex = index;
  return result;
}

}  // namespace vantorel

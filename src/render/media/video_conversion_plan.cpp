#include "render/media/video_conversion_plan.h"

#include <limits>
#include <system_error>

#include "app/text_ids.h"
#include "platform/md5_digest.h"
#include "render/media/video_converter.h"

namespace vantorel {
namespace {

constexpr int kMaxOutputNumber = 100000;

VideoConversionPlan None(TextId reason) {
  VideoConversionPlan plan;
  plan.reason = reason;
  return plan;
}

// The reason of step one, or kNoTextId when the source may be planned for.
TextId FirstRefusal(const VideoConversionRequest& request, bool converterAvailable) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(request.source, error)) return kTextVideoSourceMissing;
  if (request.source.filename().string().find('$') != std::string::npos) return kTextVideoIsConverted;
  if (!converterAvailable) return kTextNoVideoConverter;
  return kNoTextId;
}

// Index of the record of an earlier conversion that may serve, if any.
std::optional<std::size_t> FindReusable(const VideoConversionRequest& request, int width, int height,
                                        const CConversionLog& log, const VideoPlanContext& context,
                                        std::optional<std::uint64_t>& touchedTime) {
  const std::optional<RecordFileStamp> stamp = ReadRecordFileStamp(request.source);
  if (!stamp) return std::nullopt;
  const std::string source = RecordSourcePath(request.source);
  std::optional<std::string> digest;  // read once, only when a time differs
  const auto& records = log.Records();
  for (std::size_t i = 0; i < records.size(); ++i) {
    const VideoConversionRecord& record = records[i];
    if (record.source != source || record.sourceSize != stamp->size || record.sourceMode != request.mode ||
        record.width != width || record.height != height) {
      continue;
    }
    const bool sameTime = record.sourceTime == stamp->time;
    if (!sameTime) {
      if (record.sourceDigest.empty()) continue;
      if (!digest) digest = Md5HexOfFile(request.source).value_or(std::string());
      if (digest->empty() || *digest != record.sourceDigest) continue;
    }
    const std::filesystem::path converted = log.ConvertedPath(record);
    std::error_code error;
    if (!std::filesystem::is_regular_file(converted, error)) continue;
    if (!context.pictureSize || context.pictureSize(converted) != std::pair{width, height}) continue;
    if (!sameTime) touchedTime = stamp->time;
    return i;
  }
  return std::nullopt;
}

// Step four: false when a video of this rate and size need not be converted; may lower the bit
// rate. Only for f <= 24.
bool NeedsConversionAtLowRate(std::int64_t w, std::int64_t h, const VideoMediaInfo& info, std::int64_t& bitRate) {
  const std::int64_t W = info.width;
  const std::int64_t H = info.height;
  // w x 1.2 >= W, exactly: 6 w >= 5 W.
  if (6 * w >= 5 * W || 6 * h >= 5 * H || W <= 240 || H <= 160) return false;
  if (W > 320 && H > 240) {
    if (bitRate > 1310720) bitRate = 1048576;
    return true;
  }
  if (bitRate > 1835008) {
    bitRate = 1572864;
    return true;
  }
  return !(w >= W / 2 && h > H / 2);
}

}  // namespace

std::pair<int, int> ConvertedPictureSize(int windowWidth, int windowHeight) {
  const auto even = [](int side) { return side % 2 == 0 || side == std::numeric_limits<int>::max() ? side : side + 1; };
  return {even(windowWidth), even(windowHeight)};
}

std::string RecordSourcePath(const std::filesystem::path& source) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(source, error);
  return (error ? source : absolute).lexically_normal().string();
}

Expected<VideoConversionPlan> PlanVideoConversion(const VideoConversionRequest& request,
                                                  const Expected<VideoMediaInfo>& info, CConversionLog& log,
                                                  const VideoPlanContext& context) {
  if (const TextId refusal = FirstRefusal(request, context.converterAvailable); refusal != kNoTextId) {
    return None(refusal);
  }
  const std::string what = request.source.string();
  if (!info) return info.status().WithText(kTextVideoInfoUnreadable);  // its detail names the file
  if (info->width <= 0 || info->height <= 0 || info->frameRateNum <= 0 || info->frameRateDen <= 0) {
    return Status::Failure(kTextVideoInfoUnreadable, what + ": " + std::to_string(info->width) + "x" +
                                                     std::to_string(info->height) + " at " +
                                                     std::to_string(info->frameRateNum) + "/" +
                                                     std::to_string(info->frameRateDen) + " frames a second");
  }
  if (request.windowWidth <= 0 || request.windowHeight <= 0) {
    return Status::Failure(kTextVideoInfoUnreadable, what + ": a window of " + std::to_string(request.windowWidth) +
                                                     "x" + std::to_string(request.windowHeight));
  }
  const auto [width, height] = ConvertedPictureSize(request.windowWidth, request.windowHeight);

  std::optional<std::uint64_t> touchedTime;
  if (const auto index = FindReusable(request, width, height, log, context, touchedTime)) {
    if (touchedTime) log.SetSourceTime(*index, *touchedTime);
    VideoConversionPlan plan;
    plan.kind = VideoPlanKind::kReuse;
    plan.output = log.ConvertedPath(log.Records()[*index]);
    plan.width = width;
    plan.height = height;
    return plan;
  }

  // f <= 24 and f < 25, without dividing: num <= 24 den, num < 25 den.
  const std::int64_t num = info->frameRateNum;
  const std::int64_t den = info->frameRateDen;
  std::int64_t bitRate = info->bitRate;
  if (num <= 24 * den && !NeedsConversionAtLowRate(request.windowWidth, request.windowHeight, *info, bitRate)) {
    return None(kTextVideoFitsWindow);
  }

  VideoConversionPlan plan;
  plan.kind = VideoPlanKind::kConvert;
  plan.bitRate = bitRate > 0 ? bitRate : kDefaultVideoBitRate;
  plan.width = width;
  plan.height = height;
  plan.sourceDurationMs = info->durationMs;
  if (num < 25 * den) {
    plan.frameRateNum = info->frameRateNum;
    plan.frameRateDen = info->frameRateDen;
  } else {
    plan.frameRateNum = 24;
    plan.frameRateDen = 1;
  }
  const std::string stem = request.source.stem().string();
  for (int n = 1; n <= kMaxOutputNumber; ++n) {
    const std::filesystem::path candidate = request.folder / (stem + "$" + std::to_string(n) + ".mp4");
    std::error_code error;
    if (!std::filesystem::exists(candidate, error) && !error) {
      plan.output = candidate;
      return plan;
    }
  }
  return Status::Failure(kTextVideoConversionFailed, what + ": no free name in " + request.folder.string());
}

Expected<VideoConversionPlan> PlanVideoConversion(const VideoConversionRequest& request, CConversionLog& log) {
  VideoPlanContext context;
  context.converterAvailable = VideoConverterAvailable();
  context.pictureSize = [](const std::filesystem::path& file) -> std::optional<std::pair<int, int>> {
    const Expected<VideoMediaInfo> info = ReadVideoMediaInfo(file);
    if (!info) return std::nullopt;
    return std::pair{info->width, info->height};
  };
  if (const TextId refusal = FirstRefusal(request, context.converterAvailable); refusal != kNoTextId) {
    return None(refusal);
  }
  return PlanVideoConversion(request, ReadVideoMediaInfo(request.source), log, context);
}

}  // namespace vantorel

#include "render/media/video_converter.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "app/text_ids.h"
#include "codecs/video_media_info.h"
#include "platform/child_process.h"
#include "platform/md5_digest.h"
#include "platform/unique_file.h"

namespace vantorel {
namespace {

constexpr int kMaxOutputNumber = 100000;

// Takes paths as files whatever they look like ("a:b.mp4" would otherwise name a protocol).
std::string AsFile(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return "file:" + (error ? path : absolute).string();
}

// Removes a file on every way out unless released.
class RemoveUnlessKept {
public:
  explicit RemoveUnlessKept(std::filesystem::path file) : m_file(std::move(file)) {}
  ~RemoveUnlessKept() {
    if (!m_file.empty()) {
      std::error_code error;
      std::filesystem::remove(m_file, error);
    }
  }
  RemoveUnlessKept(const RemoveUnlessKept&) = delete;
  RemoveUnlessKept& operator=(const RemoveUnlessKept&) = delete;
  void Keep() { m_file.clear(); }

private:
  std::filesystem::path m_file;
};

// Moves the finished temporary file to the planned name, or to the next free "$N" after it.
Expected<std::filesystem::path> PlaceOutput(const std::filesystem::path& temporary, const std::filesystem::path& planned,
                                            const std::filesystem::path& source) {
  std::string name = planned.stem().string();  // "<source stem>$N"
  const std::size_t dollar = name.rfind('$');
  int first = 1;
  if (dollar != std::string::npos) {
    std::from_chars(name.data() + dollar + 1, name.data() + name.size(), first);
    name.resize(dollar);
  } else {
    name = source.stem().string();
  }
  Status last;
  for (int n = std::max(first, 1); n <= kMaxOutputNumber; ++n) {
    const std::filesystem::path candidate = planned.parent_path() / (name + "$" + std::to_string(n) + ".mp4");
    last = RenameWithoutReplacing(temporary, candidate);
    if (last) return candidate;
    std::error_code error;
    if (!std::filesystem::exists(candidate, error)) break;  // not taken: a real failure
  }
  return last.WithText(kTextVideoConversionFailed);
}

// The record of a finished conversion.
std::optional<VideoConversionRecord> RecordOf(const VideoConversionJob& job, const std::filesystem::path& converted) {
  VideoConversionRecord record;
  record.source = RecordSourcePath(job.request.source);
  record.converted = converted.filename().string();
  // A line end in a name would break the line: such a conversion is simply not remembered.
  if (record.source.find_first_of("\r\n") != std::string::npos ||
      record.converted.find_first_of("\r\n") != std::string::npos) {
    return std::nullopt;
  }
  const std::optional<RecordFileStamp> source = ReadRecordFileStamp(job.request.source);
  const std::optional<RecordFileStamp> output = ReadRecordFileStamp(converted);
  const Expected<std::string> sourceDigest = Md5HexOfFile(job.request.source);
  const Expected<std::string> outputDigest = Md5HexOfFile(converted);
  if (!source || !output || !sourceDigest || !outputDigest) return std::nullopt;
  record.sourceSize = source->size;
  record.sourceTime = source->time;
  record.sourceDigest = *sourceDigest;
  record.sourceMode = job.request.mode;
  record.convertedSize = output->size;
  record.convertedTime = output->time;
  record.convertedDigest = *outputDigest;
  const Expected<VideoMediaInfo> info = ReadVideoMediaInfo(converted);
  record.width = info ? info->width : job.plan.width;
  record.height = info ? info->height : job.plan.height;
  return record;
}

}  // namespace

bool VideoConverterAvailable() { return !FindProgram("ffmpeg").empty(); }

std::vector<std::string> VideoConverterArguments(const std::filesystem::path& source, const VideoConversionPlan& plan,
                                                 const std::filesystem::path& output) {
  return {"-nostdin", "-hide_banner", "-loglevel", "error", "-y",
          "-i", AsFile(source),
          "-vf", "scale=" + std::to_string(plan.width) + ":" + std::to_string(plan.height) + ",setsar=1",
          "-r", std::to_string(plan.frameRateNum) + "/" + std::to_string(plan.frameRateDen),
          "-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p",
          "-b:v", std::to_string(plan.bitRate),
          "-an", "-movflags", "+faststart",
          "-progress", "pipe:1", "-nostats",
          "-f", "mp4", AsFile(output)};
}

std::optional<int> ConversionProgressPercent(std::string_view line, std::int64_t durationMs) {
  // "out_time_ms" holds microseconds as well (an old naming slip of the program).
  for (const std::string_view key : {std::string_view("out_time_us="), std::string_view("out_time_ms=")}) {
    if (line.substr(0, key.size()) != key) continue;
    const std::string_view value = line.substr(key.size());
    std::int64_t micros = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), micros);
    if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;  // "N/A"
    if (durationMs <= 0 || micros <= 0) return 0;
    const std::int64_t percent = micros / 10 / durationMs;  // micros / (durationMs x 1000) x 100
    return static_cast<int>(std::min<std::int64_t>(percent, 99));
  }
  return std::nullopt;
}

Expected<std::filesystem::path> ConvertVideo(const VideoConversionJob& job, CConversionLog& log) {
  const VideoConversionPlan& plan = job.plan;
  const std::string what = job.request.source.string();
  if (plan.kind != VideoPlanKind::kConvert || plan.output.empty()) {
    return Status::Failure(kTextVideoConversionFailed, what + ": nothing planned to convert");
  }
  const std::filesystem::path program = FindProgram("ffmpeg");
  if (program.empty()) return Status::Failure(kTextNoVideoConverter);

  const std::filesystem::path folder = plan.output.parent_path();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return Status::SystemError(error.value(), folder, kTextVideoConversionFailed);
  const Expected<std::filesystem::path> temporary =
      CreateUniqueFile(folder, ".~" + plan.output.filename().string() + ".", ".part");
  if (!temporary) return temporary.status().WithText(kTextVideoConversionFailed);
  RemoveUnlessKept removeTemporary(*temporary);

  int reported = -1;
  const auto report = [&](int percent) {
    if (percent > reported && job.onProgress) job.onProgress(percent);
    reported = std::max(reported, percent);
  };
  report(0);
  ProgramRun run;
  run.arguments = VideoConverterArguments(job.request.source, plan, *temporary);
  run.timeLimit = job.timeLimit;
  run.cancel = job.cancel;
  run.onOutputLine = [&](std::string_view line) {
    if (const std::optional<int> percent = ConversionProgressPercent(line, plan.sourceDurationMs)) report(*percent);
  };
  const Expected<ProgramResult> result = RunProgram(program, run);
  if (!result) return result.status().WithText(kTextVideoConversionFailed);
  if (result->cancelled) return Status::Failure(kTextVideoConversionCancelled, what);
  if (result->timedOut) return Status::Failure(kTextVideoConversionFailed, what + ": the time limit passed");
  if (!result->Succeeded()) {
    std::string tail = result->errorTail;
    while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r')) tail.pop_back();
    return Status::Failure(kTextVideoConversionFailed,
                           what + ": ffmpeg ended with " + std::to_string(result->exitCode) +
                               (tail.empty() ? std::string() : ": " + tail));
  }
  if (std::filesystem::file_size(*temporary, error) == 0 || error) {
    return Status::Failure(kTextVideoConversionFailed, what + ": ffmpeg wrote nothing");
  }
  const Expected<std::filesystem::path> placed = PlaceOutput(*temporary, plan.output, job.request.source);
  if (!placed) return placed;
  removeTemporary.Keep();
  if (const std::optional<VideoConversionRecord> record = RecordOf(job, *placed)) log.Add(*record);
  report(100);
  return placed;
}

}  // namespace vantorel

// "media": what a video, animation file or GIF holds (info), an animation file for a window
// made from a video or an animation file (to-laf), as the controller's animations are made, and a
// video re-encoded for a window into a screen's media folder with its conversion log (convert), as
// videos are made for controllers that play them.

#include <QString>

#include <atomic>
#include <csignal>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <numeric>
#include <string>

#include "app/status_text.h"
#include "app/text_format.h"
#include "app/text_table.h"
#include "cli_command.h"
#include "codecs/laf_file.h"
#include "codecs/picture_file.h"
#include "codecs/video_media_info.h"
#include "render/media/laf_convert.h"
#include "render/media/media_kind.h"
#include "render/media/video_conversion_plan.h"
#include "render/media/video_converter.h"
#include "render/place_picture.h"
#include "screen/colour_modes.h"

namespace vantorel::cli {
namespace {

void Line(const char* key, const std::string& value) { std::cout << FormatText("%-12s %s\n", key, value.c_str()); }

void VideoInfo(const std::filesystem::path& file) {
  const Expected<VideoMediaInfo> info = ReadVideoMediaInfo(file);
  if (!info) throw CliError(file.string() + ": not a video that can be read: " + info.status().detail());
  Line("Kind:", "video");
  Line("Size:", FormatText("%d x %d", info->width, info->height));
  Line("Frames:", std::to_string(info->frameCount));
  Line("Frame rate:", FormatText("%d/%d (%.3f a second)", info->frameRateNum, info->frameRateDen,
                                 static_cast<double>(info->frameRateNum) / info->frameRateDen));
  Line("Duration:", FormatText("%lld ms", static_cast<long long>(info->durationMs)));
  Line("Bit rate:", info->bitRate > 0 ? FormatText("%lld bit/s", static_cast<long long>(info->bitRate)) : "unknown");
}

void AnimationInfo(const std::filesystem::path& file) {
  CLafReader reader;
  if (const Status loaded = reader.Load(file); !loaded) {
    throw CliError(file.string() + ": not an animation file that can be read: " + loaded.detail());
  }
  const LafInfo& info = reader.GetInfo();
  int total = 0;
  for (int i = 0; i < info.frameCount; ++i) total += reader.FrameDuration(i);
  Line("Kind:", "animation file");
  Line("Size:", FormatText("%d x %d", info.width, info.height));
  Line("Colour mode:", FormatText("%s (0x%02X)", ColourModeName(info.colourMode).c_str(), info.colourMode));
  Line("File type:", std::to_string(info.fileType));
  Line("Frames:", std::to_string(info.frameCount));
  Line("Duration:", FormatText("%d ms", total));
}

void GifInfo(const std::filesystem::path& file) {
  const Expected<Animation> animation = ReadAnimation(file);
  if (!animation || animation->frames.empty()) {
    throw CliError(file.string() + ": not a GIF that can be read: " + animation.status().detail());
  }
  const QImage& first = animation->frames.front().picture;
  const int total = std::accumulate(animation->frames.begin(), animation->frames.end(), 0,
                                    [](int sum, const AnimationFrame& frame) { return sum + frame.delayMs; });
  Line("Kind:", "GIF picture");
  Line("Size:", FormatText("%d x %d", first.width(), first.height()));
  Line("Frames:", std::to_string(animation->frames.size()));
  Line("Duration:", FormatText("%d ms", total));
}

bool IsGif(const std::filesystem::path& file) {
  return QString::fromStdString(file.extension().string()).compare(".gif", Qt::CaseInsensitive) == 0;
}

void Info(const std::filesystem::path& file) {
  switch (MediaKindOf(file)) {
    case kMediaVideo: VideoInfo(file); return;
    case kMediaAnimation: AnimationInfo(file); return;
    case kMediaFlash:
      Line("Flash movie:", "shown through " + FlashStandIn(file).string());
      AnimationInfo(FlashStandIn(file));
      return;
    case kMediaNone:
      if (IsGif(file)) return GifInfo(file);
      throw CliError(file.string() + ": neither a video (.avi .mpg .mpeg .wmv .mp4), an animation file (.laf), "
                                     "a Flash movie (.swf) nor a GIF");
  }
}

struct ToLafOptions {
  std::string source;
  std::string size;
  std::string colour;
  std::string mode = "Stretch";
  std::string output;
};

const std::map<std::string, int> kPlacements = {
    {"Center", kPlaceCenter}, {"Zoom", kPlaceZoom}, {"Stretch", kPlaceStretch}, {"Tile", kPlaceTile}};

// "WIDTHxHEIGHT", each side 1..kLafMaxSide.
std::pair<int, int> WindowSize(const std::string& size) {
  int width = 0;
  int height = 0;
  char rest = 0;
  if (std::sscanf(size.c_str(), "%dx%d%c", &width, &height, &rest) != 2 || width < 1 || height < 1 ||
      width > kLafMaxSide || height > kLafMaxSide) {
    throw CliError(FormatText("--size: WIDTHxHEIGHT, each 1..%d: %s", kLafMaxSide, size.c_str()));
  }
  return {width, height};
}

void PrintPercent(int percent) {
  std::cerr << FormatText("\r%3d%%", percent) << (percent == 100 ? "\n" : "") << std::flush;
}

void ToLaf(const ToLafOptions& options) {
  const auto [width, height] = WindowSize(options.size);
  const auto colour = ParseColourMode(options.colour);
  if (!colour) throw CliError("--color: not a colour mode code or name: " + options.colour);
  std::filesystem::path source = options.source;
  const MediaKind kind = MediaKindOf(source);
  if (kind == kMediaFlash) source = FlashStandIn(source);
  ConvertProgress progress;
  if (kind == kMediaVideo) {
    progress = PrintPercent;
  }
  const Expected<int> frames = ConvertToLaf(options.output, width, height, *colour, kPlacements.at(options.mode),
                                            source, 0, progress);
  if (!frames) throw CliError(StatusMessage(frames.status()));
  std::cout << FormatText("%s: %d frames, %d x %d, %s\n", options.output.c_str(), *frames, width, height,
                          ColourModeName(*colour).c_str());
}

struct ConvertOptions {
  std::string source;
  std::string size;
  std::string folder;
  std::string mode = "Stretch";
};

// Ctrl-C stops the converter (which runs in a process group of its own) and removes its output.
std::atomic<bool> g_cancelConversion{false};
extern "C" void CancelConversion(int /*signal*/) { g_cancelConversion = true; }

void Convert(const ConvertOptions& options) {
  const auto [width, height] = WindowSize(options.size);
  std::error_code error;
  std::filesystem::create_directories(options.folder, error);
  if (error) throw CliError(options.folder + ": " + error.message());
  Expected<CConversionLog> log = CConversionLog::Load(options.folder);
  if (!log) throw CliError(StatusMessage(log.status()));
  if (!log->Warnings().empty()) {
    std::cerr << FormatText("%s: %zu lines left out, the first: %s\n", log->FilePath().c_str(),
                            log->Warnings().dropped, log->Warnings().firstReason.c_str());
  }
  VideoConversionRequest request{options.source, width, height, kPlacements.at(options.mode), options.folder};
  const Expected<VideoConversionPlan> plan = PlanVideoConversion(request, *log);
  if (!plan) throw CliError(StatusMessage(plan.status()));
  switch (plan->kind) {
    case VideoPlanKind::kNone:
      std::cout << "no conversion: " << LoadText(plan->reason) << "\n";
      break;
    case VideoPlanKind::kReuse:
      std::cout << "reuse " << plan->output.string() << "\n";
      break;
    case VideoPlanKind::kConvert: {
      VideoConversionJob job;
      job.request = request;
      job.plan = *plan;
      job.cancel = &g_cancelConversion;
      job.onProgress = PrintPercent;
      const auto previous = std::signal(SIGINT, CancelConversion);
      const Expected<std::filesystem::path> converted = ConvertVideo(job, *log);
      std::signal(SIGINT, previous);
      if (!converted) {
        std::cerr << "\n";
        throw CliError(StatusMessage(converted.status()));
      }
      std::cout << FormatText("converted %s (%d x %d, %d/%d frames a second, %lld bit/s)\n", converted->c_str(),
                              plan->width, plan->height, plan->frameRateNum, plan->frameRateDen,
                              static_cast<long long>(plan->bitRate));
      break;
    }
  }
  if (const Status saved = log->Save(); !saved) throw CliError(StatusMessage(saved));
}

const CliCommandGroup kGroup(65, "media", "What videos and animations hold, animation files and videos made for a window",
                             [](CLI::App& group, CliContext& /*context*/) {
  auto infoFile = std::make_shared<std::string>();
  auto* info = group.add_subcommand("info", "Kind, size, frames, frame rate, duration and bit rate of a media file");
  info->add_option("FILE", *infoFile, "A video, animation file (.laf), Flash movie (.swf) or GIF")->required();
  info->callback([infoFile] { Info(*infoFile); });

  auto options = std::make_shared<ToLafOptions>();
  auto* toLaf = group.add_subcommand("to-laf", "An animation file for a window from a video or an animation file");
  toLaf->add_option("FILE", options->source, "A video, animation file (.laf) or Flash movie (.swf)")->required();
  toLaf->add_option("--size", options->size, "Window size, WIDTHxHEIGHT (64x32)")->required();
  toLaf->add_option("--color", options->colour, "Colour mode code or name (\"Mono\", \"Full color\", 0x77 ...)")
      ->required();
  toLaf->add_option("--mode", options->mode, "Display mode: Center, Zoom, Stretch or Tile (default: Stretch)")
      ->check(CLI::IsMember({"Center", "Zoom", "Stretch", "Tile"}));
  toLaf->add_option("OUT", options->output, "Animation file to write (.laf)")->required();
  toLaf->callback([options] { ToLaf(*options); });

  auto convertOptions = std::make_shared<ConvertOptions>();
  auto* convert = group.add_subcommand(
      "convert", "A video re-encoded for a window into a media folder, or the earlier conversion found in its log");
  convert->add_option("FILE", convertOptions->source, "A video (.avi .mpg .mpeg .wmv .mp4)")->required();
  convert->add_option("--size", convertOptions->size, "Window size, WIDTHxHEIGHT (64x32)")->required();
  convert->add_option("--folder", convertOptions->folder, "Media folder of the screen: converted videos and their log")
      ->required();
  convert->add_option("--mode", convertOptions->mode, "Display mode: Center, Zoom, Stretch or Tile (default: Stretch)")
      ->check(CLI::IsMember({"Center", "Zoom", "Stretch", "Tile"}));
  convert->callback([convertOptions] { Convert(*convertOptions); });
});

}  // namespace
}  // namespace vantorel::cli

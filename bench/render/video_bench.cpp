// A 10-second 640 x 360 clip (25 frames a second, made here with ffmpeg's test pattern) made into
// the controller animation of a 64 x 64 full-colour window, against ffmpeg itself decoding the
// same clip and scaling it to 64 x 64 (`ffmpeg -i clip -vf scale=64:64 -f null -`). Both are wall
// times of whole runs.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "render/media/controller_animation.h"
#include "render/place_picture.h"

namespace vantorel {
namespace {

struct Clip {
  std::filesystem::path folder;
  std::filesystem::path file;
  bool made = false;

  Clip() {
    folder = std::filesystem::temp_directory_path() / ("vantorel-video-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    file = folder / "clip.mp4";
    const std::string command = "ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=640x360:rate=25:duration=10 "
                                "-pix_fmt yuv420p '" + file.string() + "'";
    made = std::system(command.c_str()) == 0;
  }
  ~Clip() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
};

const Clip& TheClip() {
  static const Clip clip;
  return clip;
}

void BM_ControllerAnimation64x64(benchmark::State& state) {
  const Clip& clip = TheClip();
  if (!clip.made) return state.SkipWithError("ffmpeg did not make the clip");
  tagItemPart item;
  item.actType = kKindVideo;
  item.media = clip.file.string();
  item.showMode = static_cast<std::uint16_t>(state.range(0));
  int frames = 0;
  for (auto _ : state) {
    const ControllerAnimation made =
        MakeControllerAnimation(item, 64, 64, 0x77, clip.folder / "out.laf", clip.folder / "large.txt");
    if (!made.failure.ok()) return state.SkipWithError(made.failure.detail().c_str());
    frames = made.frames;
    benchmark::DoNotOptimize(made.data.data());
  }
  state.counters["frames"] = frames;
}
BENCHMARK(BM_ControllerAnimation64x64)->Arg(kPlaceStretch)->Arg(kPlaceZoom)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FfmpegScale64x64(benchmark::State& state) {
  const Clip& clip = TheClip();
  if (!clip.made) return state.SkipWithError("ffmpeg did not make the clip");
  const std::string command = "ffmpeg -nostdin -v error -i '" + clip.file.string() + "' -vf scale=64:64 -f null -";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) return state.SkipWithError("ffmpeg failed");
  }
}
BENCHMARK(BM_FfmpegScale64x64)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vantorel

// The picture item path: a full-HD photo decoded and placed into a cross window, GIF encoding of a
// frame, and placement alone.
//   build/bin/picture_bench --benchmark_min_time=2

#include <benchmark/benchmark.h>

#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "codecs/gif_codec.h"
#include "codecs/jpeg_codec.h"
#include "codecs/picture_file.h"
#include "platform/atomic_file.h"
#include "render/led_bitmap.h"
#include "render/place_picture.h"

namespace vantorel {
namespace {

// A 1920 x 1080 picture with detail everywhere (so the JPEG is of a photo's size).
QImage Photo() {
  QImage picture(1920, 1080, QImage::Format_RGB888);
  for (int y = 0; y < picture.height(); ++y) {
    uchar* line = picture.scanLine(y);
    for (int x = 0; x < picture.width(); ++x) {
      line[3 * x] = static_cast<uchar>((x * 7 + y * 3) ^ (x >> 3));
      line[3 * x + 1] = static_cast<uchar>((y * 5) ^ (x * y >> 6));
      line[3 * x + 2] = static_cast<uchar>(x + y);
    }
  }
  return picture;
}

std::vector<std::uint8_t> PhotoJpeg() {
  const auto file = std::filesystem::temp_directory_path() / "vantorel-bench-photo.jpg";
  if (!Photo().save(QString::fromStdString(file.string()), "JPEG", 90)) std::abort();
  std::string content;
  if (!ReadWholeFile(file, content)) std::abort();
  std::filesystem::remove(file);
  return {content.begin(), content.end()};
}

void BM_JpegPictureItemInto64x64(benchmark::State& state) {
  const std::vector<std::uint8_t> jpeg = PhotoJpeg();
  state.counters["jpeg_kB"] = static_cast<double>(jpeg.size()) / 1024.0;
  for (auto _ : state) {
    const auto picture = DecodePicture(jpeg);
    CLedBitmap bitmap(64, 64, 0x77);
    PlacePicture(bitmap, *picture, kPlaceZoom, false);
    benchmark::DoNotOptimize(bitmap.Image().constBits());
  }
}
BENCHMARK(BM_JpegPictureItemInto64x64)->Unit(benchmark::kMillisecond);

void BM_JpegDecodeOnly(benchmark::State& state) {
  const std::vector<std::uint8_t> jpeg = PhotoJpeg();
  for (auto _ : state) benchmark::DoNotOptimize(DecodeJpeg(jpeg));
}
BENCHMARK(BM_JpegDecodeOnly)->Unit(benchmark::kMillisecond);

void BM_PlaceStretch1920x1080Into128x128(benchmark::State& state) {
  const QImage photo = Photo();
  CLedBitmap bitmap(128, 128, 0x77);
  for (auto _ : state) {
    PlacePicture(bitmap, photo, kPlaceStretch, false);
    benchmark::DoNotOptimize(bitmap.Image().constBits());
  }
}
BENCHMARK(BM_PlaceStretch1920x1080Into128x128)->Unit(benchmark::kMicrosecond);

void BM_GifEncode128x128(benchmark::State& state) {
  const Animation frame{{{Photo().scaled(128, 128), 100}}, 0};
  for (auto _ : state) benchmark::DoNotOptimize(EncodeGif(frame));
}
BENCHMARK(BM_GifEncode128x128)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantorel

#pragma once
// Videos made at test time with the ffmpeg program (its test pattern), so that no video file is
// kept in the repository. A test that needs one starts with VANTOREL_NEED_FFMPEG(), which skips
// it cleanly on a machine without ffmpeg.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <string>
#include <vector>

namespace vantorel::test {

bool HaveFfmpeg();

struct TestVideo {
  int width = 64;
  int height = 48;
  int rate = 25;            // frames a second
  double seconds = 1.0;
  std::string extra;        // more output options ("-c:v mpeg4", "-g 10")
};

// Writes the test pattern to `file` (its extension picks the container); fails the running test
// when ffmpeg does not make it.
std::filesystem::path MakeTestVideo(const std::filesystem::path& file, const TestVideo& video = {});

// Every frame of `file` decoded in order at its own size (CVideoDecoder::NextFrame); a file that
// does not open or decode fails the running test.
std::vector<QImage> DecodeAllFrames(const std::filesystem::path& file);

}  // namespace vantorel::test

#define VANTOREL_NEED_FFMPEG()                                         \
  do {                                                                 \
    if (!::vantorel::test::HaveFfmpeg()) GTEST_SKIP() << "no ffmpeg"; \
  } while (false)

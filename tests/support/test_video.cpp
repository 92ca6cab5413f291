#include "support/test_video.h"

#include <cstdlib>

#include "codecs/video_decoder.h"
#include "support/cli_runner.h"

namespace vantorel::test {

bool HaveFfmpeg() {
  static const bool present = std::system("ffmpeg -version >/dev/null 2>&1") == 0;
  return present;
}

std::filesystem::path MakeTestVideo(const std::filesystem::path& file, const TestVideo& video) {
  const std::string command = "ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=" + std::to_string(video.width) +
                              "x" + std::to_string(video.height) + ":rate=" + std::to_string(video.rate) +
                              ":duration=" + std::to_string(video.seconds) + " -pix_fmt yuv420p " + video.extra +
                              " " + QuoteForShell(file) + " </dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  EXPECT_TRUE(std::filesystem::exists(file)) << command;
  return file;
}

std::vector<QImage> DecodeAllFrames(const std::filesystem::path& file) {
  std::vector<QImage> frames;
  auto decoder = CVideoDecoder::Open(file);
  EXPECT_TRUE(decoder) << decoder.status().detail();
  if (!decoder) return frames;
  for (;;) {
    auto frame = decoder->NextFrame();
    EXPECT_TRUE(frame) << frame.status().detail();
    if (!frame || frame->isNull()) break;
    frames.push_back(*frame);
  }
  return frames;
}

}  // namespace vantorel::test

// "vantorel-cli media convert": a video converted for a window into a media folder, found again in
// the folder's log, and the videos that are not converted, each with its reason.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/cli_runner.h"
#include "support/test_files.h"
#include "support/test_video.h"

namespace vantorel {
namespace {

class MediaConvertCliTest : public test::CliTest {};

TEST_F(MediaConvertCliTest, ConvertsOnceThenReuses) {
  VANTOREL_NEED_FFMPEG();
  const auto video = test::MakeTestVideo(Dir() / "clip.mp4", {640, 360, 30, 2.0, ""});
  const auto media = Dir() / "work/_av0001";
  const std::string command = "media convert " + Quote(video) + " --size 64x32 --folder " + Quote(media);
  const auto made = Run(command);
  ASSERT_EQ(made.exitCode, 0) << made.err;
  const std::string converted = (media / "clip$1.mp4").string();
  EXPECT_NE(made.out.find("converted " + converted + " (64 x 32, 24/1 frames a second"), std::string::npos)
      << made.out;
  EXPECT_NE(made.err.find("100%"), std::string::npos) << made.err;
  EXPECT_TRUE(std::filesystem::is_regular_file(converted));
  const std::string log = test::ReadText(media / "~cnvlog.txt");
  EXPECT_EQ(log.rfind("src=" + video.string() + ", ssz=", 0), 0u) << log;
  EXPECT_NE(log.find(", smd=2, dst=clip$1.mp4, dsz="), std::string::npos) << log;  // Stretch
  EXPECT_NE(log.find(", vw=64, vh=32\r\n"), std::string::npos) << log;

  const auto again = Run(command);
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(again.out, "reuse " + converted + "\n");
  EXPECT_EQ(test::ReadText(media / "~cnvlog.txt"), log);

  // Another display mode is another conversion.
  const auto zoom = Run(command + " --mode Zoom");
  ASSERT_EQ(zoom.exitCode, 0) << zoom.err;
  EXPECT_NE(zoom.out.find("converted " + (media / "clip$2.mp4").string()), std::string::npos) << zoom.out;
}

TEST_F(MediaConvertCliTest, VideosThatAreNotConvertedSayWhy) {
  VANTOREL_NEED_FFMPEG();
  const auto small = test::MakeTestVideo(Dir() / "small.mp4", {160, 120, 15, 1.0, ""});
  const auto converted = test::MakeTestVideo(Dir() / "clip$1.mp4", {640, 360, 30, 0.5, ""});
  test::WriteText(Dir() / "fake.mp4", "not a video");
  const std::string media = " --folder " + Quote(Dir() / "media");
  struct Row {
    std::string arguments;
    int exitCode;
    const char* says;
  };
  const Row rows[] = {
      {"media convert " + Quote(small) + " --size 64x32" + media, 0,
       "no conversion: The video needs no conversion for this window."},
      {"media convert " + Quote(converted) + " --size 64x32" + media, 0,
       "no conversion: The video is a converted video already"},
      {"media convert " + Quote(Dir() / "absent.mp4") + " --size 64x32" + media, 0,
       "no conversion: The video file does not exist."},
      {"media convert " + Quote(Dir() / "fake.mp4") + " --size 64x32" + media, 1,
       "The picture size and frame rate of the video cannot be read."},
      {"media convert " + Quote(small) + " --size 64" + media, 1, "--size"},
      {"media convert " + Quote(small) + " --size 64x32 --mode Spin" + media, 1, "--mode"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.arguments);
    const auto result = Run(row.arguments);
    EXPECT_EQ(result.exitCode != 0, row.exitCode != 0) << result.err;
    EXPECT_NE((result.out + result.err).find(row.says), std::string::npos) << result.out << result.err;
  }
  EXPECT_FALSE(std::filesystem::exists(Dir() / "media/~cnvlog.txt"));  // nothing converted, nothing logged
}

}  // namespace
}  // namespace vantorel

// "vantorel-cli media": info on a video, an animation file and what is neither, and to-laf from
// a video made at test time, with its progress, its result read back and its refusals.

#include <gtest/gtest.h>

#include "codecs/laf_file.h"
#include "support/cli_runner.h"
#include "support/test_files.h"
#include "support/test_video.h"

namespace vantorel {
namespace {

class MediaCliTest : public test::CliTest {};

TEST_F(MediaCliTest, InfoAndToLafOnAVideo) {
  VANTOREL_NEED_FFMPEG();
  const auto video = test::MakeTestVideo(Dir() / "clip.mp4", {80, 60, 25, 2.0, ""});
  const auto info = Run("media info " + Quote(video));
  ASSERT_EQ(info.exitCode, 0) << info.err;
  for (const char* line : {"Kind:        video", "Size:        80 x 60", "Frames:      50",
                           "Frame rate:  25/1 (25.000 a second)", "Duration:    2000 ms", "Bit rate:    "}) {
    EXPECT_NE(info.out.find(line), std::string::npos) << line << "\n" << info.out;
  }

  const auto out = Dir() / "clip.laf";
  const auto made = Run("media to-laf " + Quote(video) + " --size 32x16 --color 0x77 --mode Zoom " + Quote(out));
  ASSERT_EQ(made.exitCode, 0) << made.err;
  EXPECT_NE(made.out.find("50 frames, 32 x 16"), std::string::npos) << made.out;
  EXPECT_NE(made.err.find(" 50%"), std::string::npos) << made.err;
  EXPECT_NE(made.err.find("100%"), std::string::npos) << made.err;
  CLafReader reader;
  ASSERT_TRUE(reader.Load(out));
  EXPECT_EQ(reader.FrameCount(), 50);
  EXPECT_EQ(reader.GetInfo().width, 32);
  EXPECT_EQ(reader.GetFrameImage(7)->interval, 40);

  const auto lafInfo = Run("media info " + Quote(out));
  ASSERT_EQ(lafInfo.exitCode, 0) << lafInfo.err;
  for (const char* line : {"Kind:        animation file", "Size:        32 x 16", "Colour mode: Full color (0x77)",
                           "Frames:      50", "Duration:    2000 ms"}) {
    EXPECT_NE(lafInfo.out.find(line), std::string::npos) << line << "\n" << lafInfo.out;
  }
  // Again from the animation file, for a smaller red-only window.
  const auto again = Run("media to-laf " + Quote(out) + " --size 8x8 --color 1 " + Quote(Dir() / "small.laf"));
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_TRUE(again.err.empty()) << again.err;  // progress is told for videos only
}

TEST_F(MediaCliTest, RefusalsAreClear) {
  VANTOREL_NEED_FFMPEG();
  const auto video = test::MakeTestVideo(Dir() / "clip.avi", {32, 32, 10, 0.5, "-c:v mpeg4"});
  const std::string fake = Quote(Dir() / "fake.mp4");
  ASSERT_EQ(Run("media info " + Quote(video)).exitCode, 0);
  test::WriteText(Dir() / "fake.mp4", "not a video");
  struct Row {
    std::string arguments;
    const char* says;
  };
  const Row rows[] = {
      {"media info " + fake, "not a video that can be read"},
      {"media info " + Quote(Dir() / "notes.txt"), "neither a video"},
      {"media to-laf " + fake + " --size 8x8 --color 0x77 " + Quote(Dir() / "o.laf"), "Can't read the video file"},
      {"media to-laf " + Quote(video) + " --size 8 --color 0x77 " + Quote(Dir() / "o.laf"), "--size"},
      {"media to-laf " + Quote(video) + " --size 8x9999 --color 0x77 " + Quote(Dir() / "o.laf"), "--size"},
      {"media to-laf " + Quote(video) + " --size 8x8 --color purple " + Quote(Dir() / "o.laf"), "--color"},
      {"media to-laf " + Quote(video) + " --size 8x8 --color 0x77 --mode Spin " + Quote(Dir() / "o.laf"), "--mode"},
      {"media to-laf " + Quote(Dir() / "movie.swf") + " --size 8x8 --color 0x77 " + Quote(Dir() / "o.laf"),
       "movie.laf"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.arguments);
    const auto result = Run(row.arguments);
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.err.find(row.says), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(Dir() / "o.laf"));
  }
}

}  // namespace
}  // namespace vantorel

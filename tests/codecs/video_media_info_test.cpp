// Media information of videos made at test time: size, frame rate, frame count, duration and bit
// rate as the container gives them, and a clear failure for what is not a video.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "codecs/video_media_info.h"
#include "support/cli_runner.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "support/test_video.h"

namespace vantorel {
namespace {

TEST(VideoMediaInfo, ContainersGiveSizeRateAndFrameCount) {
  VANTOREL_NEED_FFMPEG();
  struct Row {
    const char* name;
    test::TestVideo video;
    int rateNum, rateDen;
    std::int64_t frames;
  };
  const Row rows[] = {
      {"a.mp4", {64, 48, 25, 1.0, ""}, 25, 1, 25},
      {"b.avi", {160, 120, 10, 2.0, "-c:v mpeg4"}, 10, 1, 20},
      {"c.mpg", {96, 64, 30, 0.5, "-c:v mpeg1video"}, 30, 1, 15},
      {"d.wmv", {32, 32, 15, 2.0, "-c:v wmv2"}, 15, 1, 30},
      {"e.mp4", {50, 30, 24, 1.5, "-r 24000/1001"}, 24000, 1001, 36},
  };
  const test::TempFolder folder;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto file = test::MakeTestVideo(folder / row.name, row.video);
    const auto info = ReadVideoMediaInfo(file);
    ASSERT_TRUE(info) << info.status().detail();
    EXPECT_EQ(info->width, row.video.width);
    EXPECT_EQ(info->height, row.video.height);
    EXPECT_EQ(info->frameRateNum, row.rateNum);
    EXPECT_EQ(info->frameRateDen, row.rateDen);
    // A container without a frame count gives it from duration x rate: within one frame.
    EXPECT_NEAR(static_cast<double>(info->frameCount), static_cast<double>(row.frames), 1.0);
    EXPECT_NEAR(static_cast<double>(info->durationMs), row.video.seconds * 1000.0, 100.0);
    EXPECT_GT(info->bitRate, 0);
  }
}

TEST(VideoMediaInfo, WhatIsNotAVideoFailsWithItsCause) {
  VANTOREL_NEED_FFMPEG();
  const test::TempFolder folder;
  const auto video = test::MakeTestVideo(folder / "whole.mp4", {64, 48, 25, 2.0, "-movflags +faststart"});
  const auto bytes = test::ReadBytes(video);
  test::WriteBytes(folder / "cut.mp4", std::span(bytes).first(200));
  test::WriteBytes(folder / "empty.mp4", {});
  folder.Write("notes.avi", "This is a plain text, not a video.\n");
  const std::string sound = "ffmpeg -nostdin -v error -y -f lavfi -i sine=duration=1 " +
                            test::QuoteForShell(folder / "sound.mp4");
  ASSERT_EQ(std::system(sound.c_str()), 0);
  // Wider than any sign's picture: refused before a frame is decoded.
  test::MakeTestVideo(folder / "wide.mp4", {kVideoMaxSide + 8, 16, 5, 0.2, ""});
  struct Row {
    const char* name;
    const char* because;
  };
  const Row rows[] = {{"missing.mp4", "No such file"}, {"empty.mp4", ""}, {"notes.avi", ""},
                      {"cut.mp4", ""},                 {"sound.mp4", "no video stream"},
                      {"wide.mp4", "picture size 8200 x 16"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto info = ReadVideoMediaInfo(folder / row.name);
    ASSERT_FALSE(info);
    EXPECT_NE(info.status().detail().find(row.name), std::string::npos) << info.status().detail();
    EXPECT_NE(info.status().detail().find(row.because), std::string::npos) << info.status().detail();
  }
}

}  // namespace
}  // namespace vantorel

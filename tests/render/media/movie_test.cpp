// Moving pictures: animation files frame by frame with their own intervals, a Flash movie through
// the animation of the same name, videos drawn in order and out of order (seeking) giving the
// decoder's frames, and the failures of OpenMovie.

#include <gtest/gtest.h>

#include <QImage>

#include <vector>

#include "app/text_ids.h"
#include "codecs/laf_file.h"
#include "codecs/video_decoder.h"
#include "render/media/movie.h"
#include "support/temp_folder.h"
#include "support/test_video.h"

namespace vantorel {
namespace {

QImage Solid(int width, int height, QRgb colour) {
  QImage picture(width, height, QImage::Format_RGB888);
  picture.fill(colour);
  return picture;
}

const QRgb kColours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)};
const int kDurations[] = {30, 0, 120, 50};

// Four frames of solid colours, 16 x 8, full colour.
void WriteAnimation(const std::filesystem::path& file) {
  auto laf = CLafFile::CreateFile(file, 16, 8, 0x77);
  ASSERT_TRUE(laf);
  for (int i = 0; i < 4; ++i) {
    laf->FrameNew(kDurations[i]);
    laf->FrameAddImgpt(0, 0, Solid(16, 8, kColours[i]));
    ASSERT_TRUE(laf->FrameSave());
  }
  ASSERT_TRUE(laf->CloseFile());
}

TEST(Movie, AnimationFileFramesCarryTheirOwnIntervals) {
  const test::TempFolder folder;
  WriteAnimation(folder / "a.laf");
  WriteAnimation(folder / "intro.laf");
  for (const char* name : {"a.laf", "intro.swf"}) {
    SCOPED_TRACE(name);
    Status failure;
    const auto movie = OpenMovie(folder / name, &failure);
    ASSERT_TRUE(movie) << failure.detail();
    EXPECT_EQ(movie->GetSize(), QSize(16, 8));
    EXPECT_EQ(movie->GetFrameCount(), 4);
    EXPECT_EQ(movie->GetCurrentFrame(), 0);
    EXPECT_EQ(movie->GetInterval(), 10);
    QImage current;
    movie->DrawCurrent(current);
    EXPECT_EQ(current.pixel(3, 3), kColours[0]);
    // Out of order, at an offset into a larger target: drawn at its own size whatever is asked.
    for (const int index : {2, 0, 3, 1}) {
      QImage target = Solid(20, 12, qRgb(1, 2, 3));
      ASSERT_TRUE(movie->DrawFrame(index, target, 2, 3, -1, -1));
      EXPECT_EQ(target.pixel(2, 3), kColours[index]);
      EXPECT_EQ(target.pixel(17, 10), kColours[index]);
      EXPECT_EQ(target.pixel(18, 10), qRgb(1, 2, 3));
      EXPECT_EQ(target.pixel(1, 3), qRgb(1, 2, 3));
      EXPECT_EQ(movie->GetInterval(), kDurations[index]);
      EXPECT_EQ(movie->GetCurrentFrame(), index);
    }
    QImage target;
    EXPECT_FALSE(movie->DrawFrame(4, target, 0, 0, -1, -1));
    EXPECT_FALSE(movie->DrawFrame(-1, target, 0, 0, -1, -1));
    movie->Release();
    EXPECT_EQ(movie->GetFrameCount(), 0);
    EXPECT_FALSE(movie->DrawFrame(0, target, 0, 0, -1, -1));
  }
}

TEST(Movie, VideoFramesInAndOutOfOrderAreTheDecodersFrames) {
  VANTOREL_NEED_FFMPEG();
  const test::TempFolder folder;
  const auto file = test::MakeTestVideo(folder / "v.mp4", {48, 32, 25, 1.2, "-g 8"});
  const std::vector<QImage> frames = test::DecodeAllFrames(file);
  ASSERT_EQ(frames.size(), 30U);

  Status failure;
  const auto movie = OpenMovie(file, &failure);
  ASSERT_TRUE(movie) << failure.detail();
  EXPECT_EQ(movie->GetSize(), QSize(48, 32));
  EXPECT_EQ(movie->GetFrameCount(), 30);
  EXPECT_EQ(movie->GetInterval(), 100);
  // In order, then jumps both ways: each drawn frame is the one asked for.
  for (const int index : {0, 1, 2, 17, 18, 5, 29, 0}) {
    SCOPED_TRACE(index);
    QImage target(48, 32, QImage::Format_RGB888);
    ASSERT_TRUE(movie->DrawFrame(index, target, 0, 0, -1, -1));
    EXPECT_TRUE(target == frames[static_cast<std::size_t>(index)]);
    EXPECT_EQ(movie->GetCurrentFrame(), index + 1);
    EXPECT_EQ(movie->GetInterval(), 40);
  }
  // DrawCurrent draws the next frame of the stream.
  QImage next;
  movie->DrawCurrent(next);
  EXPECT_TRUE(next == frames[1]);
  EXPECT_EQ(movie->GetCurrentFrame(), 2);
  // Scaled into a rectangle of a larger target.
  QImage target(40, 40, QImage::Format_RGB888);
  target.fill(Qt::black);
  ASSERT_TRUE(movie->DrawFrame(2, target, 4, 5, 24, 16));
  EXPECT_EQ(target.pixel(3, 5), qRgb(0, 0, 0));
  EXPECT_EQ(target.pixel(4, 21), qRgb(0, 0, 0));
  EXPECT_NE(target.copy(4, 5, 24, 16), QImage(24, 16, QImage::Format_RGB888));
  // Past the end nothing is drawn.
  EXPECT_FALSE(movie->DrawFrame(30, target, 0, 0, -1, -1));
}

TEST(Movie, WhatCannotBeShownOpensNothingAndSaysWhy) {
  VANTOREL_NEED_FFMPEG();
  const test::TempFolder folder;
  folder.Write("notes.txt", "text");
  folder.Write("fake.mp4", "not a video at all");
  folder.Write("fake.laf", "VLAF but not really");
  folder.Write("lonely.swf", "FWS");
  struct Row {
    const char* name;
    TextId text;
  };
  const Row rows[] = {{"notes.txt", kTextNotAMovie},
                      {"fake.mp4", kTextVideoUnreadable},
                      {"missing.avi", kTextVideoUnreadable},
                      {"fake.laf", kTextAnimationFileUnreadable},
                      {"lonely.swf", kTextFlashWithoutAnimation}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Status failure;
    EXPECT_EQ(OpenMovie(folder / row.name, &failure), nullptr);
    EXPECT_EQ(failure.text(), row.text);
    EXPECT_FALSE(failure.detail().empty());
  }
  EXPECT_EQ(OpenMovie(folder / "notes.txt"), nullptr);
}

}  // namespace
}  // namespace vantorel

// Re-rendering animation files and videos for another window: every frame is what PlacePicture
// draws, kept in the target's colour planes, with the source's durations; failures leave no
// half file and an earlier target as it was.

#include <gtest/gtest.h>

#include <QImage>

#include <atomic>
#include <vector>

#include "app/text_ids.h"
#include "codecs/laf_file.h"
#include "codecs/video_decoder.h"
#include "render/led_bitmap.h"
#include "render/media/laf_convert.h"
#include "render/place_picture.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "support/test_video.h"

namespace vantorel {
namespace {

// Every pixel different: a wrong source pixel or plane shows.
QImage Pattern(int width, int height, int seed) {
  QImage picture(width, height, QImage::Format_RGB888);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.setPixel(x, y, qRgb((x * 23 + seed) & 0xFF, (y * 41 + seed) & 0xFF, (x * y * 7 + seed) & 0xFF));
  }
  return picture;
}

// What the target should hold: the picture placed, then only the colour mode's planes.
QImage Expected(const QImage& source, QSize size, std::uint16_t colourMode, int mode) {
  CLedBitmap bitmap(size.width(), size.height(), colourMode);
  PlacePicture(bitmap, source, mode, false);
  QImage planes = bitmap.Image().copy();
  const int keep = (colourMode & 7) == 0 ? 7 : colourMode & 7;
  for (int y = 0; y < planes.height(); ++y) {
    for (int x = 0; x < planes.width(); ++x) {
      const QRgb pixel = planes.pixel(x, y);
      planes.setPixel(x, y, qRgb(keep & 1 ? qRed(pixel) : 0, keep & 2 ? qGreen(pixel) : 0, keep & 4 ? qBlue(pixel) : 0));
    }
  }
  return planes;
}

const int kDurations[] = {40, 250, 0};

void WriteSource(const std::filesystem::path& file) {
  auto laf = CLafFile::CreateFile(file, 20, 10, 0x77);
  ASSERT_TRUE(laf);
  for (int i = 0; i < 3; ++i) {
    laf->FrameNew(kDurations[i]);
    laf->FrameAddImgpt(0, 0, Pattern(20, 10, i * 60));
    ASSERT_TRUE(laf->FrameSave());
  }
  ASSERT_TRUE(laf->CloseFile());
}

TEST(LafConvert, AnimationIsRedrawnForEverySizeColourModeAndPlacement) {
  const test::TempFolder folder;
  WriteSource(folder / "source.laf");
  struct Row {
    QSize size;
    std::uint16_t colourMode;
    int placement;
  };
  const Row rows[] = {
      {{64, 32}, 0x77, kPlaceStretch}, {{64, 32}, 0x01, kPlaceCenter}, {{10, 10}, 0x03, kPlaceZoom},
      {{48, 48}, 0x71, kPlaceTile},    {{7, 3}, 0x07, kPlaceStretch},  {{20, 10}, 0x73, kPlaceCenter},
      {{33, 40}, 0x77, kPlaceZoom},    {{16, 16}, 0x02, 7},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.size.width() << "x" << row.size.height() << " mode " << row.colourMode
                                    << " placement " << row.placement);
    const auto target = folder / "target.laf";
    std::vector<int> told;
    ASSERT_TRUE(Laf_ConvertLafFile(target, row.size.width(), row.size.height(), row.colourMode, row.placement,
                                   folder / "source.laf", [&](int percent) { told.push_back(percent); }));
    CLafReader reader;
    ASSERT_TRUE(reader.Load(target));
    EXPECT_EQ(reader.GetInfo().width, row.size.width());
    EXPECT_EQ(reader.GetInfo().height, row.size.height());
    EXPECT_EQ(reader.GetInfo().colourMode, row.colourMode);
    EXPECT_EQ(reader.GetInfo().fileType, kLafAnimationFile);
    ASSERT_EQ(reader.FrameCount(), 3);
    for (int i = 0; i < 3; ++i) {
      const auto frame = reader.GetFrameImage(i);
      ASSERT_TRUE(frame);
      EXPECT_EQ(frame->interval, kDurations[i]);
      EXPECT_TRUE(frame->picture == Expected(Pattern(20, 10, i * 60), row.size, row.colourMode, row.placement))
          << "frame " << i;
    }
    EXPECT_EQ(told, (std::vector<int>{33, 66, 100}));
  }
}

TEST(LafConvert, VideoFramesAreAllWrittenWithTheirIntervals) {
  VANTOREL_NEED_FFMPEG();
  const test::TempFolder folder;
  const auto video = test::MakeTestVideo(folder / "v.avi", {40, 30, 25, 0.6, "-c:v mpeg4"});
  auto decoder = CVideoDecoder::Open(video);
  ASSERT_TRUE(decoder);
  std::vector<int> told;
  ASSERT_TRUE(Laf_ConvertLafFile(folder / "v.laf", 16, 16, 0x77, kPlaceZoom, video, [&](int p) { told.push_back(p); }));
  CLafReader reader;
  ASSERT_TRUE(reader.Load(folder / "v.laf"));
  ASSERT_EQ(reader.FrameCount(), 15);
  for (int i = 0; i < 15; ++i) {
    auto picture = decoder->NextFrame();
    ASSERT_TRUE(picture && !picture->isNull());
    const auto frame = reader.GetFrameImage(i);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->interval, 40);
    EXPECT_TRUE(frame->picture == Expected(*picture, {16, 16}, 0x77, kPlaceZoom)) << "frame " << i;
  }
  ASSERT_FALSE(told.empty());
  EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
  EXPECT_EQ(told.back(), 100);
}

TEST(LafConvert, ACancelStopsBeforeTheNextFrameAndLeavesTheTargetAsItWas) {
  VANTOREL_NEED_FFMPEG();
  const test::TempFolder folder;
  WriteSource(folder / "source.laf");
  const auto video = test::MakeTestVideo(folder / "v.mp4", {32, 32, 25, 1.0, ""});
  for (const auto& source : {folder / "source.laf", video}) {
    SCOPED_TRACE(source.string());
    folder.Write("old.laf", "the earlier target");
    std::atomic<bool> cancel = false;
    int told = 0;
    // Cancelled while the first frames are made, as the editor's Cancel button does it.
    const auto made = ConvertToLaf(folder / "old.laf", 16, 16, 0x77, kPlaceStretch, source, 49, [&](int) {
      if (++told == 1) cancel = true;
    }, &cancel);
    ASSERT_FALSE(made);
    EXPECT_EQ(made.status().text(), kTextConversionCancelled);
    EXPECT_LE(told, 2);
    EXPECT_EQ(folder.Read("old.laf"), "the earlier target");
  }
}

TEST(LafConvert, SmallWindowsOfALargeVideoGetThePixelsPlacePictureGives) {
  VANTOREL_NEED_FFMPEG();
  const test::TempFolder folder;
  // Only the rows a small window takes are converted; the pixels must not change for it.
  const auto video = test::MakeTestVideo(folder / "v.mp4", {320, 240, 10, 0.5, ""});
  const std::vector<QImage> frames = test::DecodeAllFrames(video);
  ASSERT_EQ(frames.size(), 5U);
  struct Row {
    QSize window;
    int placement;
  };
  const Row rows[] = {
      {{64, 32}, kPlaceStretch}, {{64, 64}, kPlaceZoom},    {{100, 20}, kPlaceZoom}, {{50, 40}, kPlaceCenter},
      {{7, 119}, kPlaceStretch}, {{16, 200}, kPlaceStretch}, {{64, 32}, kPlaceTile}, {{400, 300}, kPlaceCenter},
      {{1, 1}, kPlaceZoom},      {{64, 32}, 9},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.window.width() << "x" << row.window.height() << " placement " << row.placement);
    const auto target = folder / "t.laf";
    ASSERT_TRUE(Laf_ConvertLafFile(target, row.window.width(), row.window.height(), 0x77, row.placement, video));
    CLafReader reader;
    ASSERT_TRUE(reader.Load(target));
    ASSERT_EQ(reader.FrameCount(), 5);
    for (int i = 0; i < 5; ++i) {
      EXPECT_TRUE(reader.GetFrameImage(i)->picture ==
                  Expected(frames[static_cast<std::size_t>(i)], row.window, 0x77, row.placement))
          << "frame " << i;
    }
  }
}

TEST(LafConvert, FailuresLeaveNoHalfFileAndTheOldTargetAsItWas) {
  VANTOREL_NEED_FFMPEG();
  const test::TempFolder folder;
  WriteSource(folder / "source.laf");
  const auto video = test::MakeTestVideo(folder / "whole.mp4", {32, 32, 25, 1.0, ""});
  const auto bytes = test::ReadBytes(video);
  test::WriteBytes(folder / "cut.mp4", std::span(bytes).first(bytes.size() / 3));
  auto laf = test::ReadBytes(folder / "source.laf");
  laf.resize(laf.size() - 5);
  test::WriteBytes(folder / "cut.laf", laf);
  folder.Write("picture.gif", "GIF89a");
  struct Row {
    const char* source;
    const char* target;
    TextId text;
  };
  const Row rows[] = {
      {"cut.mp4", "old.laf", kTextVideoUnreadable},
      {"missing.avi", "old.laf", kTextVideoUnreadable},
      {"cut.laf", "old.laf", kTextAnimationFileUnreadable},
      {"picture.gif", "old.laf", kTextNotAMovie},
      {"source.laf", "no-such-folder/new.laf", kTextAnimationNotWritten},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.source);
    folder.Write("old.laf", "the earlier target");
    const Status converted = Laf_ConvertLafFile(folder / row.target, 16, 16, 0x77, kPlaceStretch, folder / row.source);
    ASSERT_FALSE(converted);
    EXPECT_EQ(converted.text(), row.text) << converted.detail();
    EXPECT_EQ(folder.Read("old.laf"), "the earlier target");
    // Nothing else is left in the folder: no temporary file.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) ++files;
    EXPECT_EQ(files, 6);
  }
  // Sizes a window cannot have.
  for (const QSize size : {QSize(0, 8), QSize(8, -1), QSize(5000, 8)}) {
    EXPECT_EQ(Laf_ConvertLafFile(folder / "x.laf", size.width(), size.height(), 0x77, 0, folder / "source.laf").text(),
              kTextAnimationNotWritten);
  }
}

}  // namespace
}  // namespace vantorel

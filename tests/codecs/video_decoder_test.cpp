// Video decoding frame by frame: the frames and their intervals in several containers, seeking
// that lands on exactly the frame sequential decoding gives, scaling, and clear failures for what
// cannot be decoded.

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <vector>

#include "codecs/video_decoder.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "support/test_video.h"

namespace vantorel {
namespace {

TEST(VideoDecoder, FramesAndIntervalsInEveryContainer) {
  VANTOREL_NEED_FFMPEG();
  struct Row {
    const char* name;
    test::TestVideo video;
    int frames;
    int interval;  // ms
  };
  const Row rows[] = {
      {"a.mp4", {64, 48, 25, 1.0, ""}, 25, 40},
      {"b.avi", {80, 60, 10, 1.0, "-c:v mpeg4"}, 10, 100},
      {"c.mpg", {48, 32, 30, 1.0, "-c:v mpeg1video"}, 30, 33},
      {"d.wmv", {32, 32, 15, 1.0, "-c:v wmv2"}, 15, 67},
      {"e.mp4", {40, 30, 50, 0.5, "-bf 2"}, 25, 20},
  };
  const test::TempFolder folder;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto decoder = CVideoDecoder::Open(test::MakeTestVideo(folder / row.name, row.video));
    ASSERT_TRUE(decoder) << decoder.status().detail();
    EXPECT_EQ(decoder->Width(), row.video.width);
    EXPECT_EQ(decoder->Height(), row.video.height);
    // An MPEG program stream gives no frame count and only an estimate of its duration.
    EXPECT_NEAR(static_cast<double>(decoder->FrameCount()), row.frames, row.video.extra == "-c:v mpeg1video" ? 5 : 0);
    EXPECT_NEAR(decoder->FrameRate(), row.video.rate, 1e-9);
    int count = 0;
    for (;; ++count) {
      EXPECT_EQ(decoder->Position(), count);
      auto frame = decoder->NextFrame();
      ASSERT_TRUE(frame) << frame.status().detail();
      if (frame->isNull()) break;
      EXPECT_EQ(frame->format(), QImage::Format_RGB888);
      EXPECT_EQ(frame->size(), QSize(row.video.width, row.video.height));
      // mpeg1's 33.3 ms timestamps round to 33 or 34 ms.
      EXPECT_NEAR(decoder->Interval(), row.interval, 1) << "frame " << count;
    }
    EXPECT_EQ(count, row.frames);
    // After the end it stays at the end.
    auto after = decoder->NextFrame();
    ASSERT_TRUE(after);
    EXPECT_TRUE(after->isNull());
  }
}

TEST(VideoDecoder, SeekGivesExactlyTheFrameOfSequentialDecoding) {
  VANTOREL_NEED_FFMPEG();
  const test::TempFolder folder;
  struct Clip {
    const char* name;
    test::TestVideo video;
  };
  // Key frames every 10 frames; the H.264 clip has B-frames, so decoding order is not display order.
  const Clip clips[] = {{"k.mp4", {64, 48, 25, 2.0, "-g 10 -bf 2"}}, {"k.avi", {64, 48, 25, 2.0, "-c:v mpeg4 -g 10"}}};
  for (const Clip& clip : clips) {
    SCOPED_TRACE(clip.name);
    const auto file = test::MakeTestVideo(folder / clip.name, clip.video);
    const std::vector<QImage> frames = test::DecodeAllFrames(file);
    ASSERT_EQ(frames.size(), 50U);
    auto decoder = CVideoDecoder::Open(file);
    ASSERT_TRUE(decoder);
    // Forward, backward, onto key frames, just after and before them, the first and the last.
    for (const int target : {37, 3, 10, 9, 11, 0, 49, 20, 21}) {
      SCOPED_TRACE(target);
      ASSERT_TRUE(decoder->Seek(target));
      EXPECT_EQ(decoder->Position(), target);
      for (int i = target; i < std::min(target + 3, 50); ++i) {
        auto frame = decoder->NextFrame();
        ASSERT_TRUE(frame) << frame.status().detail();
        EXPECT_TRUE(*frame == frames[static_cast<std::size_t>(i)]) << "frame " << i;
      }
    }
    // Frames differ from one another, so equal pictures above mean the right frame.
    EXPECT_FALSE(frames[9] == frames[10]);
  }
}

TEST(VideoDecoder, ScaledFramesHaveTheSizeAskedFor) {
  VANTOREL_NEED_FFMPEG();
  const test::TempFolder folder;
  auto decoder = CVideoDecoder::Open(test::MakeTestVideo(folder / "s.mp4", {160, 120, 10, 0.5, ""}));
  ASSERT_TRUE(decoder);
  for (const QSize size : {QSize(16, 8), QSize(160, 120), QSize(300, 7)}) {
    auto frame = decoder->NextFrame(size.width(), size.height());
    ASSERT_TRUE(frame) << frame.status().detail();
    EXPECT_EQ(frame->size(), size);
  }
  for (const QSize size : {QSize(0, 8), QSize(8, -1)}) EXPECT_FALSE(decoder->NextFrame(size.width(), size.height()));
  for (const std::int64_t frame : {-1, 5, 1000}) EXPECT_FALSE(decoder->Seek(frame)) << frame;
  EXPECT_TRUE(decoder->Seek(4));
}

TEST(VideoDecoder, BrokenFilesFailOrStopEarlyWithoutCrashing) {
  VANTOREL_NEED_FFMPEG();
  const test::TempFolder folder;
  const auto ending = test::MakeTestVideo(folder / "end.mp4", {64, 48, 25, 2.0, ""});
  const auto front = test::MakeTestVideo(folder / "front.mp4", {64, 48, 25, 2.0, "-movflags +faststart"});
  const auto avi = test::MakeTestVideo(folder / "whole.avi", {64, 48, 25, 2.0, "-c:v mpeg4"});
  const auto endBytes = test::ReadBytes(ending);
  const auto frontBytes = test::ReadBytes(front);
  const auto aviBytes = test::ReadBytes(avi);
  // Its index at the end, a cut mp4 is not a video at all.
  test::WriteBytes(folder / "cut-end.mp4", std::span(endBytes).first(endBytes.size() / 2));
  EXPECT_FALSE(CVideoDecoder::Open(folder / "cut-end.mp4"));
  folder.Write("text.mp4", "not a video");
  EXPECT_FALSE(CVideoDecoder::Open(folder / "text.mp4"));
  // With the index first, or in an AVI, the frames before the cut decode and the rest are missing.
  test::WriteBytes(folder / "cut-front.mp4", std::span(frontBytes).first(frontBytes.size() / 2));
  test::WriteBytes(folder / "cut.avi", std::span(aviBytes).first(aviBytes.size() / 2));
  for (const char* name : {"cut-front.mp4", "cut.avi"}) {
    SCOPED_TRACE(name);
    auto decoder = CVideoDecoder::Open(folder / name);
    if (!decoder) continue;  // refused whole: as good
    int frames = 0;
    for (;;) {
      auto frame = decoder->NextFrame();
      if (!frame || frame->isNull()) break;
      EXPECT_EQ(frame->size(), QSize(64, 48));
      ++frames;
    }
    EXPECT_LT(frames, 50);
    // Seeking past what is there fails, or lands on a frame; it neither hangs nor crashes.
    if (decoder->Seek(decoder->FrameCount() - 1)) {
      auto frame = decoder->NextFrame();
      ASSERT_TRUE(frame);
      EXPECT_FALSE(frame->isNull());
    }
  }
}

TEST(VideoDecoder, RowsComeOutAsInTheWholeFrameInEveryPixelFormat) {
  VANTOREL_NEED_FFMPEG();
  struct Row {
    const char* name;
    test::TestVideo video;
  };
  // Odd sizes too: the last chroma row of 4:2:0 serves one luma row only (such frames are
  // converted whole). A "-pix_fmt" given again wins over the first.
  const Row rows[] = {
      {"yuv420p.mp4", {38, 30, 10, 0.3, ""}},
      {"yuv422p.mp4", {38, 30, 10, 0.3, "-pix_fmt yuv422p"}},
      {"yuv444p.mp4", {38, 30, 10, 0.3, "-pix_fmt yuv444p"}},
      {"yuv420p.nut", {37, 29, 10, 0.3, "-c:v rawvideo"}},
      {"yuv410p.nut", {37, 29, 10, 0.3, "-pix_fmt yuv410p -c:v rawvideo"}},
      {"yuv410p-even.nut", {40, 32, 10, 0.3, "-pix_fmt yuv410p -c:v rawvideo"}},
      {"nv12.nut", {37, 29, 10, 0.3, "-pix_fmt nv12 -c:v rawvideo"}},
      {"nv12-even.nut", {40, 32, 10, 0.3, "-pix_fmt nv12 -c:v rawvideo"}},
      {"yuva420p.nut", {37, 29, 10, 0.3, "-pix_fmt yuva420p -c:v rawvideo"}},
      {"yuva420p-even.nut", {40, 30, 10, 0.3, "-pix_fmt yuva420p -c:v rawvideo"}},
      {"gray.nut", {37, 29, 10, 0.3, "-pix_fmt gray -c:v rawvideo"}},
      {"rgb24.nut", {37, 29, 10, 0.3, "-pix_fmt rgb24 -c:v rawvideo"}},
      {"yuyv422.nut", {38, 29, 10, 0.3, "-pix_fmt yuyv422 -c:v rawvideo"}},
      {"pal8.nut", {37, 29, 10, 0.3, "-pix_fmt pal8 -c:v rawvideo"}},
  };
  const test::TempFolder folder;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto decoder = CVideoDecoder::Open(test::MakeTestVideo(folder / row.name, row.video));
    ASSERT_TRUE(decoder) << decoder.status().detail();
    const int height = row.video.height;
    std::vector<int> all(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) all[static_cast<std::size_t>(y)] = y;
    const std::vector<int> reversed(all.rbegin(), all.rend());
    const int last = height - 1;
    const std::vector<std::vector<int>> picks = {all, reversed, {1, 3, 5, 27}, {last}, {0, 0, 7, 7, 7, last}, {13, 2}};
    for (int frame = 0; frame < 3; ++frame) {
      auto advanced = decoder->Advance();
      ASSERT_TRUE(advanced && *advanced);
      auto whole = decoder->CurrentFrame();
      ASSERT_TRUE(whole) << whole.status().detail();
      for (const std::vector<int>& pick : picks) {
        auto picked = decoder->CurrentRows(pick);
        ASSERT_TRUE(picked) << picked.status().detail();
        ASSERT_EQ(picked->size(), QSize(row.video.width, static_cast<int>(pick.size())));
        for (std::size_t j = 0; j < pick.size(); ++j) {
          EXPECT_TRUE(std::equal(picked->constScanLine(static_cast<int>(j)),
                                 picked->constScanLine(static_cast<int>(j)) + 3 * row.video.width,
                                 whole->constScanLine(pick[j])))
              << "frame " << frame << ", row " << pick[j];
        }
      }
    }
    for (const std::vector<int>& wrong : {std::vector<int>{-1}, std::vector<int>{0, height}}) {
      EXPECT_FALSE(decoder->CurrentRows(wrong));
    }
  }
}

TEST(VideoDecoder, AdvanceKeepsTheLastFrameCurrent) {
  VANTOREL_NEED_FFMPEG();
  const test::TempFolder folder;
  const auto file = test::MakeTestVideo(folder / "a.mp4", {32, 24, 10, 0.3, ""});
  auto decoder = CVideoDecoder::Open(file);
  ASSERT_TRUE(decoder);
  EXPECT_FALSE(decoder->CurrentFrame());  // nothing decoded yet
  const std::vector<QImage> frames = test::DecodeAllFrames(file);
  ASSERT_EQ(frames.size(), 3U);
  for (std::size_t i = 0; i < 3; ++i) {
    auto advanced = decoder->Advance();
    ASSERT_TRUE(advanced && *advanced);
    EXPECT_EQ(decoder->Position(), static_cast<std::int64_t>(i + 1));
    EXPECT_EQ(decoder->Interval(), 100);
    // Asked twice, or not at all: the same frame each time.
    if (i != 1) {
      EXPECT_TRUE(*decoder->CurrentFrame() == frames[i]);
      EXPECT_TRUE(*decoder->CurrentFrame() == frames[i]);
    }
    EXPECT_EQ(decoder->CurrentFrame(8, 6)->size(), QSize(8, 6));
  }
  auto ended = decoder->Advance();
  ASSERT_TRUE(ended);
  EXPECT_FALSE(*ended);
  EXPECT_TRUE(*decoder->CurrentFrame() == frames[2]);
  EXPECT_FALSE(decoder->CurrentFrame(0, 6));
  // After a seek the frame sought becomes current with the next Advance.
  ASSERT_TRUE(decoder->Seek(1));
  EXPECT_FALSE(decoder->CurrentFrame());
  ASSERT_TRUE(*decoder->Advance());
  EXPECT_TRUE(*decoder->CurrentFrame() == frames[1]);
}

}  // namespace
}  // namespace vantorel

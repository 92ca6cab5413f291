// Animation items: the frames of a GIF (composed by the codecs) or of an animation file, each
// drawn at the window's size by the display mode, with its delay; and what an unreadable file
// gives.

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/text_ids.h"
#include "codecs/laf_file.h"
#include "codecs/picture_file.h"
#include "render/item_pages.h"
#include "render/media/item_frames.h"
#include "render/place_picture.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

constexpr std::uint16_t kFullColour = 0x77;

QImage Filled(int width, int height, QRgb colour) {
  QImage picture(width, height, QImage::Format_RGB888);
  picture.fill(colour);
  return picture;
}

ItemRenderSettings Settings(const std::filesystem::path& folder = {}) {
  ItemRenderSettings settings;
  settings.colourMode = kFullColour;
  settings.folder = folder;
  return settings;
}

struct Drawn {
  std::vector<CLedBitmap> frames;
  std::vector<int> delays;
};

Drawn AllFrames(const tagItemPart& item, QSize window, const std::filesystem::path& folder = {}) {
  Drawn drawn;
  const Status status = ForEachItemFrame(item, window, Settings(folder), [&drawn](const CLedBitmap& frame, int delay) {
    drawn.frames.push_back(frame);
    drawn.delays.push_back(delay);
    return true;
  });
  EXPECT_TRUE(status.ok()) << status.detail();
  return drawn;
}

tagItemPart AnimationItem(const std::string& file, int mode) {
  tagItemPart item;
  item.actType = kKindAnimation;
  item.media = file;
  item.showMode = static_cast<std::uint16_t>(mode);
  return item;
}

class AnimationItemTest : public ::testing::Test {
protected:
  void SetUp() override {
    Animation animation;
    animation.frames = {{Filled(8, 4, qRgb(255, 0, 0)), 100},
                        {Filled(8, 4, qRgb(0, 255, 0)), 200},
                        {Filled(8, 4, qRgb(0, 0, 255)), 300}};
    ASSERT_TRUE(WriteGif(m_folder / "three.gif", animation).ok());
  }
  test::TempFolder m_folder;
};

TEST_F(AnimationItemTest, EveryFrameIsPlacedByTheDisplayModeWithItsDelay) {
  struct Row {
    int mode;
    QSize window;
    QPoint inside;   // a pixel the picture covers
    QPoint outside;  // one it leaves black (-1: none)
  };
  const Row rows[] = {
      {kPlaceCenter, {16, 8}, {8, 4}, {0, 0}},
      {kPlaceZoom, {16, 16}, {8, 5}, {8, 15}},
      {kPlaceStretch, {16, 16}, {15, 15}, {-1, -1}},
      {kPlaceTile, {20, 10}, {19, 9}, {-1, -1}},
  };
  const LedColour colours[] = {0x0000FF, 0x00FF00, 0xFF0000};
  for (const Row& row : rows) {
    const Drawn drawn = AllFrames(AnimationItem((m_folder / "three.gif").string(), row.mode), row.window);
    ASSERT_EQ(drawn.frames.size(), 3u) << row.mode;
    EXPECT_EQ(drawn.delays, (std::vector<int>{100, 200, 300})) << row.mode;
    for (std::size_t i = 0; i < 3; ++i) {
      const CLedBitmap& frame = drawn.frames[i];
      EXPECT_EQ(QSize(frame.Width(), frame.Height()), row.window);
      EXPECT_EQ(frame.Pixel(row.inside.x(), row.inside.y()), colours[i]) << "mode " << row.mode << " frame " << i;
      if (row.outside.x() >= 0) {
        EXPECT_EQ(frame.Pixel(row.outside.x(), row.outside.y()), 0u) << row.mode;
      }
    }
  }
}

TEST_F(AnimationItemTest, AnInvertedItemInvertsEveryFrame) {
  tagItemPart item = AnimationItem((m_folder / "three.gif").string(), kPlaceStretch);
  item.negative = 1;
  const Drawn drawn = AllFrames(item, {4, 4});
  ASSERT_EQ(drawn.frames.size(), 3u);
  EXPECT_EQ(drawn.frames[0].Pixel(1, 1), 0xFFFF00u);
  EXPECT_EQ(drawn.frames[2].Pixel(1, 1), 0x00FFFFu);
}

TEST_F(AnimationItemTest, ARelativeFileIsTakenFromTheFolderAndThePageIsTheFirstFrame) {
  const Expected<std::vector<CLedBitmap>> pages =
      RenderItemPages(AnimationItem("three.gif", kPlaceStretch), {8, 8}, Settings(m_folder.Path()));
  ASSERT_TRUE(pages.ok()) << pages.status().detail();
  ASSERT_EQ(pages->size(), 1u);
  EXPECT_EQ((*pages)[0].Pixel(7, 7), 0x0000FFu);
  EXPECT_TRUE(CanRenderItemKind(kKindAnimation));
}

TEST_F(AnimationItemTest, TheSinkCanStopTheFrames) {
  int seen = 0;
  const Status status = ForEachItemFrame(AnimationItem((m_folder / "three.gif").string(), kPlaceCenter), {8, 4},
                                         Settings(), [&seen](const CLedBitmap&, int) { return ++seen < 2; });
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(seen, 2);
}

TEST_F(AnimationItemTest, TransparentPartsOfAGifFrameShowTheFrameBefore) {
  if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick is not installed";
  // A red 8 x 8 frame, then a 4 x 4 green square at (4, 4) on a transparent frame, kept (disposal 1).
  const std::string file = (m_folder / "over.gif").string();
  const std::string command = "convert -delay 10 -size 8x8 xc:red -dispose none -delay 20 "
                              "\\( -size 8x8 xc:none -fill lime -draw 'rectangle 4,4 7,7' \\) '" + file + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const Drawn drawn = AllFrames(AnimationItem(file, kPlaceCenter), {8, 8});
  ASSERT_EQ(drawn.frames.size(), 2u);
  EXPECT_EQ(drawn.delays, (std::vector<int>{100, 200}));
  EXPECT_EQ(drawn.frames[1].Pixel(0, 0), 0x0000FFu);  // the red frame shows through
  EXPECT_EQ(drawn.frames[1].Pixel(5, 5), 0x00FF00u);
}

TEST_F(AnimationItemTest, AnAnimationFileGivesItsFramesAndDurations) {
  const std::filesystem::path file = m_folder / "clip.laf";
  {
    Expected<CLafFile> laf = CLafFile::CreateFile(file, 4, 2, kFullColour);
    ASSERT_TRUE(laf.ok()) << laf.status().detail();
    for (const auto& [colour, duration] : {std::pair{qRgb(255, 0, 0), 80}, std::pair{qRgb(0, 0, 255), 120}}) {
      laf->FrameNew(duration);
      laf->FrameAddImgpt(0, 0, Filled(4, 2, colour));
      ASSERT_TRUE(laf->FrameSave().ok());
    }
    ASSERT_TRUE(laf->CloseFile().ok());
  }
  const Drawn drawn = AllFrames(AnimationItem(file.string(), kPlaceStretch), {8, 4});
  ASSERT_EQ(drawn.frames.size(), 2u);
  EXPECT_EQ(drawn.delays, (std::vector<int>{80, 120}));
  EXPECT_EQ(drawn.frames[0].Pixel(7, 3), 0x0000FFu);
  EXPECT_EQ(drawn.frames[1].Pixel(0, 0), 0xFF0000u);
}

TEST_F(AnimationItemTest, FilesThatCannotBeReadFailWithTheirCause) {
  m_folder.Write("cut.gif", "GIF89a\x08");
  m_folder.Write("cut.laf", "VLAF\x01");
  m_folder.Write("text.gif", "not a picture at all");
  for (const char* name : {"missing.gif", "cut.gif", "cut.laf", "text.gif"}) {
    const Status status = ForEachItemFrame(AnimationItem((m_folder / name).string(), kPlaceCenter), {8, 8}, Settings(),
                                           [](const CLedBitmap&, int) { return true; });
    EXPECT_FALSE(status.ok()) << name;
    EXPECT_EQ(status.text(), kTextAnimationFileUnreadable) << name;
    EXPECT_NE(status.detail().find(name), std::string::npos) << name << ": " << status.detail();
  }
}

TEST_F(AnimationItemTest, AVideoItemGivesEveryFramePlacedWithItsInterval) {
  if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) GTEST_SKIP() << "ffmpeg is not installed";
  const std::string file = (m_folder / "clip.mp4").string();
  ASSERT_EQ(std::system(("ffmpeg -loglevel error -y -f lavfi -i testsrc=size=160x120:rate=25:duration=1 -pix_fmt yuv420p '" +
                         file + "'").c_str()),
            0);
  tagItemPart item = AnimationItem(file, kPlaceZoom);
  item.actType = kKindVideo;
  const Drawn drawn = AllFrames(item, {48, 48});
  ASSERT_EQ(drawn.frames.size(), 25u);
  EXPECT_EQ(drawn.delays, std::vector<int>(25, 40));
  // 4:3 zoomed into a square: 48 x 36 with 6 black rows above and below.
  for (const CLedBitmap& frame : {drawn.frames.front(), drawn.frames.back()}) {
    EXPECT_EQ(frame.Pixel(24, 2), 0u);
    EXPECT_EQ(frame.Pixel(24, 45), 0u);
    EXPECT_NE(frame.Pixel(10, 10), 0u);
  }
  EXPECT_FALSE(drawn.frames.front().Image() == drawn.frames.back().Image()) << "the test picture moves";

  item.media = (m_folder / "missing.mp4").string();
  const Status missing = ForEachItemFrame(item, {48, 48}, Settings(), [](const CLedBitmap&, int) { return true; });
  EXPECT_EQ(missing.text(), kTextVideoUnreadable);
}

TEST_F(AnimationItemTest, AWindowWithoutAreaHasNoFrames) {
  for (const QSize window : {QSize(0, 8), QSize(8, 0)}) {
    EXPECT_TRUE(AllFrames(AnimationItem((m_folder / "three.gif").string(), kPlaceCenter), window).frames.empty());
  }
}

}  // namespace
}  // namespace vantorel

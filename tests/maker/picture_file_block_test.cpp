#include "maker/picture_file_block.h"

#include <gtest/gtest.h>

#include "app/text_ids.h"
#include "codecs/gif_codec.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr LedColour kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

CLedBitmap Solid(int width, int height, LedColour colour, std::uint16_t colourMode = 0x77, bool indexed = false) {
  CLedBitmap page(width, height, colourMode, indexed);
  page.Fill(colour);
  return page;
}

LedColour At(const QImage& picture, int x, int y) { return FromQRgb(picture.pixel(x, y)); }

// A GIF of `frames` frames of width x height: a white border two pixels wide on the left, the top
// left quarter red, the bottom left blue, the right half green. Frame i stays (i + 1) x 100 ms.
Bytes QuartersGif(int width, int height, int frames) {
  QImage picture(width, height, QImage::Format_RGB888);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const LedColour colour = x < 2 ? 0xFFFFFF : x >= width / 2 ? kGreen : y < height / 2 ? kRed : kBlue;
      picture.setPixel(x, y, ToQRgb(colour));
    }
  }
  Animation animation;
  for (int i = 0; i < frames; ++i) animation.frames.push_back({picture, 100 * (i + 1)});
  animation.loopCount = 3;
  return EncodeGif(animation).value();
}

TEST(PictureFileBlock, ReversesThePagesOfRightGoingScrolls) {
  struct Row {
    std::uint16_t showType;
    bool reverses;
  };
  const Row rows[] = {{12, true}, {15, true}, {0x800C, true}, {0x800F, true}, {11, false},
                      {14, false}, {0, false}, {0x8000, false}, {0x400C, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.showType);
    EXPECT_EQ(ReversesPages(row.showType), row.reverses);
  }
}

TEST(PictureFileBlock, MakesAFrameAPageInTheOrderAsked) {
  const std::vector<CLedBitmap> pages = {Solid(4, 2, kRed), Solid(4, 2, kGreen), Solid(4, 2, kBlue, 0x07, true)};
  struct Row {
    bool reversed;
    std::array<LedColour, 3> colours;
  };
  const Row rows[] = {{false, {kRed, kGreen, kBlue}}, {true, {kBlue, kGreen, kRed}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.reversed);
    const Expected<Bytes> file = PictureFileOfPages(pages, row.reversed);
    ASSERT_TRUE(file.ok()) << file.status().detail();
    const Expected<Animation> decoded = DecodeGif(*file);
    ASSERT_TRUE(decoded.ok());
    ASSERT_EQ(decoded->frames.size(), 3u);
    EXPECT_EQ(decoded->loopCount, 0);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(decoded->frames[i].picture.size(), QSize(4, 2));
      EXPECT_EQ(At(decoded->frames[i].picture, 3, 1), row.colours[i]) << i;
      EXPECT_EQ(decoded->frames[i].delayMs, kPictureFilePageDelayMs);
    }
  }
}

TEST(PictureFileBlock, OnePageIsOneStill) {
  const CLedBitmap page = Solid(5, 3, 0x336699);
  const Expected<Bytes> file = PictureFileOfPages(std::span(&page, 1), false);
  ASSERT_TRUE(file.ok());
  const Expected<Animation> decoded = DecodeGif(*file);
  ASSERT_TRUE(decoded.ok());
  ASSERT_EQ(decoded->frames.size(), 1u);
  EXPECT_EQ(decoded->frames[0].delayMs, 0);
  EXPECT_EQ(At(decoded->frames[0].picture, 4, 2), 0x336699u);
}

TEST(PictureFileBlock, RefusesNoPagesAndPagesOfTwoSizes) {
  EXPECT_EQ(PictureFileOfPages({}, false).status().text(), kTextNoPicturePages);
  const std::vector<CLedBitmap> pages = {Solid(4, 2, kRed), Solid(4, 3, kRed)};
  EXPECT_EQ(PictureFileOfPages(pages, false).status().text(), kTextPictureFileNotMade);
}

Bytes Concat(std::initializer_list<Bytes> pieces) {
  Bytes all;
  for (const Bytes& piece : pieces) all.insert(all.end(), piece.begin(), piece.end());
  return all;
}

TEST(GifOutline, CountsTheFramesOfTheBlockStructure) {
  const Bytes header = {'G', 'I', 'F', '8', '9', 'a', 3, 0, 2, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
  const Bytes control = {0x21, 0xF9, 4, 0, 10, 0, 0, 0};
  const Bytes loop = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
  const Bytes image = {0x2C, 0, 0, 0, 0, 3, 0, 2, 0, 0x00, 2, 2, 0x4C, 0x01, 0};
  const Bytes localTable = {0x2C, 0, 0, 0, 0, 3, 0, 2, 0, 0x81, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 2, 1, 0x4C, 0};
  const Bytes trailer = {0x3B};
  const Bytes whole = Concat({header, loop, control, image, control, localTable, trailer});
  struct Row {
    const char* name;
    Bytes gif;
    std::optional<int> frames;
  };
  const Row rows[] = {
      {"two frames, a loop and delays", whole, 2},
      {"cut inside the second frame's data", Bytes(whole.begin(), whole.end() - 3), 2},
      {"cut inside the second image descriptor", Concat({header, image, Bytes(localTable.begin(), localTable.begin() + 6)}), 1},
      {"without a trailer", Concat({header, image}), 1},
      {"a damaged block after the first frame", Concat({header, image, {0x00}, image, trailer}), 1},
      {"GIF87a without a colour table", Concat({{'G', 'I', 'F', '8', '7', 'a', 3, 0, 2, 0, 0, 0, 0}, image, trailer}), 1},
      {"no frame", Concat({header, control, trailer}), std::nullopt},
      {"a screen descriptor cut short", Bytes(header.begin(), header.begin() + 9), std::nullopt},
      {"not a GIF", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::optional<GifOutline> outline = OutlineOfGif(row.gif);
    ASSERT_EQ(outline.has_value(), row.frames.has_value());
    if (!outline) continue;
    EXPECT_EQ(outline->frames, *row.frames);
    EXPECT_EQ(outline->width, 3);
    EXPECT_EQ(outline->height, 2);
  }
  const std::optional<GifOutline> encoded = OutlineOfGif(QuartersGif(20, 10, 7));
  ASSERT_TRUE(encoded.has_value());
  EXPECT_EQ(encoded->frames, 7);
  EXPECT_EQ(encoded->width, 20);
  EXPECT_EQ(encoded->height, 10);
}

TEST(GifAnimationFile, PassesOnAFileThatFitsTheWindowInEitherDirection) {
  test::TempFolder temp;
  const Bytes gif = QuartersGif(20, 10, 2);
  const auto file = temp.WriteBytes("a.gif", gif);
  struct Row {
    const char* name;
    int width, height;
  };
  const Row rows[] = {{"as high", 16, 10}, {"higher", 8, 40}, {"as wide", 20, 4}, {"wider", 64, 2}, {"larger", 64, 32}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Expected<GifAnimationBlock> block = GifAnimationFile(file, row.width, row.height, 2);
    ASSERT_TRUE(block.ok()) << block.status().detail();
    EXPECT_EQ(block->bytes, gif);
    EXPECT_EQ(block->frames, 2);
    EXPECT_EQ(block->width, 20);
    EXPECT_EQ(block->height, 10);
  }
}

TEST(GifAnimationFile, PlacesEveryFrameOfALargerFileIntoTheWindow) {
  test::TempFolder temp;
  const auto file = temp.WriteBytes("big.gif", QuartersGif(20, 10, 3));
  struct Row {
    const char* name;
    std::uint16_t showMode;
    LedColour left;    // pixel (0, 2) of the 10 x 5 window
    LedColour right;   // pixel (9, 4)
  };
  const Row rows[] = {
      {"centred at 1:1: the middle of the picture", 0, kRed, kGreen},
      {"stretched: the whole picture", 2, 0xFFFFFF, kGreen},
      {"the low four bits choose", 0x12, 0xFFFFFF, kGreen},
      {"any other mode: the top left at 1:1", 5, 0xFFFFFF, kRed},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Expected<GifAnimationBlock> block = GifAnimationFile(file, 10, 5, row.showMode);
    ASSERT_TRUE(block.ok()) << block.status().detail();
    EXPECT_EQ(block->frames, 3);
    EXPECT_EQ(block->width, 10);
    EXPECT_EQ(block->height, 5);
    const Expected<Animation> decoded = DecodeGif(block->bytes);
    ASSERT_TRUE(decoded.ok());
    ASSERT_EQ(decoded->frames.size(), 3u);
    EXPECT_EQ(decoded->loopCount, 3);
    for (std::size_t i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      const QImage& picture = decoded->frames[i].picture;
      ASSERT_EQ(picture.size(), QSize(10, 5));
      EXPECT_EQ(decoded->frames[i].delayMs, 100 * static_cast<int>(i + 1));
      EXPECT_EQ(At(picture, 0, 2), row.left);
      EXPECT_EQ(At(picture, 9, 4), row.right);
    }
  }
}

TEST(GifAnimationFile, RefusesWhatIsNoReadableGif) {
  test::TempFolder temp;
  Bytes cut = QuartersGif(20, 10, 1);
  cut.resize(12);
  struct Row {
    const char* name;
    std::filesystem::path file;
  };
  const Row rows[] = {
      {"missing", temp / "missing.gif"},
      {"a folder", temp.Path()},
      {"text", temp.Write("text.gif", "not a picture at all")},
      {"a PNG header", temp.Write("p.gif", "\x89PNG\r\n\x1A\n0000000000000")},
      {"cut before the first frame", temp.WriteBytes("cut.gif", cut)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Expected<GifAnimationBlock> block = GifAnimationFile(row.file, 10, 5, 0);
    EXPECT_FALSE(block.ok());
    EXPECT_EQ(block.status().text(), kTextAnimationFileUnreadable);
  }
}

}  // namespace
}  // namespace vantorel

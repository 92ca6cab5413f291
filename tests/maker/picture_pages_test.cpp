#include "maker/picture_pages.h"

#include <gtest/gtest.h>

#include <utility>

#include "app/text_ids.h"
#include "maker/program_file_writer.h"

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Dot {
  int x, y;
  LedColour colour;
};

CLedBitmap Page(int width, int height, std::uint16_t colourMode, std::initializer_list<Dot> dots, bool indexed = false) {
  CLedBitmap page(width, height, colourMode, indexed);
  for (const Dot& dot : dots) page.SetPixel(dot.x, dot.y, dot.colour);
  return page;
}

Bytes Joined(std::initializer_list<Bytes> pieces) {
  Bytes all;
  for (const Bytes& piece : pieces) all.insert(all.end(), piece.begin(), piece.end());
  return all;
}

TEST(PicturePages, StoresThePlanesOfTheColourMode) {
  struct Row {
    const char* name;
    std::uint16_t colourMode;
    int width, height;
    std::vector<CLedBitmap> pages;
    Bytes expected;
  };
  const LedColour red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000, white = 0xFFFFFF;
  const Row rows[] = {
      {"13 pixels one bit a pixel: 2 bytes a row, lit from 128", 0x01, 13, 2,
       {Page(13, 2, 0x01, {{0, 0, red}, {1, 0, 0x00007F}, {2, 0, 0x000080}, {8, 0, white}, {12, 0, red}, {7, 1, red}})},
       {13, 0, 2, 0, 1, 0, 0, 0, 0, 0, 0xA0, 0x88, 0x01, 0x00}},
      {"indexed mono bitmap", 0x01, 9, 1,
       {Page(9, 1, 0x01, {{0, 0, red}, {8, 0, red}}, true)},
       {9, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0x80, 0x80}},
      {"red-green has no blue plane", 0x03, 3, 1,
       {Page(3, 1, 0x03, {{0, 0, red}, {1, 0, green}, {2, 0, blue}}), Page(3, 1, 0x03, {{0, 0, white}, {1, 0, white}, {2, 0, white}})},
       {3, 0, 1, 0, 2, 0, 2, 0, 0, 0, 0x80, 0x40, 0xE0, 0xE0}},
      {"three colours one bit a pixel", 0x07, 3, 1,
       {Page(3, 1, 0x07, {{0, 0, red}, {1, 0, green}, {2, 0, blue}})},
       {3, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0x80, 0x40, 0x20}},
      {"full colour: 256-grey planes, a byte a pixel", 0x77, 2, 2,
       {Page(2, 2, 0x77, {{0, 0, 0x332211}, {1, 0, red}, {0, 1, 0x808080}})},
       {2, 0, 2, 0, 1, 0, 1, 0, 1, 0, 0x11, 0xFF, 0x80, 0x00, 0x22, 0x00, 0x80, 0x00, 0x33, 0x00, 0x80, 0x00}},
      {"grey mono: only the red plane", 0x71, 2, 1,
       {Page(2, 1, 0x71, {{0, 0, 0x0000C8}, {1, 0, 0x00FF05}})},
       {2, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0xC8, 0x05}},
      {"no page", 0x07, 300, 2, {}, {0x2C, 0x01, 2, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CPicturePagesBlock block(row.width, row.height, row.colourMode);
    for (const CLedBitmap& page : row.pages) ASSERT_TRUE(block.AddPage(page).ok());
    EXPECT_EQ(block.PageCount(), static_cast<int>(row.pages.size()));
    EXPECT_EQ(std::move(block).TakeBytes(), row.expected);
  }
}

TEST(PicturePages, PageBytesFollowTheRowLength) {
  struct Row {
    int width, height;
    std::uint16_t colourMode;
    std::size_t bytes;
  };
  const Row rows[] = {{13, 2, 0x01, 4}, {16, 2, 0x01, 4}, {17, 1, 0x07, 9}, {13, 2, 0x77, 78}, {13, 2, 0x73, 52}, {0, 5, 0x77, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.width);
    EXPECT_EQ(PageBytes(row.width, row.height, row.colourMode), row.bytes);
  }
}

TEST(PicturePages, RefusesAPageOfAnotherSizeAndAddsNothing) {
  CPicturePagesBlock block(4, 2, 0x01);
  ASSERT_TRUE(block.AddPage(Page(4, 2, 0x01, {{0, 0, 0xFF}})).ok());
  for (const CLedBitmap& wrong : {CLedBitmap(5, 2, 0x01), CLedBitmap(4, 1, 0x01), CLedBitmap()}) {
    const Status added = block.AddPage(wrong);
    EXPECT_FALSE(added.ok());
    EXPECT_EQ(added.text(), kTextPageSizeDiffers);
  }
  EXPECT_EQ(block.PageCount(), 1);
  EXPECT_EQ(std::move(block).TakeBytes(), (Bytes{4, 0, 2, 0, 1, 0, 0, 0, 0, 0, 0x80, 0x00}));
}

TEST(PicturePages, RefusesThe65536thPage) {
  CPicturePagesBlock block(1, 1, 0x01);
  const CLedBitmap lit = Page(1, 1, 0x01, {{0, 0, 0xFF}});
  for (int i = 0; i < 65535; ++i) ASSERT_TRUE(block.AddPage(lit).ok()) << i;
  const Status refused = block.AddPage(lit);
  EXPECT_EQ(refused.text(), kTextTooManyPages);
  EXPECT_EQ(block.PageCount(), 65535);
  const Bytes bytes = std::move(block).TakeBytes();
  ASSERT_EQ(bytes.size(), 10u + 65535u);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 10), (Bytes{1, 0, 1, 0, 0xFF, 0xFF, 0, 0, 0, 0}));
}

TEST(PicturePages, FillsTheBlockLengthFieldExactlyAndNoFurther) {
  // 10 header bytes + 5 pages of 40427 x 83 one-byte pixels = 0xFFFFFF, the largest block.
  CPicturePagesBlock block(40427, 83, 0x71);
  const CLedBitmap page(40427, 83, 0x71);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(block.AddPage(page).ok()) << i;
  const Status refused = block.AddPage(page);
  EXPECT_EQ(refused.text(), kTextDataBlockTooLarge);
  EXPECT_EQ(block.PageCount(), 5);
  EXPECT_EQ(std::move(block).TakeBytes().size(), std::size_t{kMaxBlockLength});
}

TEST(AnimationFrames, StoresFramesWithTheirHeadersAndLeavesOutDelayZero) {
  CAnimationFramesBlock block(13, 1, 0x01);
  const CLedBitmap first = Page(13, 1, 0x01, {{0, 0, 0xFF}, {12, 0, 0xFF}});
  const CLedBitmap second = Page(13, 1, 0x01, {{9, 0, 0xFF}});
  struct Step {
    const CLedBitmap* frame;
    int delayMs;
  };
  const Step steps[] = {{&first, 120}, {&second, 0}, {&second, -40}, {&second, 3000}, {&first, 9}};
  for (const Step& step : steps) ASSERT_TRUE(block.AddFrame(*step.frame, step.delayMs).ok()) << step.delayMs;
  EXPECT_EQ(block.StoredFrames(), 3);
  const Bytes header = {0, 0, 0, 0, 13, 0, 1, 0, 0x01};  // after the delay byte
  EXPECT_EQ(std::move(block).TakeBytes(), Joined({{12}, header, {0x80, 0x08},
                                                  {255}, header, {0x00, 0x40},  // 3 s is as long as a byte holds
                                                  {0}, header, {0x80, 0x08}}));
}

TEST(AnimationFrames, FullColourFramesCarryTheModeAndGreyPlanes) {
  CAnimationFramesBlock block(1, 2, 0x77);
  ASSERT_TRUE(block.AddFrame(Page(1, 2, 0x77, {{0, 0, 0x030201}, {0, 1, 0x0C0B0A}}), 500).ok());
  EXPECT_EQ(std::move(block).TakeBytes(), (Bytes{50, 0, 0, 0, 0, 1, 0, 2, 0, 0x77, 0x01, 0x0A, 0x02, 0x0B, 0x03, 0x0C}));
}

TEST(AnimationFrames, RefusesWhatThePicturePagesRefuse) {
  CAnimationFramesBlock block(1, 1, 0x01);
  EXPECT_EQ(block.AddFrame(CLedBitmap(2, 1, 0x01), 100).text(), kTextPageSizeDiffers);
  const CLedBitmap frame(1, 1, 0x01);
  for (int i = 0; i < 65535; ++i) ASSERT_TRUE(block.AddFrame(frame, 10).ok()) << i;
  EXPECT_EQ(block.AddFrame(frame, 10).text(), kTextTooManyPages);
  EXPECT_EQ(block.AddFrame(frame, 0).ok(), true);  // left out, as always
  EXPECT_EQ(block.StoredFrames(), 65535);
  EXPECT_EQ(std::move(block).TakeBytes().size(), 65535u * 11u);
}

}  // namespace
}  // namespace vantorel

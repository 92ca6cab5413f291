#include "maker/block_decoders.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/text_ids.h"
#include "platform/byte_writer.h"
#include "sample_program_files.h"

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// What PicturePagesBlock puts at (x, y) of page `page` in plane `plane`.
std::uint8_t Expected(int x, int y, int page, int plane, bool grey) {
  if ((x + 2 * y + page + plane) % 3 != 0) return 0;
  return grey ? static_cast<std::uint8_t>((x + y + page) * 37) : 255;
}

TEST(BlockDecoders, PlaneSizesFollowTheColourMode) {
  struct Row {
    const char* name;
    std::uint16_t width, height;
    std::uint8_t mode;
    std::uint64_t planeBytes;
    int planes;
  };
  const Row rows[] = {
      {"13 pixels one bit: 2 bytes a row", 13, 3, 0x01, 2 * 3, 1},
      {"16 pixels one bit", 16, 2, 0x07, 2 * 2, 3},
      {"17 pixels one bit", 17, 1, 0x03, 3, 2},
      {"grey levels: a byte a pixel", 13, 3, 0x77, 13 * 3, 3},
      {"grey red only", 5, 2, 0x71, 10, 1},
      {"no planes", 8, 8, 0x00, 8, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(PicturePlaneBytes(row.width, row.height, row.mode), row.planeBytes);
    EXPECT_EQ(PresentPlaneCount(row.mode), row.planes);
  }
}

TEST(BlockDecoders, CombinePicturePagesIntoColourPictures) {
  struct Row {
    const char* name;
    std::uint16_t width, height;
    std::uint8_t mode;
    int pages;
  };
  const Row rows[] = {
      {"red, 13 wide", 13, 3, 0x01, 1}, {"red and green, 3 pages", 9, 4, 0x03, 3}, {"green and blue", 8, 2, 0x06, 2},
      {"full colour grey levels", 6, 5, 0x77, 2}, {"blue grey", 3, 3, 0x74, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Bytes block = test::PicturePagesBlock(row.width, row.height, row.mode, row.pages);
    const vantorel::Expected<PicturePages> decoded = DecodePicturePages(block, row.mode);
    ASSERT_TRUE(decoded.ok()) << decoded.status().detail();
    EXPECT_EQ(decoded->width, row.width);
    EXPECT_EQ(decoded->height, row.height);
    ASSERT_EQ(decoded->pages.size(), static_cast<std::size_t>(row.pages));
    const bool grey = (row.mode & 0x70) != 0;
    for (int page = 0; page < row.pages; ++page) {
      const QImage& picture = decoded->pages[static_cast<std::size_t>(page)];
      ASSERT_EQ(picture.size(), QSize(row.width, row.height));
      for (int y = 0; y < row.height; ++y) {
        for (int x = 0; x < row.width; ++x) {
          const QRgb pixel = picture.pixel(x, y);
          const int values[3] = {qRed(pixel), qGreen(pixel), qBlue(pixel)};
          for (int plane = 0; plane < 3; ++plane) {
            const int expected = (row.mode & (1 << plane)) != 0 ? Expected(x, y, page, plane, grey) : 0;
            ASSERT_EQ(values[plane], expected) << "page " << page << " (" << x << ", " << y << ") plane " << plane;
          }
        }
      }
    }
  }
}

TEST(BlockDecoders, RefusePicturePagesTheBlockDoesNotHold) {
  const Bytes good = test::PicturePagesBlock(13, 3, 0x03, 2);
  struct Row {
    const char* name;
    std::function<void(Bytes&)> damage;
    std::uint8_t mode = 0x03;
  };
  const Row rows[] = {
      {"header cut", [](Bytes& b) { b.resize(9); }},
      {"a byte short", [](Bytes& b) { b.pop_back(); }},
      {"a byte more", [](Bytes& b) { b.push_back(0); }},
      {"planes disagree", [](Bytes& b) { b[6] = 1; }},
      {"an absent plane counted", [](Bytes& b) { b[8] = 1; }},
      {"a huge picture in a small block", [](Bytes& b) { b[0] = b[1] = b[2] = b[3] = 0xFF; }},
      {"a huge page count", [](Bytes& b) { b[4] = b[5] = b[6] = b[7] = 0xFF; }},
      {"another colour mode", [](Bytes&) {}, 0x77},
      {"no width", [](Bytes& b) { b[0] = 0; b[1] = 0; b.resize(10); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Bytes block = good;
    row.damage(block);
    const vantorel::Expected<PicturePages> decoded = DecodePicturePages(block, row.mode);
    ASSERT_FALSE(decoded.ok());
    EXPECT_EQ(decoded.status().text(), kTextControllerFileDamaged);
    EXPECT_NE(decoded.status().detail().find("offset"), std::string::npos) << decoded.status().detail();
  }
  // No page at all is no picture, and not damaged.
  const Bytes none{4, 0, 4, 0, 0, 0, 0, 0, 0, 0};
  const vantorel::Expected<PicturePages> empty = DecodePicturePages(none, 0x03);
  ASSERT_TRUE(empty.ok());
  EXPECT_TRUE(empty->pages.empty());
}

Bytes Frame(std::uint8_t delay, std::uint16_t width, std::uint16_t height, std::uint8_t mode) {
  ByteWriter out;
  out.U8(delay);
  out.U32Le(0);
  out.U16Le(width);
  out.U16Le(height);
  out.U8(mode);
  const Bytes pages = test::PicturePagesBlock(width, height, mode, 1);
  out.Bytes(std::span(pages).subspan(10));
  return std::move(out).Take();
}

TEST(BlockDecoders, DecodeAnimationFramesEachWithItsOwnSize) {
  Bytes block = Frame(5, 13, 2, 0x01);
  const Bytes second = Frame(100, 4, 3, 0x77);
  block.insert(block.end(), second.begin(), second.end());
  const vantorel::Expected<std::vector<DecodedFrame>> frames = DecodeAnimationFrames(block);
  ASSERT_TRUE(frames.ok()) << frames.status().detail();
  ASSERT_EQ(frames->size(), 2u);
  EXPECT_EQ((*frames)[0].delayMs, 50);
  EXPECT_EQ((*frames)[0].picture.size(), QSize(13, 2));
  EXPECT_EQ(qRed((*frames)[0].picture.pixel(0, 0)), 255);
  EXPECT_EQ(qRed((*frames)[0].picture.pixel(1, 0)), 0);
  EXPECT_EQ((*frames)[1].delayMs, 1000);
  EXPECT_EQ((*frames)[1].colourMode, 0x77);
  EXPECT_EQ((*frames)[1].picture.size(), QSize(4, 3));
  EXPECT_EQ(qRed((*frames)[1].picture.pixel(3, 0)), 3 * 37);

  for (const std::size_t cut : {std::size_t{1}, std::size_t{9}, block.size() - 1}) {
    SCOPED_TRACE(cut);
    const vantorel::Expected<std::vector<DecodedFrame>> damaged = DecodeAnimationFrames(std::span(block).first(cut));
    ASSERT_FALSE(damaged.ok());
    EXPECT_EQ(damaged.status().text(), kTextControllerFileDamaged);
  }
  Bytes huge = Frame(1, 1, 1, 0x01);
  huge[5] = huge[6] = huge[7] = huge[8] = 0xFF;  // 65535 x 65535 in a block of 11 bytes
  EXPECT_FALSE(DecodeAnimationFrames(huge).ok());
  huge[9] = 0x70;  // grey levels but no plane: the frame would take no bytes at any size
  EXPECT_FALSE(DecodeAnimationFrames(std::span(huge).first(10)).ok());
  EXPECT_TRUE(DecodeAnimationFrames({}).ok());
}

TEST(BlockDecoders, ReadTextsAndCells) {
  EXPECT_EQ(TerminatedText(test::TextBlock("%H:%M")), "%H:%M");
  EXPECT_EQ(TerminatedText(test::Bytes(std::string_view("LAF:v000000.laf\0tail", 20))), "LAF:v000000.laf");
  EXPECT_EQ(TerminatedText(test::Bytes("no end")), std::nullopt);

  const Bytes three{1, 0x15, 0x00, 'A', 0x0B, 0xB0, 0xA1};
  const vantorel::Expected<DecodedCellText> cells = DecodeCellText(three);
  ASSERT_TRUE(cells.ok());
  EXPECT_EQ(cells->form, 1);
  ASSERT_EQ(cells->cells.size(), 2u);
  EXPECT_EQ(cells->cells[0].attribute, 0x15);
  EXPECT_EQ(cells->cells[0].character, 'A');
  EXPECT_EQ(cells->cells[1].character, 0xB0A1);

  const Bytes six{4, 255, 128, 0, 0x03, 0x00, 'z'};
  const vantorel::Expected<DecodedCellText> coloured = DecodeCellText(six);
  ASSERT_TRUE(coloured.ok());
  ASSERT_EQ(coloured->cells.size(), 1u);
  EXPECT_EQ(coloured->cells[0].green, 128);
  EXPECT_EQ(coloured->cells[0].character, 'z');

  for (const Bytes& bad : {Bytes{}, Bytes{2, 0, 0, 0}, Bytes{1, 0, 0}, Bytes{4, 0, 0, 0}}) {
    EXPECT_FALSE(DecodeCellText(bad).ok());
  }
}

}  // namespace
}  // namespace vantorel

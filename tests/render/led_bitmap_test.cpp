// The LED bitmap: which pixel form each colour mode gets, the palettes of the indexed form, and the
// colour planes the controller files are made of.

#include <gtest/gtest.h>

#include <vector>

#include "render/led_bitmap.h"
#include "render/place_picture.h"

namespace vantorel {
namespace {

TEST(LedBitmapTest, PixelFormatOfEachColourMode) {
  struct Row {
    std::uint16_t mode;
    bool indexedWanted;
    LedPixelFormat format;
  } rows[] = {
      {0x77, true, LedPixelFormat::kRgb24}, {0x73, true, LedPixelFormat::kRgb24},
      {0x71, true, LedPixelFormat::kRgb24}, {0, true, LedPixelFormat::kRgb24},
      {1, true, LedPixelFormat::kIndexed4}, {3, true, LedPixelFormat::kIndexed4},
      {7, true, LedPixelFormat::kIndexed4}, {7, false, LedPixelFormat::kRgb24},
      {1, false, LedPixelFormat::kRgb24},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.mode);
    EXPECT_EQ(LedPixelFormatFor(row.mode, row.indexedWanted), row.format);
    EXPECT_EQ(CLedBitmap(4, 4, row.mode, row.indexedWanted).Format(), row.format);
  }
}

TEST(LedBitmapTest, PalettesOfTheIndexedForm) {
  constexpr LedColour R = 0x0000FF, G = 0x00FF00, B = 0xFF0000;
  using Palette = std::array<LedColour, 16>;
  const Palette mono{0, R};
  const Palette redGreen{0, R, G, R | G};
  const Palette full{0, R, G, R | G, B, R | B, G | B, R | G | B};
  EXPECT_EQ(IndexedPalette(1), mono);
  EXPECT_EQ(IndexedPalette(2), mono);
  EXPECT_EQ(IndexedPalette(3), redGreen);
  EXPECT_EQ(IndexedPalette(7), full);
  EXPECT_EQ(IndexedPalette(5), full);

  // Colours the screen cannot show become black; others their nearest lit LEDs.
  const CLedBitmap redGreenScreen(1, 1, 3, true);
  EXPECT_EQ(redGreenScreen.IndexOf(0x0000F0), 1);
  EXPECT_EQ(redGreenScreen.IndexOf(0x00FFFF), 3);
  EXPECT_EQ(redGreenScreen.IndexOf(0xFF0000), 0) << "blue on a red-green screen";
  EXPECT_EQ(redGreenScreen.IndexOf(0x00007F), 0) << "below the lit threshold";
  CLedBitmap bitmap(2, 1, 1, true);
  bitmap.SetPixel(0, 0, 0x00FF00);  // green on a mono screen
  bitmap.SetPixel(1, 0, 0x2020FF);
  EXPECT_EQ(bitmap.Pixel(0, 0), 0u);
  EXPECT_EQ(bitmap.Pixel(1, 0), R);
}

TEST(LedBitmapTest, ColourPlanesAsBytesAndBits) {
  CLedBitmap bitmap(10, 2, 0x77);
  bitmap.SetPixel(0, 0, 0x0000FF);
  bitmap.SetPixel(7, 0, 0x000080);  // exactly the threshold: lit
  bitmap.SetPixel(8, 0, 0x00007F);  // just below: dark
  bitmap.SetPixel(9, 1, 0x8000C0);
  const std::vector<std::uint8_t> red = bitmap.PlaneBytes(LedChannel::kRed);
  ASSERT_EQ(red.size(), 20u);
  EXPECT_EQ(red[0], 0xFF);
  EXPECT_EQ(red[8], 0x7F);
  EXPECT_EQ(red[19], 0xC0);
  EXPECT_EQ(bitmap.PlaneBytes(LedChannel::kBlue)[19], 0x80);
  // Two bytes a row, leftmost pixel in the top bit.
  EXPECT_EQ(bitmap.PlaneBits(LedChannel::kRed), (std::vector<std::uint8_t>{0x81, 0x00, 0x00, 0x40}));
  EXPECT_EQ(bitmap.PlaneBits(LedChannel::kBlue), (std::vector<std::uint8_t>{0x00, 0x00, 0x00, 0x40}));
  EXPECT_EQ(bitmap.PlaneBits(LedChannel::kGreen), (std::vector<std::uint8_t>(4, 0)));

  CLedBitmap indexed(3, 1, 7, true);
  indexed.SetPixel(1, 0, 0xFFFFFF);
  EXPECT_EQ(indexed.PlaneBytes(LedChannel::kGreen), (std::vector<std::uint8_t>{0, 0xFF, 0}));
  EXPECT_EQ(indexed.PlaneBits(LedChannel::kGreen), (std::vector<std::uint8_t>{0x40}));
}

TEST(LedBitmapTest, PicturesPlacedOnIndexedBitmapsUseThePalette) {
  CLedBitmap bitmap(2, 1, 3, true);
  QImage picture(2, 1, QImage::Format_RGB888);
  picture.setPixel(0, 0, qRgb(250, 250, 10));  // yellow
  picture.setPixel(1, 0, qRgb(10, 10, 250));   // blue: not on this screen
  PlacePicture(bitmap, picture, kPlaceStretch, false);
  EXPECT_EQ(bitmap.Pixel(0, 0), 0x00FFFFu);
  EXPECT_EQ(bitmap.Pixel(1, 0), 0u);
}

TEST(LedBitmapTest, OutsideAndEmpty) {
  CLedBitmap bitmap(2, 2, 0x77);
  bitmap.SetPixel(-1, 0, 0xFFFFFF);
  bitmap.SetPixel(2, 0, 0xFFFFFF);
  EXPECT_EQ(bitmap.Pixel(5, 5), 0u);
  EXPECT_EQ(bitmap.PlaneBits(LedChannel::kRed), (std::vector<std::uint8_t>{0, 0}));
  const CLedBitmap empty(-3, 4, 0x77);
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_TRUE(empty.PlaneBits(LedChannel::kRed).empty());
}

}  // namespace
}  // namespace vantorel

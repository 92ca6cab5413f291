// Placing pictures into LED bitmaps: every mode with sources smaller, larger, equal and of another
// aspect than the target, the inverse flag, and sizes of 1 and 0.

#include <gtest/gtest.h>

#include <QImage>

#include <string>

#include "render/led_bitmap.h"
#include "render/place_picture.h"

namespace vantorel {
namespace {

constexpr LedColour kMarker = 0x123456;  // what the bitmap held before

// A source whose every pixel tells where it came from: red = x, green = y, blue = 200.
QImage Source(int width, int height) {
  QImage source(width, height, QImage::Format_RGB888);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) source.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, 200));
  }
  return source;
}

LedColour From(int x, int y) { return static_cast<LedColour>((x & 0xFF) | ((y & 0xFF) << 8) | (200 << 16)); }

// The bitmap as one letter a pixel: '.' untouched, '#' drawn.
std::string Coverage(const CLedBitmap& bitmap) {
  std::string rows;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) rows += bitmap.Pixel(x, y) == kMarker ? '.' : '#';
    rows += '\n';
  }
  return rows;
}

TEST(PlacePictureTest, WhereEachModePutsTheSource) {
  struct Row {
    const char* name;
    QSize target;
    QSize source;
    int mode;
    QRect expected;  // where the picture is scaled into
  } rows[] = {
      {"zoom, wide into square", {64, 64}, {100, 50}, kPlaceZoom, {0, 16, 64, 32}},
      {"zoom, tall into square", {64, 64}, {50, 100}, kPlaceZoom, {16, 0, 32, 64}},
      {"zoom, same aspect stretches", {64, 32}, {32, 16}, kPlaceZoom, {0, 0, 64, 32}},
      {"zoom, smaller source grows", {48, 48}, {8, 4}, kPlaceZoom, {0, 12, 48, 24}},
      {"zoom, a 1-pixel line stays 1 pixel", {16, 16}, {100, 1}, kPlaceZoom, {0, 7, 16, 1}},
      {"center, smaller", {10, 10}, {4, 2}, kPlaceCenter, {3, 4, 4, 2}},
      {"center, larger shows the middle", {10, 10}, {20, 30}, kPlaceCenter, {-5, -10, 20, 30}},
      {"center, equal", {8, 8}, {8, 8}, kPlaceCenter, {0, 0, 8, 8}},
      {"stretch", {64, 16}, {3, 7}, kPlaceStretch, {0, 0, 64, 16}},
      {"tile starts at the top left", {10, 10}, {3, 4}, kPlaceTile, {0, 0, 3, 4}},
      {"other mode: 1:1 at the top left", {10, 10}, {20, 3}, 7, {0, 0, 20, 3}},
      {"no source", {10, 10}, {0, 5}, kPlaceZoom, {}},
      {"no target", {0, 10}, {5, 5}, kPlaceTile, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(PlacementRect(row.target, row.source, row.mode), row.expected);
  }
}

TEST(PlacePictureTest, ZoomOfAWidePictureLeavesBandsAboveAndBelow) {
  CLedBitmap bitmap(64, 64, 0x77);
  bitmap.Fill(kMarker);
  PlacePicture(bitmap, Source(100, 50), kPlaceZoom, false);
  for (int y = 0; y < 64; ++y) {
    const bool drawn = y >= 16 && y < 48;
    EXPECT_EQ(bitmap.Pixel(0, y) != kMarker, drawn) << "row " << y;
    EXPECT_EQ(bitmap.Pixel(63, y) != kMarker, drawn) << "row " << y;
  }
  // Nearest pixel: target column x shows source column x * 100 / 64.
  EXPECT_EQ(bitmap.Pixel(0, 16), From(0, 0));
  EXPECT_EQ(bitmap.Pixel(63, 47), From(63 * 100 / 64, 31 * 50 / 32));
}

TEST(PlacePictureTest, CenterOfALargerPictureShowsItsMiddle) {
  CLedBitmap bitmap(4, 4, 0x77);
  PlacePicture(bitmap, Source(10, 8), kPlaceCenter, false);
  // x = (4 - 10) / 2 = -3, y = (4 - 8) / 2 = -2: the bitmap shows source columns 3..6, rows 2..5.
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(bitmap.Pixel(x, y), From(x + 3, y + 2)) << x << "," << y;
  }
}

TEST(PlacePictureTest, TileCoversTheTargetAndStretchCoversItOnce) {
  CLedBitmap tiled(7, 5, 0x77);
  tiled.Fill(kMarker);
  PlacePicture(tiled, Source(3, 2), kPlaceTile, false);
  EXPECT_EQ(Coverage(tiled), "#######\n#######\n#######\n#######\n#######\n");
  EXPECT_EQ(tiled.Pixel(6, 4), From(0, 0)) << "column 6 = 2 tiles + 0, row 4 = 2 tiles + 0";
  EXPECT_EQ(tiled.Pixel(5, 3), From(2, 1));

  CLedBitmap stretched(6, 2, 0x77);
  PlacePicture(stretched, Source(3, 1), kPlaceStretch, false);
  for (int x = 0; x < 6; ++x) {
    EXPECT_EQ(stretched.Pixel(x, 0), From(x / 2, 0));
    EXPECT_EQ(stretched.Pixel(x, 1), From(x / 2, 0));
  }
}

TEST(PlacePictureTest, InverseInvertsWhatIsDrawnOnly) {
  CLedBitmap bitmap(8, 4, 0x77);
  bitmap.Fill(kMarker);
  QImage white(2, 2, QImage::Format_RGB888);
  white.fill(Qt::white);
  PlacePicture(bitmap, white, kPlaceCenter, true);
  EXPECT_EQ(Coverage(bitmap), "........\n...##...\n...##...\n........\n");
  EXPECT_EQ(bitmap.Pixel(3, 1), 0x000000u);
  PlacePicture(bitmap, Source(1, 1), kPlaceStretch, true);
  EXPECT_EQ(bitmap.Pixel(5, 3), From(0, 0) ^ 0xFFFFFFu);
}

TEST(PlacePictureTest, EmptySizesDrawNothingAndReturn) {
  CLedBitmap bitmap(5, 5, 0x77);
  bitmap.Fill(kMarker);
  for (const int mode : {int{kPlaceCenter}, int{kPlaceZoom}, int{kPlaceStretch}, int{kPlaceTile}, 9}) {
    SCOPED_TRACE(mode);
    PlacePicture(bitmap, QImage(), mode, false);
    PlacePicture(bitmap, Source(1, 1).copy(0, 0, 0, 1), mode, false);
    EXPECT_EQ(Coverage(bitmap), ".....\n.....\n.....\n.....\n.....\n");
    CLedBitmap empty(0, 0, 0x77);
    PlacePicture(empty, Source(4, 4), mode, false);  // returns at once
    EXPECT_TRUE(empty.IsEmpty());
  }
  CLedBitmap single(1, 1, 0x77);
  PlacePicture(single, Source(50, 50), kPlaceZoom, false);
  EXPECT_EQ(single.Pixel(0, 0), From(0, 0));
}

}  // namespace
}  // namespace vantorel

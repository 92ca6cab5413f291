// GIF files: what we write reads back as it was drawn, frame delays and loops survive, and the
// palette reduction keeps pictures with many colours close to their originals.

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <string>

#include "codecs/gif_codec.h"
#include "codecs/palette_reduction.h"
#include "support/golden_image.h"

namespace vantorel {
namespace {

// Every pixel a colour of its own within a palette of `colours` (so the exact path is taken when
// there are at most 256).
QImage Pattern(int width, int height, int colours) {
  QImage picture(width, height, QImage::Format_RGB888);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int c = (y * width + x) % colours;
      picture.setPixel(x, y, qRgb((c * 37) & 0xFF, (c * 91) & 0xFF, (c * 13 + c / 256) & 0xFF));
    }
  }
  return picture;
}

// A picture whose colours run smoothly over the whole cube: 4096 colours.
QImage Gradient(int width, int height) {
  QImage picture(width, height, QImage::Format_RGB888);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.setPixel(x, y, qRgb(x * 255 / (width - 1), y * 255 / (height - 1), (x + y) & 0xFF));
  }
  return picture;
}

TEST(GifCodecTest, FewColoursRoundTripExactly) {
  struct Row {
    const char* name;
    QImage picture;
  } rows[] = {
      {"1 x 1", Pattern(1, 1, 1)},
      {"two colours", Pattern(17, 5, 2)},
      {"256 colours", Pattern(32, 32, 256)},
      {"odd sides", Pattern(33, 7, 200)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto bytes = EncodeGif({{{row.picture, 0}}, 0});
    ASSERT_TRUE(bytes.ok()) << bytes.status().detail();
    const auto back = DecodeGifPicture(*bytes);
    ASSERT_TRUE(back.ok()) << back.status().detail();
    EXPECT_EQ(test::ImageDifference(row.picture, *back), "");
  }
}

TEST(GifCodecTest, FramesKeepTheirDelaysAndTheLoop) {
  Animation animation;
  animation.loopCount = 3;
  animation.frames = {{Pattern(16, 8, 3), 100}, {Pattern(16, 8, 5), 250}, {Pattern(16, 8, 7), 40}};
  const auto bytes = EncodeGif(animation);
  ASSERT_TRUE(bytes.ok()) << bytes.status().detail();
  const auto back = DecodeGif(*bytes);
  ASSERT_TRUE(back.ok()) << back.status().detail();
  ASSERT_EQ(back->frames.size(), 3u);
  EXPECT_EQ(back->loopCount, 3);
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(back->frames[i].delayMs, animation.frames[i].delayMs);
    EXPECT_EQ(test::ImageDifference(animation.frames[i].picture, back->frames[i].picture), "");
  }
  // A still reads the first frame only.
  const auto first = DecodeGif(*bytes, 1);
  ASSERT_TRUE(first.ok());
  EXPECT_EQ(first->frames.size(), 1u);
}

TEST(GifCodecTest, ManyColoursAreReducedCloseToTheOriginal) {
  const QImage picture = Gradient(128, 128);
  const IndexedPicture reduced = ReducePalette(picture);
  EXPECT_LE(reduced.palette.size(), 256u);
  EXPECT_GT(reduced.palette.size(), 200u) << "the median cut should use most of the palette";
  long long error = 0;
  int worst = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb want = picture.pixel(x, y);
      const auto& got = reduced.palette[reduced.indexes[static_cast<std::size_t>(y * picture.width() + x)]];
      const int d = std::abs(qRed(want) - got[0]) + std::abs(qGreen(want) - got[1]) + std::abs(qBlue(want) - got[2]);
      error += d;
      worst = std::max(worst, d);
    }
  }
  EXPECT_LT(error / (128 * 128), 24) << "mean error per pixel (sum of three channels)";
  EXPECT_LT(worst, 96);
}

TEST(GifCodecTest, RefusesWhatIsNoAnimation) {
  struct Row {
    const char* name;
    std::string bytes;
    const char* reason;
  } rows[] = {
      {"empty", "", "not a GIF file"},
      {"other format", "\x89PNG\r\n\x1A\n", "not a GIF file"},
      {"header only", "GIF89a", "damaged GIF file"},
      {"screen without frames", std::string("GIF89a\x02\x00\x02\x00\x00\x00\x00;", 14), "GIF file without a frame"},
      {"huge screen", std::string("GIF89a\xFF\xFF\xFF\xFF\x00\x00\x00;", 14), "picture too large"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(row.bytes.data()), row.bytes.size());
    const auto result = DecodeGif(bytes);
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.status().detail().find(row.reason), std::string::npos) << result.status().detail();
  }
  EXPECT_FALSE(EncodeGif({}).ok());
  EXPECT_FALSE(EncodeGif({{{Pattern(4, 4, 2), 0}, {Pattern(5, 4, 2), 0}}, 0}).ok()) << "frames of different sizes";
}

TEST(GifCodecTest, AFileCutShortKeepsWhatWasRead) {
  Animation animation;
  animation.frames = {{Pattern(40, 40, 50), 100}, {Pattern(40, 40, 60), 100}};
  const auto bytes = EncodeGif(animation);
  ASSERT_TRUE(bytes.ok());
  // Cut inside the second frame's data.
  const std::span<const std::uint8_t> cut(bytes->data(), bytes->size() - 200);
  ReadWarnings warnings;
  const auto back = DecodeGif(cut, 0, &warnings);
  ASSERT_TRUE(back.ok()) << back.status().detail();
  ASSERT_GE(back->frames.size(), 1u);
  EXPECT_EQ(test::ImageDifference(animation.frames[0].picture, back->frames[0].picture), "");
  EXPECT_EQ(warnings.dropped, 1u);
}

}  // namespace
}  // namespace vantorel

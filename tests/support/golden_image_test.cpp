// What a picture mismatch reports, and that expected pictures are compared and regenerated.

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <string>

#include "support/golden_image.h"
#include "support/temp_folder.h"

namespace vantorel::test {
namespace {

QImage Filled(int width, int height, QRgb colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

TEST(GoldenImageTest, DifferencesNameTheSizeOrTheFirstPixel) {
  const QImage red = Filled(4, 3, qRgb(255, 0, 0));
  QImage dotted = red;
  dotted.setPixel(2, 1, qRgb(0, 255, 0));
  dotted.setPixel(3, 2, qRgb(0, 0, 255));
  // Alpha does not count: a renderer may draw into an ARGB picture.
  const QImage translucent = red.convertToFormat(QImage::Format_ARGB32);
  QImage halfAlpha = translucent;
  halfAlpha.setPixel(0, 0, qRgba(255, 0, 0, 10));

  struct Row {
    const char* name;
    QImage expected;
    QImage actual;
    std::string report;
  } rows[] = {
      {"same", red, red, ""},
      {"other format, same colours", red, translucent, ""},
      {"alpha ignored", translucent, halfAlpha, ""},
      {"size", red, Filled(3, 4, qRgb(255, 0, 0)), "size differs: expected 4 x 3, got 3 x 4"},
      {"pixels", red, dotted, "2 of 12 pixels differ, first at (2, 1): expected #FF0000, got #00FF00"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ImageDifference(row.expected, row.actual), row.report);
  }
}

TEST(GoldenImageTest, ComparesWithTheStoredPictureAndRegeneratesOnRequest) {
  TempFolder root;
  const QImage picture = Filled(8, 8, qRgb(10, 20, 30));
  const auto missing = MatchesGoldenImage("case/picture.png", picture, root.Path());
  EXPECT_FALSE(missing);
  EXPECT_NE(std::string(missing.message()).find("VANTOREL_REGENERATE_GOLDEN=1"), std::string::npos);

  ASSERT_EQ(setenv("VANTOREL_REGENERATE_GOLDEN", "1", 1), 0);
  EXPECT_TRUE(MatchesGoldenImage("case/picture.png", picture, root.Path()));
  ASSERT_EQ(unsetenv("VANTOREL_REGENERATE_GOLDEN"), 0);

  EXPECT_TRUE(MatchesGoldenImage("case/picture.png", picture, root.Path()));
  const auto changed = MatchesGoldenImage("case/picture.png", Filled(8, 8, qRgb(10, 20, 31)), root.Path());
  EXPECT_FALSE(changed);
  EXPECT_NE(std::string(changed.message()).find("64 of 64 pixels differ"), std::string::npos) << changed.message();
  EXPECT_NE(std::string(changed.message()).find("picture.actual.png"), std::string::npos) << changed.message();
}

}  // namespace
}  // namespace vantorel::test

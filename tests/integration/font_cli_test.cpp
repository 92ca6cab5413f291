// "vantorel-cli font": a text drawn with the font library of the current screen or a chosen code
// page, magnified into a PNG one square per LED, and the list of sizes and faces.

#include <gtest/gtest.h>

#include <QImage>

#include "platform/atomic_file.h"
#include "render/font_lib_asia.h"
#include "render/font_text_encoding.h"
#include "support/cli_runner.h"

namespace vantorel {
namespace {

class FontCliTest : public test::CliTest {
protected:
  // The LEDs of a picture made with --scale `scale`: lit where the centre of a square is red.
  static QImage Leds(const QImage& picture, int scale) {
    QImage leds(picture.width() / scale, picture.height() / scale, QImage::Format_RGB32);
    for (int y = 0; y < leds.height(); ++y) {
      for (int x = 0; x < leds.width(); ++x) {
        const QRgb centre = picture.pixel(x * scale + scale / 2, y * scale + scale / 2);
        leds.setPixel(x, y, qRed(centre) > 200 ? 0xFFFFFFFF : 0xFF000000);
      }
    }
    return leds;
  }

  // The same text drawn 1:1 by the library itself.
  static QImage Drawn(const CTwFont& library, const std::string& utf8, int sizeIndex) {
    const std::string bytes = EncodeForCodePage(utf8, library.GetCodePage());
    const FontStyle style = MakeFontStyle(sizeIndex);
    QImage leds(library.StringWidth(bytes, style), IndexToSize(sizeIndex), QImage::Format_RGB32);
    leds.fill(0xFF000000);
    library.DrawString(leds, leds.width(), 0, 0, bytes, style, 0xFFFFFFFF);
    return leds;
  }
};

TEST_F(FontCliTest, RenderDrawsOneSquarePerLedWithTheScreensLibrary) {
  const std::string text = "星期一 Mon 25°";
  const auto out = Dir() / "week.png";
  // Screen 1 of a fresh machine uses GB2312.
  const auto result = Run("font render --size 16 --scale 6 --text '" + text + "' " + Quote(out));
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("112 x 16 LEDs, GB2312 16-dot"), std::string::npos) << result.out;
  const QImage picture(QString::fromStdString(out.string()));
  ASSERT_EQ(picture.size(), QSize(112 * 6, 16 * 6));
  const CFontLib_GB2312 library(VANTOREL_BIN_DIR);
  EXPECT_EQ(Leds(picture, 6), Drawn(library, text, 2));
}

TEST_F(FontCliTest, RenderWithAChosenCodePageAndSize) {
  const std::string text = "한국 Seoul";
  const auto out = Dir() / "korean.png";
  const auto result = Run("font render --codepage ksc5601 --size 24 --scale 3 --text '" + text + "' " + Quote(out));
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const QImage picture(QString::fromStdString(out.string()));
  const CFontLib_KSC5601 library(VANTOREL_BIN_DIR);
  const QImage expected = Drawn(library, text, 3);
  ASSERT_EQ(picture.size(), expected.size() * 3);
  EXPECT_EQ(Leds(picture, 3), expected);
}

TEST_F(FontCliTest, ListShowsTheFacesAndTheScreensMissingSizes) {
  const auto listed = Run("font list");
  ASSERT_EQ(listed.exitCode, 0) << listed.err;
  EXPECT_NE(listed.out.find("Font library: GB2312"), std::string::npos) << listed.out;
  EXPECT_NE(listed.out.find("face 0 \"Font\": ASCII 8-dot 12-dot 16-dot 24-dot 32-dot 40-dot 48-dot 56-dot; "
                            "double-byte 12-dot 16-dot 24-dot 32-dot 40-dot 48-dot 56-dot"),
            std::string::npos)
      << listed.out;
  EXPECT_NE(listed.out.find("Screen 1 asks for ASCII 8-dot 16-dot 24-dot 32-dot; double-byte 16-dot 24-dot 32-dot"),
            std::string::npos)
      << listed.out;
  const auto extended = Run("font list --codepage ascii-ex");
  ASSERT_EQ(extended.exitCode, 0) << extended.err;
  EXPECT_NE(extended.out.find("Font library: Extended ASCII ("), std::string::npos) << extended.out;
  EXPECT_NE(extended.out.find("face 0 \"Proportional\": 8-dot"), std::string::npos) << extended.out;
}

TEST_F(FontCliTest, TheExtendedAsciiLibraryGoesByTheNameOfTheOptions) {
  ASSERT_TRUE(WriteFileAtomically(DataFolder() / "Vantorel.ini", "[CUSTOM]\r\nExtended ASCII Name=Latin-1\r\n"));
  const auto listed = Run("font list --codepage ascii-ex");
  ASSERT_EQ(listed.exitCode, 0) << listed.err;
  EXPECT_NE(listed.out.find("Font library: Latin-1 ("), std::string::npos) << listed.out;
  const auto drawn = Run("font render --codepage ascii-ex --size 16 --text A " + Quote(Dir() / "a.png"));
  ASSERT_EQ(drawn.exitCode, 0) << drawn.err;
  EXPECT_NE(drawn.out.find("LEDs, Latin-1 16-dot"), std::string::npos) << drawn.out;
}

TEST_F(FontCliTest, BadRequestsGiveAMessageAndNonZeroExit) {
  const auto out = Quote(Dir() / "x.png");
  const std::string requests[] = {"font render --size 10 --text A " + out, "font render --size 16 --text '' " + out,
                                  "font render --codepage latin9 --size 16 --text A " + out,
                                  "font render --size 16 --text A /no/such/folder/x.png", "font list --codepage x"};
  for (const std::string& arguments : requests) {
    const auto result = Run(arguments);
    EXPECT_NE(result.exitCode, 0) << arguments;
    EXPECT_FALSE(result.err.empty()) << arguments;
  }
}

}  // namespace
}  // namespace vantorel

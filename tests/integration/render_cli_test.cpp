// "render" draws an item's pages as the sign shows them: a picture item added on the command line
// comes out placed by its display mode, one pixel per LED or magnified, and items whose files are
// missing are refused with a failure exit.

#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <cstdlib>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/child_process.h"
#include "support/cli_runner.h"
#include "support/golden_image.h"

namespace vantorel {
namespace {

class RenderCliTest : public test::CliTest {
protected:
  // A 20 x 10 picture: left half red, right half blue, a white pixel in the top left corner.
  std::filesystem::path Picture() const {
    QImage picture(20, 10, QImage::Format_RGB888);
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 20; ++x) picture.setPixel(x, y, x < 10 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    }
    picture.setPixel(0, 0, qRgb(255, 255, 255));
    const auto file = Dir() / "two halves.png";
    EXPECT_TRUE(picture.save(QString::fromStdString(file.string()), "PNG"));
    return file;
  }

  QImage Page(const std::string& folder) const {
    return QImage(QString::fromStdString((Dir() / folder / "page-001.png").string()));
  }
};

TEST_F(RenderCliTest, PictureItemsComeOutPlacedByTheirDisplayMode) {
  const auto picture = Picture();
  // The default cross: window 1.2 is the 48 x 16 bar across the middle.
  struct Row {
    const char* name;
    int mode;
    const char* golden;
  } rows[] = {
      {"zoom keeps the aspect, centred", 1, "render/zoom-48x16.png"},
      {"stretch fills the window", 2, "render/stretch-48x16.png"},
      {"center at 1:1", 0, "render/center-48x16.png"},
      {"tile repeats from the top left", 3, "render/tile-48x16.png"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto added = Run("playbill add-item --kind picture --to 1.2 --show-mode " + std::to_string(row.mode) +
                           " --media " + Quote(picture));
    ASSERT_EQ(added.exitCode, 0) << added.err;
    const std::string folder = std::string("mode-") + std::to_string(row.mode);
    const auto rendered = Run("render --program 1 --window 2 --item 2 " + Quote(Dir() / folder));
    ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
    EXPECT_EQ(rendered.out, (Dir() / folder / "page-001.png").string() + "\n");
    const QImage page = Page(folder);
    ASSERT_EQ(page.size(), QSize(48, 16));
    EXPECT_TRUE(test::MatchesGoldenImage(row.golden, page));
    ASSERT_EQ(Run("playbill delete 1.2.2").exitCode, 0);
  }
  // Zoom of 20 x 10 into 48 x 16: 32 x 16 at x = 8, the white corner pixel at (8, 0).
  const QImage zoomed = Page("mode-1");
  EXPECT_EQ(zoomed.pixel(7, 0), qRgb(0, 0, 0));
  EXPECT_EQ(zoomed.pixel(8, 0), qRgb(255, 255, 255));
  EXPECT_EQ(zoomed.pixel(39, 15), qRgb(0, 0, 255));
  EXPECT_EQ(zoomed.pixel(40, 15), qRgb(0, 0, 0));
}

TEST_F(RenderCliTest, MagnifiedAndLedLooks) {
  ASSERT_EQ(Run("playbill add-item --kind picture --to 1.1 --show-mode 2 --media " + Quote(Picture())).exitCode, 0);
  ASSERT_EQ(Run("render --window 1 --item 2 --zoom 4 " + Quote(Dir() / "squares")).exitCode, 0);
  const QImage squares = Page("squares");
  ASSERT_EQ(squares.size(), QSize(64, 64));
  EXPECT_EQ(squares.pixel(3, 3), qRgb(255, 255, 255)) << "the white LED is a 4 x 4 square";
  EXPECT_EQ(squares.pixel(4, 0), qRgb(255, 0, 0));
  ASSERT_EQ(Run("render --window 1 --item 2 --led " + Quote(Dir() / "dots")).exitCode, 0);
  const QImage dots = Page("dots");
  ASSERT_EQ(dots.size(), QSize(128, 128)) << "zoom 8 unless given";
  EXPECT_EQ(dots.pixel(4, 4), qRgb(255, 255, 255)) << "the middle of the first LED";
  EXPECT_EQ(dots.pixel(0, 0), qRgb(0, 0, 0)) << "the sign's face between LEDs";
}

// Cell text is drawn with the dot fonts of the screen's code page: two centred lines of 16-dot
// Chinese on the default screen, in a full-screen window.
TEST_F(RenderCliTest, CellTextComesOutInTheScreensDotFonts) {
  ASSERT_EQ(Run("playbill layout 0").exitCode, 0);
  const auto added = Run("playbill add-item --kind cell-text --to 1.1.1 --font-height 16 --color green --align center "
                         "--valign middle --text '\u6B22\u8FCE\n\u5149\u4E34'");
  ASSERT_EQ(added.exitCode, 0) << added.err;
  const auto rendered = Run("render --item 2 " + Quote(Dir() / "cells"));
  ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
  EXPECT_EQ(rendered.out, (Dir() / "cells" / "page-001.png").string() + "\n") << "two lines of 16 dots: one page";
  EXPECT_TRUE(test::MatchesGoldenImage("render/cell-text-48x48.png", Page("cells")));
}

// A window one line high shows one line a page.
TEST_F(RenderCliTest, CellTextTakesAPageALine) {
  ASSERT_EQ(Run("playbill add-item --kind cell-text --to 1.2 --text '\u6B22\u8FCE\n\u5149\u4E34'").exitCode, 0);
  const auto rendered = Run("render --window 2 --item 2 " + Quote(Dir() / "lines"));
  ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
  EXPECT_EQ(rendered.out, (Dir() / "lines" / "page-001.png").string() + "\n" + (Dir() / "lines" / "page-002.png").string() + "\n");
  EXPECT_EQ(Page("lines").size(), QSize(48, 16));
}

// "Image mode" text and text files are laid out with outline fonts and cut into pages.
TEST_F(RenderCliTest, ImageTextAndTextFilesComeOutAsPages) {
  ASSERT_EQ(Run("playbill layout 0").exitCode, 0);
  const auto added = Run("playbill add-item --kind image-text --to 1.1.1 --color green --text 'Hello\nLED'");
  ASSERT_EQ(added.exitCode, 0) << added.err;
  const auto rendered = Run("render --item 2 " + Quote(Dir() / "image"));
  ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
  EXPECT_EQ(rendered.out, (Dir() / "image" / "page-001.png").string() + "\n") << "two lines of 16 pixels: one page";
  EXPECT_TRUE(test::MatchesGoldenImage("render/image-text-48x48.png", Page("image")));

  const auto file = Dir() / "notice.txt";
  {
    std::ofstream out(file);
    out << "one two three four five six";
  }
  ASSERT_EQ(Run("playbill add-item --kind text-file --to 1.1 --font-height 12 --color red --media " + Quote(file)).exitCode, 0);
  const auto pages = Run("render --item 3 " + Quote(Dir() / "file"));
  ASSERT_EQ(pages.exitCode, 0) << pages.err;
  EXPECT_EQ(pages.out, (Dir() / "file" / "page-001.png").string() + "\n" + (Dir() / "file" / "page-002.png").string() + "\n")
      << "four lines of 12-pixel text: three in the first 48 rows";
  EXPECT_TRUE(test::MatchesGoldenImage("render/text-file-48x48.png", Page("file")));
}

// An office document is shown through the rich-text copy LibreOffice makes of it (skipped
// without LibreOffice): three lines of 16-pixel text, two to a page of the 48 x 48 window, white
// on black when inverted.
TEST_F(RenderCliTest, OfficeDocumentsComeOutAsPages) {
  const std::filesystem::path soffice = FindProgram("soffice");
  if (soffice.empty()) GTEST_SKIP() << "soffice (LibreOffice) is not installed: office documents are not converted";
  {
    std::ofstream out(Dir() / "notice.rtf");
    out << "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss DejaVu Sans;}}\\f0\\fs24 HELLO\\par LED\\par SIGN\\par}";
  }
  ProgramRun made;
  made.arguments = {"-env:UserInstallation=file://" + (Dir() / "profile").string(), "--headless", "--convert-to",
                    "docx", "--outdir", Dir().string(), (Dir() / "notice.rtf").string()};
  made.timeLimit = std::chrono::seconds(120);
  const Expected<ProgramResult> converted = RunProgram(soffice, made);
  ASSERT_TRUE(converted && converted->Succeeded()) << (converted ? converted->errorTail : converted.status().detail());
  ASSERT_EQ(Run("playbill layout 0").exitCode, 0);
  const auto added = Run("playbill add-item --kind document --to 1.1 --negative --media " + Quote(Dir() / "notice.docx"));
  ASSERT_EQ(added.exitCode, 0) << added.err;
  const auto rendered = Run("render --item 2 " + Quote(Dir() / "document"));
  ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
  EXPECT_EQ(rendered.out,
            (Dir() / "document" / "page-001.png").string() + "\n" + (Dir() / "document" / "page-002.png").string() + "\n");
  const QImage first = Page("document");
  ASSERT_EQ(first.size(), QSize(48, 48));
  // White text (smoothed: greys) in the top 40 rows (two lines), nothing of the third line below.
  int inkTop = 48;
  int inkBottom = -1;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) {
      if (first.pixel(x, y) == qRgb(0, 0, 0)) continue;
      const QRgb pixel = first.pixel(x, y);
      EXPECT_TRUE(qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel)) << x << "," << y << ": grey";
      inkTop = std::min(inkTop, y);
      inkBottom = std::max(inkBottom, y);
    }
  }
  EXPECT_LT(inkTop, 8);
  EXPECT_GT(inkBottom, 24);
  EXPECT_LT(inkBottom, 40);
  // The copy beside the document is used again: the second render needs no LibreOffice.
  std::size_t copies = 0;
  for (const auto& entry : std::filesystem::directory_iterator(Dir())) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("~") && name.ends_with("_notice.docx.rtf")) ++copies;
  }
  ASSERT_EQ(copies, 1u);
  const std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
  ::setenv("PATH", "/nonexistent", 1);
  const auto again = Run("render --item 2 " + Quote(Dir() / "again"));
  // Without the copy and without LibreOffice the item says what it needs.
  for (const auto& entry : std::filesystem::directory_iterator(Dir())) {
    if (entry.path().filename().string().ends_with("_notice.docx.rtf")) std::filesystem::remove(entry.path());
  }
  const auto without = Run("render --item 2 " + Quote(Dir() / "without"));
  ::setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(without.exitCode, 1);
  EXPECT_NE(without.err.find("LibreOffice is needed to show office documents"), std::string::npos) << without.err;
}

// Clocks and counters show the moment given with --at.
TEST_F(RenderCliTest, ClockFacesShowTheMomentAsked) {
  ASSERT_EQ(Run("playbill layout 0").exitCode, 0);
  // Dial, hands, hour and minute in 24-hour time, 8 dots.
  const auto added = Run("playbill add-item --kind clock --to 1.1.1 --font-height 8 --color red --show-mode 16792");
  ASSERT_EQ(added.exitCode, 0) << added.err;
  const auto rendered = Run("render --item 2 --at '2026-12-09 10:10:30' " + Quote(Dir() / "clock"));
  ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
  EXPECT_EQ(rendered.out, (Dir() / "clock" / "page-001.png").string() + "\n");
  EXPECT_TRUE(test::MatchesGoldenImage("render/clock-48x48.png", Page("clock")));
  // A count-down to a date after it, in the same window.
  const auto counter = Run("playbill add-item --kind time-counter --to 1.1 --font-height 16 --color yellow "
                           "--target '2026-12-24 00:00:00' --media '{!d}'");
  ASSERT_EQ(counter.exitCode, 0) << counter.err;
  const auto days = Run("render --window 1 --item 3 --at '2026-12-09 10:10:30' " + Quote(Dir() / "counter"));
  ASSERT_EQ(days.exitCode, 0) << days.err;
  EXPECT_TRUE(test::MatchesGoldenImage("render/count-down-48x48.png", Page("counter")));
  const auto notCounter = Run("playbill add-item --kind clock --to 1.1 --target '2026-12-24 00:00:00'");
  EXPECT_EQ(notCounter.exitCode, 1);
  EXPECT_NE(notCounter.err.find("--target is for time-counter and work-counter items"), std::string::npos) << notCounter.err;
  for (const char* wrong : {"2026-02-30 10:00:00", "10:10", "2026-12-09 24:00", "2026-12-09 10:10:30x"}) {
    const auto refused = Run(std::string("render --item 2 --at '") + wrong + "' " + Quote(Dir() / "x"));
    EXPECT_EQ(refused.exitCode, 1) << wrong;
    EXPECT_NE(refused.err.find("--at: not a date and time"), std::string::npos) << refused.err;
  }
}

TEST_F(RenderCliTest, AnimationItemsComeOutAsFramesWithTheirDelays) {
  if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick is not installed";
  const auto gif = Dir() / "three.gif";
  ASSERT_EQ(std::system(("convert -delay 20 -size 24x8 xc:red -delay 30 xc:lime -delay 45 xc:blue " + Quote(gif)).c_str()), 0);
  // Stretched over the 48 x 16 bar across the middle of the default cross.
  ASSERT_EQ(Run("playbill add-item --kind animation --to 1.2 --show-mode 2 --media " + Quote(gif)).exitCode, 0);
  const auto rendered = Run("render --window 2 --item 2 " + Quote(Dir() / "frames"));
  ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
  std::ifstream delays(Dir() / "frames" / "delays.txt");
  const std::string listed((std::istreambuf_iterator<char>(delays)), std::istreambuf_iterator<char>());
  EXPECT_EQ(listed, "frame-0001.png 200\nframe-0002.png 300\nframe-0003.png 450\n");
  const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
  for (int i = 0; i < 3; ++i) {
    const QImage frame(QString::fromStdString((Dir() / "frames" / ("frame-000" + std::to_string(i + 1) + ".png")).string()));
    ASSERT_EQ(frame.size(), QSize(48, 16)) << i;
    EXPECT_EQ(frame.pixel(0, 0), colours[i]) << i;
    EXPECT_EQ(frame.pixel(47, 15), colours[i]) << i;
  }
}

TEST_F(RenderCliTest, WhatCannotBeDrawnIsRefused) {
  struct Row {
    const char* name;
    std::string arguments;
    std::string error;
  } rows[] = {
      {"a video item naming a picture", "render --window 1 --item 3 " + Quote(Dir() / "x"),
       "item 1.1.3: The file is neither a video nor an animation file: " + (Dir() / "two halves.png").string() + "\n"},
      {"no such window", "render --window 9 " + Quote(Dir() / "x"), "program 1 has no window 9\n"},
      {"no such item", "render --window 1 --item 5 " + Quote(Dir() / "x"), "window 1.1 has no item 5\n"},
      {"missing picture", "render --window 1 --item 2 " + Quote(Dir() / "x"), ""},
  };
  const auto gone = Picture();
  ASSERT_EQ(Run("playbill add-item --kind picture --to 1.1 --media " + Quote(gone)).exitCode, 0);
  ASSERT_EQ(Run("playbill add-item --kind video --to 1.1 --media " + Quote(gone)).exitCode, 0);
  std::filesystem::remove(gone);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto result = Run(row.arguments);
    EXPECT_EQ(result.exitCode, 1);
    if (!row.error.empty()) {
      EXPECT_EQ(result.err, row.error);
    } else {
      EXPECT_NE(result.err.find("The picture could not be read: No such file or directory"), std::string::npos)
          << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(Dir() / "x" / "page-001.png"));
  }
}

}  // namespace
}  // namespace vantorel

#include "render/celltext/cell_page.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "bitmap_ink.h"
#include "cell_text_builder.h"
#include "render/font_lib_asia.h"
#include "render/led_look.h"
#include "support/golden_image.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using test::CellBuilder;
using test::InkRect;

constexpr LedColour kRed = 0x0000FF;
constexpr LedColour kBlue = 0xFF0000;
constexpr LedColour kBlack = 0;
constexpr std::uint8_t kRed8 = 0x10;       // 8 dots, red: a 6 x 8 cell
constexpr std::uint8_t kRedInverse8 = 0x18;

// An "asc.fmd" of blank glyphs: an inverse cell is a solid rectangle of its colour, so the places
// of cells can be read from the picture. Double-byte cells have no glyph and draw blank.
const std::filesystem::path& BlankAscii(const test::TempFolder& folder) {
  folder.WriteBytes("asc.fmd", std::vector<std::uint8_t>(14060, 0));
  return folder.Path();
}

class CellPageTest : public ::testing::Test {
protected:
  CellPage Draw(const RichTextBlock& block, CellPageSettings settings, QSize size = QSize(64, 32), std::size_t first = 0) {
    m_bitmap = CLedBitmap(size.width(), size.height(), 0x77);
    return DrawCellPage(m_bitmap, CellTextView(block), m_font, first, settings);
  }

  test::TempFolder m_folder;
  CFontLib_GB2312 m_font{BlankAscii(m_folder)};
  CLedBitmap m_bitmap;
};

TEST_F(CellPageTest, AlignmentPlacesTheLines) {
  const RichTextBlock oneCell = CellBuilder().Text("A", kRedInverse8).Build();
  struct Row {
    const char* name;
    int alignment;
    bool singleLine;
    bool verticalScroll;
    QRect ink;
  };
  const Row rows[] = {
      {"top left", 0, false, false, {0, 0, 6, 8}},
      {"centred across", 1, false, false, {29, 0, 6, 8}},
      {"right", 2, false, false, {58, 0, 6, 8}},
      {"centred down", 4, false, false, {0, 12, 6, 8}},
      {"bottom", 8, false, false, {0, 24, 6, 8}},
      {"centred both ways", 5, false, false, {29, 12, 6, 8}},
      {"right and bottom", 10, false, false, {58, 24, 6, 8}},
      {"one line: left and centred down", 2 | 8, true, false, {0, 12, 6, 8}},
      {"scrolling up: from the top", 1 | 8, false, true, {29, 0, 6, 8}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CellPageSettings settings;
    settings.textStyle = MakeTextStyle(row.alignment, 0, 0);
    settings.singleLine = row.singleLine;
    settings.verticalScroll = row.verticalScroll;
    Draw(oneCell, settings);
    EXPECT_EQ(InkRect(m_bitmap, kBlack), row.ink);
  }
}

TEST_F(CellPageTest, TabsBeforeThePageSetItsAlignment) {
  const RichTextBlock block = CellBuilder().Tab(2).Text("A\r", kRedInverse8).Text("B", kRedInverse8).Build();
  const CellTextView cells(block);
  EXPECT_EQ(AlignmentAt(cells, 0, MakeTextStyle(5, 0, 0)), 5);
  EXPECT_EQ(AlignmentAt(cells, 1, MakeTextStyle(5, 0, 0)), 2);
  const CellPage page = Draw(block, {}, QSize(64, 8), 3);
  EXPECT_EQ(page.nextCell, 4u);
  EXPECT_EQ(InkRect(m_bitmap, kBlack), QRect(58, 0, 6, 8));
}

TEST_F(CellPageTest, LinesStackWithTheirSpacing) {
  const RichTextBlock block = CellBuilder().Text("A\r", kRedInverse8).Text("B", kRedInverse8).Build();
  CellPageSettings settings;
  settings.textStyle = MakeTextStyle(4, 3, 0);  // centred down, 3 pixels between lines
  const CellPage page = Draw(block, settings);
  EXPECT_EQ(InkRect(m_bitmap, kBlack), QRect(0, 6, 6, 19)) << "(32 - 19) / 2 = 6";
  EXPECT_EQ(m_bitmap.Pixel(0, 14), kBlack) << "the spacing shows the background";
  EXPECT_EQ(m_bitmap.Pixel(0, 17), kRed);
  EXPECT_EQ(page.width, 6);
  EXPECT_EQ(page.height, 19);
  EXPECT_EQ(page.lineCount, 2u);
}

TEST_F(CellPageTest, BackgroundBehindEachCell) {
  // Blank glyphs: a plain cell shows what is behind its dots.
  const RichTextBlock block = CellBuilder()
                                  .Text("A", 0x40)             // blue on the blue window: black behind
                                  .Text("B", kRed8)            // red: the window's blue behind
                                  .Text("C", 0x48)             // inverse blue: solid blue
                                  .Build();
  CellPageSettings settings;
  settings.background = kBlue;
  Draw(block, settings);
  EXPECT_EQ(m_bitmap.Pixel(2, 4), kBlack);
  EXPECT_EQ(m_bitmap.Pixel(8, 4), kBlue);
  EXPECT_EQ(m_bitmap.Pixel(14, 4), kBlue);
  EXPECT_EQ(m_bitmap.Pixel(30, 20), kBlue) << "the window background";
}

TEST_F(CellPageTest, ReportsThePageAndTheFirstCellNotDrawn) {
  // Four 8-dot lines of "AB" in a window 16 high: two lines a page.
  const RichTextBlock block = CellBuilder().Text("AB\rABC\rA\rAB", kRedInverse8).Build();
  struct Row {
    std::size_t first;
    bool singleLine;
    CellPage page;
  };
  const Row rows[] = {
      {0, false, {18, 16, 7, 2}},
      {7, false, {12, 16, 11, 2}},
      {0, true, {12, 8, 3, 1}},
      {11, false, {0, 0, 11, 0}},   // nothing left: nothing drawn
      {99, false, {0, 0, 99, 0}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.first);
    CellPageSettings settings;
    settings.singleLine = row.singleLine;
    const CellPage page = Draw(block, settings, QSize(64, 16), row.first);
    EXPECT_EQ(page.width, row.page.width);
    EXPECT_EQ(page.height, row.page.height);
    EXPECT_EQ(page.nextCell, row.page.nextCell);
    EXPECT_EQ(page.lineCount, row.page.lineCount);
  }
  CellPageSettings single;
  single.singleLine = true;
  const CellPage wide = Draw(CellBuilder().Text("ABCDEFGHIJ", kRedInverse8).Build(), single, QSize(20, 8));
  EXPECT_EQ(wide.width, 18) << "as many cells as fit";
  const CellPage narrow = Draw(CellBuilder().Cell(0xD6D0, 0x1A).Build(), single, QSize(10, 16));
  EXPECT_EQ(narrow.width, 10) << "one line is reported at most as wide as the window";
}

TEST_F(CellPageTest, AnIndexedBitmapTakesThePage) {
  CLedBitmap bitmap(16, 8, 0x03, true);
  ASSERT_EQ(bitmap.Format(), LedPixelFormat::kIndexed4);
  DrawCellPage(bitmap, CellTextView(CellBuilder().Text("A", kRedInverse8).Build()), m_font, 0, {});
  EXPECT_EQ(bitmap.Pixel(0, 0), kRed);
  EXPECT_EQ(bitmap.Pixel(7, 0), kBlack);
}

// Pages drawn with the fonts the build makes.
class CellPageGoldenTest : public ::testing::Test {
protected:
  CFontLib_GB2312 m_font{VANTOREL_BIN_DIR};

  ::testing::AssertionResult Matches(const char* name, const RichTextBlock& block, CellPageSettings settings,
                                     QSize size = QSize(64, 32)) {
    CLedBitmap bitmap(size.width(), size.height(), 0x77);
    DrawCellPage(bitmap, CellTextView(block), m_font, 0, settings);
    return test::MatchesGoldenImage(std::filesystem::path("render/cell-text") / name, bitmap.Image());
  }
};

constexpr std::uint16_t kZhong = 0xD6D0;  // 中
constexpr std::uint16_t kWen = 0xCEC4;    // 文

TEST_F(CellPageGoldenTest, CentredTwoLines) {
  const RichTextBlock block =
      CellBuilder().Cell(kZhong, 0x12).Cell(kWen, 0x12).Text("\r", 0x12).Text("Hi!", 0x22).Build();
  CellPageSettings settings;
  settings.textStyle = MakeTextStyle(5, 0, 0);
  EXPECT_TRUE(Matches("centred-64x32.png", block, settings));
}

TEST_F(CellPageGoldenTest, RightAndBottomWithSpacing) {
  const RichTextBlock block = CellBuilder().Text("Right\rend", 0x31).Build();
  CellPageSettings settings;
  settings.textStyle = MakeTextStyle(10, 2, 0);
  EXPECT_TRUE(Matches("right-bottom-64x32.png", block, settings));
}

TEST_F(CellPageGoldenTest, WordsWrapAndATabCentresWhatFollows) {
  const RichTextBlock block = CellBuilder().Text("One two", 0x70).Tab(1).Text(" three four", 0x50).Build();
  EXPECT_TRUE(Matches("wrap-tab-64x32.png", block, {}));
}

TEST_F(CellPageGoldenTest, InverseCells) {
  const RichTextBlock block = CellBuilder()
                                  .Text("Inv", 0x1A)
                                  .Text("ok", 0x22)
                                  .Text("\r", 0x12)
                                  .Cell(kZhong, 0x4A)
                                  .Text("blue", 0x41)
                                  .Build();
  CellPageSettings settings;
  settings.background = 0x202020;
  EXPECT_TRUE(Matches("inverse-64x32.png", block, settings));
}

TEST_F(CellPageGoldenTest, MixedSizesOnOneLine) {
  const RichTextBlock block =
      CellBuilder().Text("a", 0x10).Text("b", 0x11).Text("c", 0x12).Text("d", 0x13).Cell(kZhong, 0x13).Build();
  EXPECT_TRUE(Matches("mixed-sizes-80x32.png", block, {}, QSize(80, 32)));
}

TEST_F(CellPageGoldenTest, FullColourCells) {
  CellBuilder builder(6);
  const LedColour colours[] = {0x0000FF, 0x0080FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, 0xFFFFFF};
  for (const LedColour colour : colours) builder.Text("#", 0x11, colour);
  builder.Text("\r", 0x12, kRed).Cell(kZhong, 0x1A, 0x0080FF).Cell(kWen, 0x12, 0xFF8000);
  EXPECT_TRUE(Matches("full-colour-64x32.png", builder.Build(), {}));
}

}  // namespace
}  // namespace vantorel

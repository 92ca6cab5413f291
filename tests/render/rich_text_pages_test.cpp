#include "render/richtext/rich_text_pages.h"

#include <gtest/gtest.h>

#include <string>

#include "bitmap_ink.h"
#include "gui_application.h"
#include "playbill/rich_text_block.h"
#include "render/richtext/rtf_reader.h"
#include "support/golden_image.h"

namespace vantorel {
namespace {

constexpr LedColour kWhite = 0xFFFFFF;
constexpr LedColour kBlack = 0;
constexpr LedColour kRed = 0x0000FF;

using test::ColoursOf;
using test::InkRect;

TEST(PaginationModeTest, FromTheEffectCode) {
  struct Row {
    std::uint32_t code;
    PaginationMode mode;
  };
  const Row rows[] = {
      {0, PaginationMode::kWholeLines},     {1, PaginationMode::kWholeLines},   {10, PaginationMode::kBands},
      {11, PaginationMode::kWidthPieces},   {12, PaginationMode::kWidthPieces}, {13, PaginationMode::kWholeLines},
      {14, PaginationMode::kWidthPieces},   {15, PaginationMode::kWidthPieces}, {53, PaginationMode::kWholeLines},
      {0x800A, PaginationMode::kBands},     {0x800B, PaginationMode::kWidthPieces},
      {0x1000A, PaginationMode::kBands},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.code);
    EXPECT_EQ(PaginationModeFor(row.code), row.mode);
  }
  EXPECT_EQ(LayoutWidthFor(PaginationMode::kWholeLines, 64), 69);
  EXPECT_EQ(LayoutWidthFor(PaginationMode::kBands, 64), 69);
  EXPECT_EQ(LayoutWidthFor(PaginationMode::kWidthPieces, 64), 30000);
}

TEST(CutPagesTest, FromLineRectangles) {
  struct Row {
    const char* name;
    PaginationMode mode;
    std::vector<TextRect> lines;
    QSize window;
    int offset;
    std::vector<TextRect> pages;
  };
  const QSize window(64, 32);
  const Row rows[] = {
      {"whole lines: gathered while they fit", PaginationMode::kWholeLines,
       {{0, 0, 40, 10}, {0, 10, 50, 20}, {0, 20, 30, 30}, {0, 30, 20, 40}}, window, 0,
       {{0, 0, 50, 30}, {0, 30, 20, 40}}},
      {"whole lines: a line taller than the window is a page alone, from its top", PaginationMode::kWholeLines,
       {{0, 0, 50, 10}, {0, 10, 50, 50}, {0, 50, 50, 60}}, window, 0,
       {{0, 0, 50, 10}, {0, 10, 50, 50}, {0, 50, 50, 60}}},
      {"whole lines: right edge at most L + W", PaginationMode::kWholeLines,
       {{2, 0, 100, 10}, {4, 10, 20, 20}}, window, 0, {{2, 0, 66, 20}}},
      {"whole lines: exactly the window's height", PaginationMode::kWholeLines,
       {{0, 0, 10, 16}, {0, 16, 10, 32}, {0, 32, 10, 48}}, window, 0, {{0, 0, 10, 32}, {0, 32, 10, 48}}},
      {"bands: text of exactly 2H gives two", PaginationMode::kBands,
       {{0, 0, 40, 16}, {0, 16, 40, 32}, {0, 32, 40, 48}, {0, 48, 30, 64}}, window, 0,
       {{0, 0, 40, 32}, {0, 32, 40, 64}}},
      {"bands: 2H + 1 gives a third of one row", PaginationMode::kBands,
       {{3, 0, 100, 40}, {5, 40, 20, 65}}, window, 0, {{3, 0, 67, 32}, {3, 32, 67, 64}, {3, 64, 67, 65}}},
      {"bands: an offset moves the lines down and drops those below the end", PaginationMode::kBands,
       {{0, 0, 40, 16}, {0, 16, 40, 32}, {0, 32, 40, 48}}, window, 20, {{0, 20, 40, 48}}},
      {"bands: an offset past the end leaves no band", PaginationMode::kBands,
       {{0, 0, 40, 16}, {0, 16, 40, 32}}, window, 100, {}},
      {"pieces: 2W + 1 gives three, the last one pixel wide", PaginationMode::kWidthPieces,
       {{0, 0, 129, 16}}, window, 0, {{0, 0, 64, 16}, {64, 0, 128, 16}, {128, 0, 129, 16}}},
      {"pieces: line after line, each from its own left", PaginationMode::kWidthPieces,
       {{10, 0, 74, 16}, {20, 16, 30, 40}, {5, 40, 5, 56}}, window, 0, {{10, 0, 74, 16}, {20, 16, 30, 40}}},
      {"no lines", PaginationMode::kWholeLines, {}, window, 0, {}},
      {"no width", PaginationMode::kBands, {{0, 0, 40, 16}}, QSize(0, 32), 0, {}},
      {"no height", PaginationMode::kWidthPieces, {{0, 0, 40, 16}}, QSize(64, 0), 0, {}},
      {"no height, whole lines", PaginationMode::kWholeLines, {{0, 0, 40, 16}}, QSize(64, -1), 0, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    int offset = row.offset;
    const std::vector<TextRect> pages = CutPages(row.lines, row.window, row.mode, offset);
    ASSERT_EQ(pages.size(), row.pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(pages[i], row.pages[i]) << pages[i].left << "," << pages[i].top << "," << pages[i].right << ","
                                        << pages[i].bottom;
    }
    if (row.mode == PaginationMode::kBands && !row.lines.empty() && row.window.width() > 0) {
      EXPECT_EQ(offset, 0);
    }
  }
}

// RTF of `body` in DejaVu Sans (installed with the Debian packages, so pictures stay the same)
// with red as colour 1.
std::string Dejavu(const std::string& body) {
  return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss DejaVu Sans;}}{\\colortbl ;\\red255\\green0\\blue0;}" + body + "}";
}

class RichTextPagesTest : public ::testing::Test {
protected:
  void SetUp() override { test::GuiApplication(); }

  // Loads `rtf` for a window of `size` and cuts it by `mode`.
  void Load(const std::string& rtf, QSize size, PaginationMode mode) {
    m_bitmap = CLedBitmap(size.width(), size.height(), 0x77);
    Expected<std::unique_ptr<QTextDocument>> document = ReadRtf(rtf);
    ASSERT_TRUE(document.ok()) << document.status().detail();
    m_pages.SetTarget(&m_bitmap);
    m_pages.Load(std::move(*document));
    m_pages.Paginate(mode);
  }

  // Every page, drawn.
  std::vector<CLedBitmap> DrawAll() {
    std::vector<CLedBitmap> drawn;
    while (m_pages.DrawNextPage()) {
      drawn.push_back(m_bitmap);
      if (drawn.size() > 1000) break;
    }
    return drawn;
  }

  CLedBitmap m_bitmap;
  CRichTextPages m_pages;
};

TEST_F(RichTextPagesTest, LinesWrapAtTheWindowWidth) {
  Load(Dejavu("\\fs24 one two three four five six"), QSize(64, 32), PaginationMode::kWholeLines);
  ASSERT_GE(m_pages.Lines().size(), 3u);
  for (const TextRect& line : m_pages.Lines()) {
    EXPECT_GE(line.left, 0);
    EXPECT_LE(line.right, 64);
    EXPECT_GT(line.Width(), 0);
  }
  for (std::size_t i = 1; i < m_pages.Lines().size(); ++i) {
    EXPECT_EQ(m_pages.Lines()[i].top, m_pages.Lines()[i - 1].bottom) << "lines stack without gaps";
  }
}

TEST_F(RichTextPagesTest, AFirstWordWiderThanTheLineIsBrokenInside) {
  Load(Dejavu("\\fs24 Abcdefghijklmnopqrstuvwxyz end"), QSize(32, 16), PaginationMode::kWholeLines);
  const std::vector<TextRect>& lines = m_pages.Lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_GT(lines.front().Width(), 16) << "the first line holds as much of the word as fits";
  for (const TextRect& line : lines) EXPECT_LE(line.right, 32);
  EXPECT_EQ(m_pages.PageCount(), lines.size()) << "one 16-pixel window a line";
}

// The cells of a table (a spreadsheet's page) stand where the table puts them: rows one below the
// other, so whole-line pages take every row once and in order.
TEST_F(RichTextPagesTest, TableCellsStandWhereTheTablePutsThem) {
  m_bitmap = CLedBitmap(96, 40, 0x77);
  auto document = std::make_unique<QTextDocument>();
  document->setHtml("<p>Head</p><table cellspacing=\"0\"><tr><td>a1</td><td>b1</td></tr><tr><td>a2</td><td>b2</td></tr>"
                    "<tr><td>a3</td><td>b3</td></tr></table>");
  m_pages.SetTarget(&m_bitmap);
  m_pages.Load(std::move(document));
  m_pages.Paginate(PaginationMode::kWholeLines);
  const std::vector<TextRect>& lines = m_pages.Lines();
  ASSERT_GE(lines.size(), 7u) << "the paragraph and six cells (an empty paragraph may follow the table)";
  for (std::size_t row = 0; row < 3; ++row) {
    const TextRect& a = lines[1 + 2 * row];
    const TextRect& b = lines[2 + 2 * row];
    SCOPED_TRACE(row);
    EXPECT_EQ(a.top, b.top) << "the cells of a row side by side";
    EXPECT_GE(b.left, a.right);
    EXPECT_GE(a.top, lines[2 * row].bottom) << "each row below the one before";
  }
  std::size_t covered = 0;
  for (const TextRect& page : m_pages.Pages()) {
    for (const TextRect& line : lines) covered += line.top >= page.top && line.bottom <= page.bottom ? 1 : 0;
  }
  EXPECT_EQ(covered, lines.size()) << "every line on exactly one page";
}

TEST_F(RichTextPagesTest, NoLineIsWrappedInWidthPieces) {
  Load(Dejavu("\\fs24 one two three four five six"), QSize(64, 32), PaginationMode::kWidthPieces);
  ASSERT_EQ(m_pages.Lines().size(), 1u);
  const int width = m_pages.Lines().front().Width();
  EXPECT_GT(width, 128);
  EXPECT_EQ(m_pages.PageCount(), static_cast<std::size_t>((width + 63) / 64));
}

TEST_F(RichTextPagesTest, WindowsWithoutAreaHaveNoPages) {
  for (const QSize size : {QSize(0, 32), QSize(64, 0), QSize(0, 0)}) {
    for (const PaginationMode mode :
         {PaginationMode::kWholeLines, PaginationMode::kBands, PaginationMode::kWidthPieces}) {
      SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
      Load(Dejavu("text"), size, mode);
      EXPECT_EQ(m_pages.PageCount(), 0u);
      EXPECT_TRUE(m_pages.Finished());
      EXPECT_FALSE(m_pages.DrawNextPage());
    }
  }
}

TEST_F(RichTextPagesTest, APageAfterTheLastDrawsNothing) {
  Load(Dejavu("\\fs24 A"), QSize(32, 32), PaginationMode::kWholeLines);
  ASSERT_EQ(m_pages.PageCount(), 1u);
  EXPECT_FALSE(m_pages.Finished());
  EXPECT_TRUE(m_pages.DrawNextPage());
  EXPECT_TRUE(m_pages.Finished());
  m_bitmap.Fill(kRed);
  EXPECT_FALSE(m_pages.DrawNextPage());
  EXPECT_TRUE(m_pages.Finished());
  EXPECT_EQ(m_bitmap.Pixel(0, 0), kRed);
}

TEST_F(RichTextPagesTest, SettingTheTargetFillsItWithTheBackground) {
  CLedBitmap bitmap(8, 8, 0x77);
  m_pages.SetTarget(&bitmap);
  EXPECT_EQ(bitmap.Pixel(3, 3), kWhite) << "white when not set";
  m_pages.SetBackground(kRed);
  m_pages.SetTarget(&bitmap);
  EXPECT_EQ(bitmap.Pixel(3, 3), kRed);
}

TEST_F(RichTextPagesTest, NothingOfTheNextLineShowsBelowAPage) {
  // Lines of about 19 pixels in a 30-pixel window: one line a page, the rest background.
  m_pages.SetBackground(kBlack);
  m_pages.SetTextColour(kWhite);
  Load(Dejavu("\\fs24 Ag\\par Ag\\par Ag"), QSize(32, 30), PaginationMode::kWholeLines);
  ASSERT_EQ(m_pages.PageCount(), 3u);
  const std::vector<CLedBitmap> drawn = DrawAll();
  ASSERT_EQ(drawn.size(), 3u);
  const int lineHeight = m_pages.Lines()[0].Height();
  EXPECT_EQ(m_pages.LastPageSize().height(), lineHeight);
  for (const CLedBitmap& page : drawn) {
    const QRect ink = InkRect(page, kBlack);
    EXPECT_FALSE(ink.isEmpty());
    EXPECT_LT(ink.bottom(), lineHeight);
    EXPECT_LE(ink.left(), 1) << "the text starts at the bitmap's left";
  }
}

TEST_F(RichTextPagesTest, TheVerticalOffsetMovesTheTextUp) {
  m_pages.SetBackground(kBlack);
  m_pages.SetTextColour(kWhite);
  Load(Dejavu("\\fs24 Ag"), QSize(32, 30), PaginationMode::kWholeLines);
  DrawAll();
  const QRect plain = InkRect(m_bitmap, kBlack);
  m_pages.SetVerticalOffset(3);
  m_pages.Paginate(PaginationMode::kWholeLines);
  DrawAll();
  const QRect moved = InkRect(m_bitmap, kBlack);
  EXPECT_EQ(moved.top(), plain.top() - 3);
  EXPECT_LT(moved.bottom(), m_pages.Lines()[0].Height() - 3);
}

TEST_F(RichTextPagesTest, PiecesAreCentredWhenAsked) {
  m_pages.SetBackground(kBlack);
  m_pages.SetTextColour(kWhite);
  Load(Dejavu("\\fs16 Ag\\par Second"), QSize(64, 40), PaginationMode::kWidthPieces);
  ASSERT_EQ(m_pages.PageCount(), 2u);
  m_pages.DrawNextPage();
  const QRect top = InkRect(m_bitmap, kBlack);
  const int height = m_pages.LastPageSize().height();
  EXPECT_LT(top.bottom(), height) << "the second line does not show";
  m_pages.SetVerticalCentring(true);
  m_pages.Paginate(PaginationMode::kWidthPieces);
  m_pages.DrawNextPage();
  EXPECT_EQ(InkRect(m_bitmap, kBlack), top.translated(0, (40 - height) / 2));
}

TEST_F(RichTextPagesTest, AFixedLinePitchStacksStrips) {
  m_pages.SetBackground(kBlack);
  m_pages.SetTextColour(kWhite);
  m_pages.SetLinePitch(12);
  Load(Dejavu("\\fs12 a\\par b\\par c\\par d\\par e"), QSize(32, 26), PaginationMode::kWholeLines);
  ASSERT_EQ(m_pages.PageCount(), 3u) << "two whole strips of 12 in 26 rows";
  m_pages.DrawNextPage();
  EXPECT_EQ(m_pages.LastPageSize().height(), 24);
  const QRect ink = InkRect(m_bitmap, kBlack);
  EXPECT_LT(ink.bottom(), 24);
  EXPECT_GE(ink.top(), 0);
  const std::vector<CLedBitmap> rest = DrawAll();
  EXPECT_EQ(rest.size(), 2u);
  EXPECT_EQ(m_pages.LastPageSize().height(), 12) << "the last page holds the fifth line alone";
  m_pages.SetLinePitch(100);
  m_pages.Paginate(PaginationMode::kWholeLines);
  EXPECT_EQ(m_pages.PageCount(), 5u) << "a strip taller than the window still holds its line";
}

TEST_F(RichTextPagesTest, ColoursOfTheTextAndRemovedSmoothing) {
  m_pages.SetBackground(kBlack);
  m_pages.SetTextColour(kWhite);
  Load(Dejavu("\\fs24 Wow"), QSize(40, 20), PaginationMode::kWholeLines);
  m_pages.DrawNextPage();
  EXPECT_GT(ColoursOf(m_bitmap).size(), 2u) << "smoothed edges have shades";
  EXPECT_TRUE(ColoursOf(m_bitmap).contains(kWhite)) << "text without a colour takes the default";
  m_pages.SetRemoveFontSmooth(true);
  m_pages.Paginate(PaginationMode::kWholeLines);
  m_pages.DrawNextPage();
  EXPECT_EQ(ColoursOf(m_bitmap), (std::set<LedColour>{kBlack, kWhite}));
  Load(Dejavu("\\fs24\\cf1 Wow"), QSize(40, 20), PaginationMode::kWholeLines);
  m_pages.DrawNextPage();
  EXPECT_EQ(ColoursOf(m_bitmap), (std::set<LedColour>{kBlack, kRed}));
}

class RichTextGoldenTest : public RichTextPagesTest {
protected:
  // Every page of `rtf` against rich-text/<name>-<n>.png.
  void ExpectPages(const std::string& name, const std::string& rtf, QSize size, PaginationMode mode,
                   std::size_t pageCount) {
    Load(rtf, size, mode);
    const std::vector<CLedBitmap> drawn = DrawAll();
    EXPECT_EQ(drawn.size(), pageCount);
    for (std::size_t i = 0; i < drawn.size(); ++i) {
      EXPECT_TRUE(test::MatchesGoldenImage(
          std::filesystem::path("render/rich-text") / (name + "-" + std::to_string(i + 1) + ".png"), drawn[i].Image()));
    }
  }
};

TEST_F(RichTextGoldenTest, NewImageModeText) {
  m_pages.SetBackground(kBlack);
  // 16 pixels a character: the word does not fit and breaks before its last letter.
  ExpectPages("welcome-64x32", RichTextBlock::ImageModeDocument("Welcome", kRed), QSize(64, 32),
              PaginationMode::kWholeLines, 2);
}

TEST_F(RichTextGoldenTest, CentredParagraphsInWholeLines) {
  m_pages.SetBackground(kBlack);
  m_pages.SetTextColour(0x00FF00);
  m_pages.SetRemoveFontSmooth(true);
  ExpectPages("centred-48x24", Dejavu("\\qc\\fs16 Hello LED\\par\\cf1\\b Big sign\\par\\pard\\qr\\fs20 right"),
              QSize(48, 24), PaginationMode::kWholeLines, 5);
}

TEST_F(RichTextGoldenTest, ScrollingUpInBands) {
  m_pages.SetBackground(0x400000);
  m_pages.SetTextColour(kWhite);
  ExpectPages("bands-32x16", Dejavu("\\fs18 one two three"), QSize(32, 16), PaginationMode::kBands, 3);
}

TEST_F(RichTextGoldenTest, ScrollingAcrossInPieces) {
  m_pages.SetBackground(kBlack);
  m_pages.SetVerticalCentring(true);
  ExpectPages("pieces-40x20", Dejavu("\\fs20\\cf1 Scroll \\i across"), QSize(40, 20), PaginationMode::kWidthPieces,
              3);
}

}  // namespace
}  // namespace vantorel

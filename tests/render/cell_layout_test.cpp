#include "render/celltext/cell_layout.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "cell_text_builder.h"
#include "render/font_lib_asia.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using test::CellBuilder;

// No font files: every cell has the width of the geometry table and draws blank. 8-dot single
// bytes are 6 x 8, 16-dot double bytes 16 x 16.
class CellLayoutTest : public ::testing::Test {
protected:
  test::TempFolder m_folder;
  CFontLib_GB2312 m_font{m_folder.Path()};
};

constexpr std::uint16_t kZhong = 0xD6D0;  // a GB2312 character

TEST_F(CellLayoutTest, TokensAreWordsLineEndRunsAndSingleCells) {
  const RichTextBlock block =
      CellBuilder().Text("Abc12 \r\n\r").Tab(1).Attribute(0x22).Cell(kZhong).Text("x").Cell(0).Text("y").Build();
  const CellTextView cells(block);
  struct Row {
    std::size_t first;
    CellTokenKind kind;
    std::size_t count;
  };
  const Row rows[] = {
      {0, CellTokenKind::kWord, 3},         {1, CellTokenKind::kWord, 2},      {3, CellTokenKind::kOther, 1},
      {4, CellTokenKind::kOther, 1},        {5, CellTokenKind::kOther, 1},     {6, CellTokenKind::kLineEnd, 3},
      {9, CellTokenKind::kTab, 1},          {10, CellTokenKind::kLineAttribute, 1}, {11, CellTokenKind::kOther, 1},
      {12, CellTokenKind::kWord, 1},        {13, CellTokenKind::kEnd, 0},      {15, CellTokenKind::kEnd, 0},
      {500, CellTokenKind::kEnd, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.first);
    const CellToken token = TokenAt(cells, row.first, cells.Count());
    EXPECT_EQ(token.kind, row.kind);
    EXPECT_EQ(token.count, row.count);
  }
  EXPECT_EQ(TokenAt(cells, 0, 2).count, 2u) << "a token ends at the end given";
}

TEST_F(CellLayoutTest, FitCellsTakesWhatFitsAndAlwaysTheFirst) {
  const RichTextBlock block = CellBuilder().Text("ABCD").Cell(kZhong, 0x12).Text("E").Cell(0).Text("F").Build();
  const CellTextView cells(block);
  struct Row {
    const char* name;
    std::size_t first, count;
    int limit;
    CellFit fit;
  };
  const Row rows[] = {
      {"all fit", 0, 4, 24, {4, 24, 8}},
      {"running width at most the limit", 0, 4, 23, {3, 18, 8}},
      {"the first cell fits a smaller limit", 0, 4, 1, {1, 6, 8}},
      {"and a limit of 0", 0, 4, 0, {1, 6, 8}},
      {"tallest height", 3, 2, 100, {2, 22, 16}},
      {"a wide first cell", 4, 2, 10, {1, 16, 16}},
      {"code 0 ends the text", 5, 10, 100, {1, 6, 8}},
      {"past the cells", 9, 3, 100, {0, 0, 0}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const CellFit fit = FitCells(cells, m_font, row.first, row.count, row.limit, 0);
    EXPECT_EQ(fit.count, row.fit.count);
    EXPECT_EQ(fit.width, row.fit.width);
    EXPECT_EQ(fit.height, row.fit.height);
  }
}

TEST_F(CellLayoutTest, MeasureStyleOfEachCellSize) {
  EXPECT_EQ(CellMeasureStyle(0x7A, 3, 0x50), 0x52u) << "size index and the item's face";
  EXPECT_EQ(CellMeasureStyle(0x7A, 6, 0x50), 0x72u) << "the cell's own face, without inverse";
}

struct LineRow {
  const char* name;
  RichTextBlock block;
  int lineWidth;
  int pageHeight;
  bool singleLine;
  int spacing;
  std::uint8_t alignment;
  std::vector<CellLine> lines;
};

TEST_F(CellLayoutTest, BreakLinesTable) {
  const LineRow rows[] = {
      {"one line", CellBuilder().Text("AB CD").Build(), 30, 32, false, 0, 0, {{0, 5, 30, 8, 0, 0}}},
      {"a word moves whole to the next line", CellBuilder().Text("AB CD").Build(), 24, 32, false, 0, 0,
       {{0, 3, 18, 8, 0, 0}, {3, 2, 12, 8, 0, 0}}},
      {"a first word wider than the line keeps what fits", CellBuilder().Text("ABCDEFGH").Build(), 20, 32, false, 0, 0,
       {{0, 3, 18, 8, 0, 0}, {3, 3, 18, 8, 0, 0}, {6, 2, 12, 8, 0, 0}}},
      {"at least one cell a line", CellBuilder().Text("AB").Build(), 4, 32, false, 0, 0,
       {{0, 1, 6, 8, 0, 0}, {1, 1, 6, 8, 0, 0}}},
      {"a word after a word does not break", CellBuilder().Text("AB CDEFG").Build(), 30, 32, false, 0, 0,
       {{0, 3, 18, 8, 0, 0}, {3, 5, 30, 8, 0, 0}}},
      {"digits are single tokens", CellBuilder().Text("ABC12").Build(), 24, 32, false, 0, 0,
       {{0, 4, 24, 8, 0, 0}, {4, 1, 6, 8, 0, 0}}},
      {"a wide character on a full line moves", CellBuilder().Text("AB").Cell(kZhong, 0x12).Build(), 20, 32, false, 0, 0,
       {{0, 2, 12, 8, 0, 0}, {2, 1, 16, 16, 0, 0}}},
      {"mixed sizes: the tallest cell", CellBuilder().Text("A").Cell(kZhong, 0x12).Build(), 64, 32, false, 0, 0,
       {{0, 2, 22, 16, 0, 0}}},
      {"line ends are counted in their line", CellBuilder().Text("AB\r\nCD").Build(), 64, 32, false, 0, 0,
       {{0, 4, 12, 8, 0, 0}, {4, 2, 12, 8, 0, 0}}},
      {"a run of line ends ends one line", CellBuilder().Text("A\r\r\rB").Build(), 64, 32, false, 0, 0,
       {{0, 4, 6, 8, 0, 0}, {4, 1, 6, 8, 0, 0}}},
      {"an empty line has the height of its line end", CellBuilder().Text("\r", 0x12).Text("AB").Build(), 64, 32, false,
       0, 0, {{0, 1, 0, 16, 0, 0}, {1, 2, 12, 8, 0, 0}}},
      {"a tab sets the alignment of its line and the next", CellBuilder().Text("A").Tab(1).Text("B\rC").Build(), 64, 32,
       false, 0, 4, {{0, 4, 12, 8, 1, 0}, {4, 1, 6, 8, 1, 0}}},
      {"the starting alignment", CellBuilder().Text("A\rB").Build(), 64, 32, false, 0, 6,
       {{0, 2, 6, 8, 6, 0}, {2, 1, 6, 8, 6, 0}}},
      {"the last tab counts", CellBuilder().Tab(1).Tab(2).Text("A").Build(), 64, 32, false, 0, 0, {{0, 3, 6, 8, 2, 0}}},
      {"code 7 is the line's attribute", CellBuilder().Text("A").Attribute(0x55).Text("B").Attribute(0x66).Text("\rC").Build(),
       64, 32, false, 0, 0, {{0, 5, 12, 8, 0, 0x66}, {5, 1, 6, 8, 0, 0}}},
      {"lines while the page height takes them", CellBuilder().Text("A\rB\rC").Build(), 64, 20, false, 2, 0,
       {{0, 2, 6, 8, 0, 0}, {2, 2, 6, 8, 0, 0}}},
      {"exactly the page height", CellBuilder().Text("A\rB\rC").Build(), 64, 24, false, 0, 0,
       {{0, 2, 6, 8, 0, 0}, {2, 2, 6, 8, 0, 0}, {4, 1, 6, 8, 0, 0}}},
      {"the first line even when taller than the page", CellBuilder().Text("A\rB").Build(), 64, 4, false, 0, 0,
       {{0, 2, 6, 8, 0, 0}}},
      {"single-line mode makes one line", CellBuilder().Text("AB CD").Build(), 24, 32, true, 0, 0, {{0, 3, 18, 8, 0, 0}}},
      {"single-line mode still ends at a line end", CellBuilder().Text("A\rB").Build(), 64, 32, true, 0, 0,
       {{0, 2, 6, 8, 0, 0}}},
      {"code 0 ends the text", CellBuilder().Text("AB").Cell(0).Text("CD").Build(), 64, 32, false, 0, 0,
       {{0, 2, 12, 8, 0, 0}}},
      {"no cells", CellBuilder().Build(), 64, 32, false, 0, 0, {}},
  };
  for (const LineRow& row : rows) {
    SCOPED_TRACE(row.name);
    const CellTextView cells(row.block);
    LineBreakSettings settings;
    settings.lineWidth = row.lineWidth;
    settings.pageHeight = row.pageHeight;
    settings.singleLine = row.singleLine;
    settings.lineSpacing = row.spacing;
    settings.alignment = row.alignment;
    std::array<CellLine, 16> lines{};
    const std::size_t made = BreakLines(cells, m_font, 0, cells.Count(), settings, lines);
    EXPECT_EQ(std::vector<CellLine>(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(made)), row.lines);
  }
}

TEST_F(CellLayoutTest, BreakLinesStopsAtTheArraySizeAndTheCountGiven) {
  const RichTextBlock block = CellBuilder().Text("A\rB\rC\rD").Build();
  const CellTextView cells(block);
  LineBreakSettings settings;
  settings.lineWidth = 64;
  settings.pageHeight = 1000;
  std::array<CellLine, 2> two{};
  EXPECT_EQ(BreakLines(cells, m_font, 0, cells.Count(), settings, two), 2u);
  std::array<CellLine, 8> lines{};
  EXPECT_EQ(BreakLines(cells, m_font, 2, 3, settings, lines), 2u) << "B\\r and C";
  EXPECT_EQ(lines[1], (CellLine{4, 1, 6, 8, 0, 0}));
  EXPECT_EQ(BreakLines(cells, m_font, 99, 5, settings, lines), 0u);
  EXPECT_EQ(BreakLines(cells, m_font, 0, cells.Count(), settings, std::span<CellLine>()), 0u);
}

TEST(CellAlign, AlignOffsetTable) {
  struct Row {
    int alignment, used, available, offset;
  };
  const Row rows[] = {
      {0, 10, 20, 0},  {4, 10, 20, 5},  {8, 10, 20, 10}, {12, 10, 20, 0}, {4, 11, 20, 4},  {1, 10, 20, 0},
      {2, 10, 20, 0},  {7, 10, 20, 5},  {4, 20, 20, 0},  {8, 30, 20, 0},  {8, 0, 20, 20},  {4, 0, 0, 0},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(AlignOffset(row.alignment, row.used, row.available), row.offset)
        << row.alignment << " " << row.used << " " << row.available;
  }
}

}  // namespace
}  // namespace vantorel

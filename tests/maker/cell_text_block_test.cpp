#include "maker/cell_text_block.h"

#include <gtest/gtest.h>

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;

RichTextBlock Block(const Bytes& bytes) { return RichTextBlock::FromBytes(bytes).value(); }

TEST(CellTextBlock, CopiesOrReducesTheCells) {
  struct Row {
    const char* name;
    Bytes richText;
    Bytes expected;
    bool sixByte;
  };
  const Row rows[] = {
      {"three-byte cells", {2, 0, 3, 0x12, 0, 'H', 0x12, 0, 'i', 0, 0, 0}, {1, 0x12, 0, 'H', 0x12, 0, 'i'}, false},
      {"another cell size byte counts as three", {1, 0, 5, 0x11, 0, 'x', 0, 0, 0}, {1, 0x11, 0, 'x'}, false},
      {"a count above the held cells", {5, 0, 3, 0x12, 0, 'H', 0x12, 0, 'i', 0x12}, {1, 0x12, 0, 'H', 0x12, 0, 'i'}, false},
      {"a count below the held cells", {1, 0, 3, 0x12, 0, 'H', 0x12, 0, 'i'}, {1, 0x12, 0, 'H'}, false},
      {"six-byte cells of full colours and one face: reduced",
       {2, 0, 6, 255, 0, 0, 0x22, 0, 'A', 0, 255, 255, 0xAA, 0xB0, 0xA1},
       {1, 0x12, 0, 'A', 0xEA, 0xB0, 0xA1}, false},
      {"six-byte black cells: reduced without colour bits",
       {1, 0, 6, 0, 0, 0, 0x73, 0, 'B'},
       {1, 0x03, 0, 'B'}, false},
      {"six-byte white cell",
       {1, 0, 6, 255, 255, 255, 0x01, 0, 'C'},
       {1, 0x71, 0, 'C'}, false},
      {"six-byte cells of two faces: kept",
       {2, 0, 6, 255, 0, 0, 0x22, 0, 'A', 255, 0, 0, 0x32, 0, 'B'},
       {4, 255, 0, 0, 0x22, 0, 'A', 255, 0, 0, 0x32, 0, 'B'}, true},
      {"six-byte cell of a mixed colour: kept",
       {2, 0, 6, 255, 0, 0, 0x02, 0, 'A', 128, 0, 0, 0x02, 0, 'B'},
       {4, 255, 0, 0, 0x02, 0, 'A', 128, 0, 0, 0x02, 0, 'B'}, true},
      {"six-byte count above the held cells", {9, 0, 6, 0, 255, 0, 0x02, 0, 'G', 0, 255}, {1, 0x22, 0, 'G'}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::optional<CellTextBlock> block = MakeCellTextBlock(Block(row.richText));
    ASSERT_TRUE(block.has_value());
    EXPECT_EQ(block->bytes, row.expected);
    EXPECT_EQ(block->sixByte, row.sixByte);
  }
}

TEST(CellTextBlock, GivesNothingWithoutACell) {
  struct Row {
    const char* name;
    Bytes richText;
  };
  const Row rows[] = {
      {"no bytes", {}},
      {"a header cut short", {1, 0}},
      {"a count of 0", {0, 0, 3, 0x12, 0, 'H'}},
      {"a count without cells", {3, 0, 3, 0x12, 0}},
      {"a six-byte count without a whole cell", {1, 0, 6, 0, 0, 0, 0x02, 0}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_FALSE(MakeCellTextBlock(Block(row.richText)).has_value());
  }
  EXPECT_FALSE(MakeCellTextBlock(RichTextBlock()).has_value());
}

TEST(CellTextBlock, TakesTheCellsOfANewItem) {
  const std::optional<RichTextBlock> welcome = RichTextBlock::NewCellText(-1);
  ASSERT_TRUE(welcome.has_value());
  const std::optional<CellTextBlock> block = MakeCellTextBlock(*welcome);
  ASSERT_TRUE(block.has_value());
  Bytes expected = {1};
  for (char c : std::string("Welcome")) expected.insert(expected.end(), {0x12, 0, static_cast<std::uint8_t>(c)});
  EXPECT_EQ(block->bytes, expected);
}

}  // namespace
}  // namespace vantorel

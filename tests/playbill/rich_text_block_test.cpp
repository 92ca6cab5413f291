#include "playbill/rich_text_block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantorel {
namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<std::uint8_t> bytes;
  for (int v : values) bytes.push_back(static_cast<std::uint8_t>(v));
  return bytes;
}

RichTextBlock Block(const std::vector<std::uint8_t>& bytes) { return RichTextBlock::FromBytes(bytes).value(); }

TEST(RichTextBlock, NewImageModeBlockDeclaresExactlyItsContent) {
  const auto block = RichTextBlock::NewImageModeText();
  ASSERT_TRUE(block);
  const auto bytes = block->Bytes();
  ASSERT_EQ(block->HeldSize(), 16384u);

  const std::string text = RichTextBlock::DefaultImageModeText();
  EXPECT_EQ(text.size(), 198u);
  EXPECT_EQ(text.substr(0, 15), "{\\rtf1\\ansi\\ans");
  EXPECT_NE(text.find("\\cf1\\lang2052\\f0\\fs24 Welcome\\fs32\\par\r\n}\r\n"), std::string::npos);

  // u32 length 200 = the document and one more CR LF; then two zero bytes.
  EXPECT_EQ(bytes[0], 200);
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ(bytes[2], 0);
  EXPECT_EQ(bytes[3], 0);
  EXPECT_EQ(std::string(bytes.begin() + 4, bytes.begin() + 202), text);
  EXPECT_EQ(bytes[202], 0x0D);
  EXPECT_EQ(bytes[203], 0x0A);
  EXPECT_EQ(bytes[204], 0);
  EXPECT_EQ(bytes[205], 0);
  EXPECT_EQ(block->DeclaredSize(8), 204u);
  EXPECT_EQ(block->StoredSize(8), 204u);
  EXPECT_EQ(block->StoredBytes(8).size(), 204u);
  for (std::size_t i = 204; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], 0) << i;
}

TEST(RichTextBlock, NewCellTextUsesSizeIndexOfDefaultTextSize) {
  // Style byte: size index in bits 0-2, red in bit 4.
  const struct {
    int textSize;
    std::uint8_t style;
  } cases[] = {{-1, 0x12}, {8, 0x10}, {12, 0x11}, {16, 0x12}, {24, 0x13}, {32, 0x14},
               {40, 0x15}, {48, 0x16}, {56, 0x17}, {20, 0x12}, {0, 0x12}, {64, 0x12}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.textSize);
    const auto block = RichTextBlock::NewCellText(c.textSize);
    ASSERT_TRUE(block);
    const auto bytes = block->Bytes();
    ASSERT_EQ(block->HeldSize(), 16384u);
    EXPECT_EQ(bytes[0], 7);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 3);
    const std::string word = "Welcome";
    for (std::size_t i = 0; i < word.size(); ++i) {
      EXPECT_EQ(bytes[3 + i * 3], c.style);
      EXPECT_EQ(bytes[4 + i * 3], 0);
      EXPECT_EQ(bytes[5 + i * 3], static_cast<std::uint8_t>(word[i]));
    }
    EXPECT_EQ(bytes[24], 0);  // terminating cell
    EXPECT_EQ(bytes[25], 0);
    EXPECT_EQ(bytes[26], 0);
    EXPECT_EQ(block->StoredSize(6), 24u);
    EXPECT_EQ(block->CellText(), "Welcome");
  }
}

TEST(RichTextBlock, DeclaredSizesNeverReachPastHeldBytes) {
  const struct {
    const char* name;
    int kind;
    std::vector<std::uint8_t> bytes;
    std::optional<std::uint64_t> declared;
    std::size_t stored;
    std::string cellText;
  } cases[] = {
      {"huge six-byte count, header only", 6, Bytes({0xFF, 0xFF, 6}), 65535u * 6 + 3, 3, ""},
      {"huge three-byte count, one cell", 6, Bytes({0xFF, 0xFF, 3, 0x12, 0, 'A'}), 65535u * 3 + 3, 6, "A"},
      {"half a cell held", 6, Bytes({2, 0, 3, 0x12, 0, 'A', 0x12, 0}), 9, 8, "A"},
      {"count within held bytes", 6, Bytes({1, 0, 3, 0x12, 0, 'A', 0x12, 0, 'B'}), 6, 6, "A"},
      {"cell size 6 with double-byte char", 6,
       Bytes({2, 0, 6, 255, 0, 0, 0x02, 0, 'A', 255, 0, 0, 0x02, 0xB0, 0xA1}), 15, 15, "A\xB0\xA1"},
      {"kind 6 header cut short", 6, Bytes({5, 0}), std::nullopt, 2, ""},
      {"empty", 6, {}, std::nullopt, 0, ""},
      {"huge kind-8 length", 8, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 'x'}), 0xFFFFFFFFull + 4, 5, ""},
      {"kind-8 length shorter than held", 8, Bytes({2, 0, 0, 0, 'a', 'b', 'c'}), 6, 6, ""},
      {"kind-8 header cut short", 8, Bytes({1, 0, 0}), std::nullopt, 3, ""},
      {"other kinds store what is held", 1, Bytes({9, 9, 9, 9, 9}), std::nullopt, 5, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const RichTextBlock block = Block(c.bytes);
    EXPECT_EQ(block.HeldSize(), c.bytes.size());
    EXPECT_EQ(block.DeclaredSize(c.kind), c.declared);
    EXPECT_EQ(block.StoredSize(c.kind), c.stored);
    EXPECT_EQ(block.StoredBytes(c.kind).size(), c.stored);
    if (c.kind == 6) {
      EXPECT_EQ(block.CellText(), c.cellText);
    }
  }
}

TEST(RichTextBlock, ReadBlocksKeepAtMost16394Bytes) {
  const std::vector<std::uint8_t> big(20000, 0x41);
  EXPECT_EQ(Block(big).HeldSize(), 16394u);
  const std::vector<std::uint8_t> exact(16394, 0x41);
  EXPECT_EQ(Block(exact).HeldSize(), 16394u);
}

TEST(RichTextBlock, CellTextSkipsControlCellsAndStopsAtTerminator) {
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::string text;
  } cases[] = {
      {"line ends become one blank", Bytes({4, 0, 3, 2, 0, 'A', 2, 0, 13, 2, 0, 10, 2, 0, 'B'}), "A B"},
      {"tab and attribute cells are not text", Bytes({3, 0, 3, 0x12, 0, 9, 2, 0, 7, 2, 0, 'C'}), "C"},
      {"terminating cell ends early", Bytes({3, 0, 3, 2, 0, 'A', 0, 0, 0, 2, 0, 'B'}), "A"},
      {"leading and trailing line ends dropped", Bytes({3, 0, 3, 2, 0, 13, 2, 0, 'A', 2, 0, 10}), "A"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Block(c.bytes).CellText(), c.text);
  }
}

TEST(RichTextBlock, CopiesOwnTheirBytes) {
  RichTextBlock original = RichTextBlock::NewCellText(-1).value();
  RichTextBlock copy = original;
  EXPECT_EQ(copy, original);
  EXPECT_NE(copy.Bytes().data(), original.Bytes().data());
  copy.MutableBytes()[5] = 'X';
  EXPECT_EQ(original.CellText(), "Welcome");
  EXPECT_EQ(copy.CellText(), "Xelcome");
  EXPECT_NE(copy, original);

  RichTextBlock assigned;
  assigned = original;
  original.MutableBytes()[5] = 'Y';
  EXPECT_EQ(assigned.CellText(), "Welcome");
}

TEST(RichTextBlock, BlocksMadeFromText) {
  // Rich-text control characters are escaped, line ends start paragraphs, other characters become
  // Unicode escapes; the colour is red in the low byte.
  const std::string document = RichTextBlock::ImageModeDocument("{a}\\b\r\nc \xE4\xB8\xAD", 0xFF8000);
  EXPECT_NE(document.find("{\\colortbl ;\\red0\\green128\\blue255;}"), std::string::npos) << document;
  EXPECT_NE(document.find("\\fs24 \\{a\\}\\\\b\\par c \\u20013?\\fs32\\par"), std::string::npos) << document;
  EXPECT_EQ(RichTextBlock::ImageModeDocument("Welcome", 0x0000FF), RichTextBlock::DefaultImageModeText());

  const auto image = RichTextBlock::ImageModeText("{x}");
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->Bytes().size(), 4u + 3u + 2u + 2u);
  EXPECT_EQ(image->StoredSize(8), 9u) << "L = 5: the document and CR LF";
  EXPECT_FALSE(RichTextBlock::ImageModeText(std::string(RichTextBlock::kMaxBytes, 'x')));

  const auto cells = RichTextBlock::CellTextOf("Hi", 0x22);
  ASSERT_TRUE(cells.has_value());
  EXPECT_EQ(std::vector<std::uint8_t>(cells->Bytes().begin(), cells->Bytes().end()), Bytes({2, 0, 3, 0x22, 0, 'H', 0x22, 0, 'i', 0, 0, 0}));
  EXPECT_EQ(cells->CellText(), "Hi");
  EXPECT_FALSE(RichTextBlock::CellTextOf(std::string(6000, 'x'), 0x22)) << "more cells than a block holds";
}

}  // namespace
}  // namespace vantorel

#include "render/celltext/styled_cells.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "render/celltext/cell_text.h"

namespace vantorel {
namespace {

using namespace std::string_literals;

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kYellow = 0x00FFFF;

StyledChar C(char32_t character, int size = 16, std::uint32_t foreground = kRed, std::uint32_t background = 0) {
  return {character, size, foreground, background};
}

// The cells of a block as bytes, without count, cell size and terminating cell.
std::string CellBytes(const RichTextBlock& block) {
  const auto bytes = block.Bytes();
  const std::size_t cellSize = bytes[2];
  return {bytes.begin() + 3, bytes.end() - static_cast<std::ptrdiff_t>(cellSize)};
}

TEST(StyledCells, EachCharacterBecomesACell) {
  struct Row {
    const char* name;
    StyledChar in;
    CellTextSettings settings;
    std::string cell;
    StyledChar shown;
  };
  const CellTextSettings gb{3, kCodePageGb2312, 0x1C, 0};
  const CellTextSettings sjis{3, kCodePageShiftJis, 0x1C, 0};
  const CellTextSettings ext{3, kCodePageAsciiEx, 0x1C, 0};
  const CellTextSettings full{6, kCodePageGb2312, 0x1C, 0x30};
  const Row rows[] = {
      {"red letter", C('A'), gb, "\x12\0A"s, C('A')},
      {"size by its points", C('A', 24), gb, "\x13\0A"s, C('A', 24)},
      {"a size the fonts lack is 16 dots", C('A', 20), gb, "\x12\0A"s, C('A', 16)},
      {"single bytes keep sizes outside the mask", C('A', 8), gb, "\x10\0A"s, C('A', 8)},
      {"colour bits of each channel", C('A', 16, 0x0080FF), gb, "\x32\0A"s, C('A', 16, kYellow)},
      {"blue", C('A', 16, 0x400000), gb, "\x42\0A"s, C('A', 16, kBlue)},
      {"black becomes red", C('A', 16, 0), gb, "\x12\0A"s, C('A')},
      {"black on colour is inverse", C('A', 16, 0, kGreen), gb, "\x2A\0A"s, C('A', 16, 0, kGreen)},
      {"colour on colour keeps no background", C('A', 16, kBlue, kGreen), gb, "\x42\0A"s, C('A', 16, kBlue)},
      {"double-byte character", C(U'中'), gb, "\x12\xD6\xD0", C(U'中')},
      {"double-byte size outside EXTSIZEM", C(U'中', 8), gb, "\x12\xD6\xD0", C(U'中', 16)},
      {"double-byte size in EXTSIZEM", C(U'中', 32), gb, "\x14\xD6\xD0", C(U'中', 32)},
      {"euro sign in two bytes", C(U'€'), gb, "\x12\xA2\xE3", C(U'€')},
      {"degree sign is the fonts' own", C(U'°'), gb, "\x12\0\x7F"s, C(U'°')},
      {"line end", C(13), gb, "\x12\0\r"s, C(13)},
      {"line feed is a line end", C(10), gb, "\x12\0\r"s, C(13)},
      {"tab becomes a space", C(9), gb, "\x12\0 "s, C(' ')},
      {"control character becomes a space", C(7), gb, "\x12\0 "s, C(' ')},
      {"a character the code page lacks", C(U'한'), gb, "\x12\0?"s, C('?')},
      {"half-width katakana in full width", C(U'ｱ'), sjis, "\x12\x83\x41", C(U'ア')},
      {"extended ASCII keeps every byte", C(U'é'), ext, "\x12\0\xE9"s, C(U'é')},
      {"extended ASCII keeps control bytes", C(9), ext, "\x12\0\t"s, C(9)},
      {"but not a zero byte", C(0), ext, "\x12\0 "s, C(' ')},
      {"full colour", C('A', 16, 0x123456), full, "\x56\x34\x12\x32\0A"s, C('A', 16, 0x123456)},
      {"full colour black is pure red", C('A', 16, 0), full, std::string("\xFF\0\0\x32\0A", 6), C('A')},
      {"full colour inverse", C('A', 16, 0, 0x123456), full, "\x56\x34\x12\x3A\0A"s, C('A', 16, 0, 0x123456)},
      {"full colour double byte", C(U'中', 24, kGreen), full, std::string("\0\xFF\0\x33\xD6\xD0", 6), C(U'中', 24, kGreen)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const StyledChar text[] = {row.in};
    const CellConversion converted = ConvertToCells(text, row.settings, RichTextBlock::kNewBlockBytes);
    ASSERT_TRUE(converted.block);
    EXPECT_EQ(CellBytes(*converted.block), row.cell);
    ASSERT_EQ(converted.shown.size(), 1u);
    EXPECT_EQ(converted.shown[0], row.shown);
  }
}

TEST(StyledCells, BlockHoldsCountCellSizeCellsAndTerminatingCell) {
  const StyledChar text[] = {C('H'), C('i'), C(U'中')};
  const CellConversion three = ConvertToCells(text, {3, kCodePageGb2312, 0xFF, 0}, RichTextBlock::kNewBlockBytes);
  ASSERT_TRUE(three.block);
  EXPECT_EQ(std::string(three.block->Bytes().begin(), three.block->Bytes().end()),
            std::string("\x03\x00\x03\x12\0H\x12\0i\x12\xD6\xD0\0\0\0", 15));
  const CellConversion six = ConvertToCells(text, {6, kCodePageGb2312, 0xFF, 0}, RichTextBlock::kNewBlockBytes);
  ASSERT_TRUE(six.block);
  EXPECT_EQ(six.block->HeldSize(), 3u + 4 * 6);
  EXPECT_EQ(six.block->Bytes()[2], 6);
}

TEST(StyledCells, NeverExceedsTheBuffer) {
  const std::vector<StyledChar> text(10, C('x'));
  struct Row {
    const char* name;
    int cellSize;
    std::size_t bufferSize;
    std::size_t cells;
  };
  const Row rows[] = {
      {"exactly three cells", 3, 3 + 3 * 3 + 3, 3},
      {"one byte short of four", 3, 3 + 4 * 3 + 2, 3},
      {"room for the terminating cell only", 3, 6, 0},
      {"six-byte cells", 6, 3 + 2 * 6 + 6, 2},
      {"a buffer larger than any block", 3, 1'000'000, 10},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const CellConversion converted = ConvertToCells(text, {row.cellSize, kCodePageGb2312, 0xFF, 0}, row.bufferSize);
    ASSERT_TRUE(converted.block);
    EXPECT_LE(converted.block->HeldSize(), row.bufferSize);
    EXPECT_EQ(CellTextView(*converted.block).Count(), row.cells);
    EXPECT_EQ(converted.shown.size(), row.cells) << "the editor is told what was left out";
    EXPECT_EQ(converted.block->StoredSize(6) + static_cast<std::size_t>(row.cellSize), converted.block->HeldSize());
  }
  EXPECT_FALSE(ConvertToCells(text, {3, kCodePageGb2312, 0xFF, 0}, 5).block) << "no room for the terminating cell";
  const std::vector<StyledChar> many(20000, C('x'));
  const CellConversion capped = ConvertToCells(many, {3, kCodePageGb2312, 0xFF, 0}, 1'000'000);
  ASSERT_TRUE(capped.block);
  EXPECT_LE(capped.block->HeldSize(), RichTextBlock::kMaxBytes);
}

TEST(StyledCells, CellsShowAsTheEditorsCharacters) {
  struct Row {
    const char* name;
    std::string block;
    int codePage;
    std::vector<StyledChar> shown;
  };
  const Row rows[] = {
      {"letters", std::string("\x02\x00\x03\x12\0A\x43\0b\0\0\0", 12), kCodePageGb2312, {C('A'), C('b', 24, kBlue)}},
      {"inverse", std::string("\x01\x00\x03\x2A\0A\0\0\0", 9), kCodePageGb2312, {C('A', 16, 0, kGreen)}},
      {"CR LF is one line end", std::string("\x03\x00\x03\x12\0\r\x12\0\n\x12\0A", 12), kCodePageGb2312, {C(13), C('A')}},
      {"double byte", std::string("\x01\x00\x03\x12\xD6\xD0", 6), kCodePageGb2312, {C(U'中')}},
      {"degree sign", std::string("\x01\x00\x03\x12\0\x7F", 6), kCodePageGb2312, {C(U'°')}},
      {"half-width katakana of older files", std::string("\x01\x00\x03\x12\0\xB1", 6), kCodePageShiftJis, {C(U'ｱ')}},
      {"tab stays a tab", std::string("\x01\x00\x03\x12\0\t", 6), kCodePageGb2312, {C(9)}},
      {"code 0 ends the text", std::string("\x02\x00\x03\x12\0\0\x12\0A", 9), kCodePageGb2312, {}},
      {"count past the held bytes", std::string("\x09\x00\x03\x12\0A", 6), kCodePageGb2312, {C('A')}},
      {"six-byte cells", std::string("\x01\x00\x06\x56\x34\x12\x33\0A", 9), kCodePageGb2312, {C('A', 24, 0x123456)}},
      {"no header", std::string("\x01", 1), kCodePageGb2312, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto block = RichTextBlock::FromBytes({reinterpret_cast<const std::uint8_t*>(row.block.data()), row.block.size()});
    EXPECT_EQ(CellsToStyledChars(*block, row.codePage), row.shown);
  }
}

TEST(StyledCells, ConvertedTextLoadsBackAsShown) {
  const StyledChar text[] = {C('W', 24, kGreen), C(U'中', 8), C(13), C('x', 16, 0, kBlue), C(U'°'), C(U'€', 32, kYellow)};
  for (const int cellSize : {3, 6}) {
    SCOPED_TRACE(cellSize);
    const CellConversion converted = ConvertToCells(text, {cellSize, kCodePageGb2312, 0x1C, 0}, RichTextBlock::kNewBlockBytes);
    ASSERT_TRUE(converted.block);
    EXPECT_EQ(CellsToStyledChars(*converted.block, kCodePageGb2312), converted.shown);
  }
}

}  // namespace
}  // namespace vantorel

namespace vantorel {
namespace {

// The editor, the preview and the data maker convert on threads of their own; each thread keeps
// its own code-page converters.
TEST(StyledCells, ConvertsOnSeveralThreadsAtOnce) {
  const StyledChar text[] = {C(U'中'), C('A'), C(U'€'), C(U'ｱ'), C(U'한')};
  const int codePages[] = {kCodePageGb2312, kCodePageShiftJis, kCodePageKsc5601, kCodePageBig5};
  std::vector<std::vector<StyledChar>> expected;
  for (const int codePage : codePages) {
    const CellConversion once = ConvertToCells(text, {3, codePage, 0xFF, 0}, RichTextBlock::kNewBlockBytes);
    expected.push_back(CellsToStyledChars(*once.block, codePage));
  }
  std::vector<std::thread> threads;
  std::atomic<int> mismatches = 0;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 200; ++round) {
        const std::size_t page = static_cast<std::size_t>((t + round) % 4);
        const CellConversion converted = ConvertToCells(text, {3, codePages[page], 0xFF, 0}, RichTextBlock::kNewBlockBytes);
        if (CellsToStyledChars(*converted.block, codePages[page]) != expected[page]) ++mismatches;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
}  // namespace vantorel

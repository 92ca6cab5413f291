#include "playbill/fxt_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "app/text_ids.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using namespace std::string_literals;

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

// A kind-6 block from its parts: count, cell size, cells, then the terminating cell.
RichTextBlock Block(std::uint16_t count, std::uint8_t cellSize, std::string_view cells, std::size_t terminator = 0) {
  std::string bytes;
  bytes += static_cast<char>(count & 0xFF);
  bytes += static_cast<char>(count >> 8);
  bytes += static_cast<char>(cellSize);
  bytes += cells;
  bytes += std::string(terminator, '\0');
  return RichTextBlock::FromBytes(Bytes(bytes)).value();
}

std::string HeldBytes(const RichTextBlock& block) {
  return {block.Bytes().begin(), block.Bytes().end()};
}

TEST(FxtFile, ReadsWholeCellsAfterTheVersion) {
  struct Row {
    const char* name;
    std::string file;
    std::size_t bufferSize;
    std::string block;  // count, cell size, cells, terminating cell
  };
  const std::string cells3 = "\x12" "\0A" "\x12" "\0B" "\x12\xD6\xD0"s;
  const std::string cells6 = std::string("\xFF\x00\x00\x02\x00", 5) + "H";
  const Row rows[] = {
      {"10 bytes of 3-byte cells: 3 cells, the remainder ignored", "FXT0100" + cells3 + "x",
       RichTextBlock::kNewBlockBytes, std::string("\x03\x00\x03", 3) + cells3 + std::string(3, '\0')},
      {"6-byte cells", "FXT0200" + cells6 + "abc", RichTextBlock::kNewBlockBytes,
       std::string("\x01\x00\x06", 3) + cells6 + std::string(6, '\0')},
      {"no cells", "FXT0100", RichTextBlock::kNewBlockBytes, std::string("\x00\x00\x03", 3) + std::string(3, '\0')},
      // 15 bytes hold the count, the cell size byte, 3 cells and the terminating cell.
      {"the buffer limits the cells", "FXT0100" + cells3 + "\x12" "\0C"s, 15,
       std::string("\x03\x00\x03", 3) + cells3 + std::string(3, '\0')},
      {"a buffer one byte short of another cell", "FXT0100" + cells3, 14,
       std::string("\x02\x00\x03", 3) + cells3.substr(0, 6) + std::string(3, '\0')},
      {"a buffer for no cell at all", "FXT0200" + cells6, 9, std::string("\x00\x00\x06", 3) + std::string(6, '\0')},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::TempFolder temp;
    const auto file = temp.Write("text.fxt", row.file);
    const Expected<RichTextBlock> block = ReadFxtFile(file, row.bufferSize);
    ASSERT_TRUE(block) << block.status().detail();
    EXPECT_EQ(HeldBytes(*block), row.block);
    EXPECT_LE(block->HeldSize(), row.bufferSize);
    EXPECT_EQ(block->StoredSize(6) + static_cast<std::size_t>(row.block[2]), block->HeldSize())
        << "count, cell size byte, cells and the terminating cell";
  }
}

TEST(FxtFile, NeverHoldsMoreThanTheLargestBlock) {
  test::TempFolder temp;
  const auto file = temp.Write("big.fxt", "FXT0100" + std::string(100000, 'A'));
  const Expected<RichTextBlock> block = ReadFxtFile(file, 1'000'000);
  ASSERT_TRUE(block);
  EXPECT_LE(block->HeldSize(), RichTextBlock::kMaxBytes);
  EXPECT_EQ(block->DeclaredSize(6).value() + 3, block->HeldSize());
  EXPECT_EQ(block->HeldSize() % 3, 0u);
}

TEST(FxtFile, FailuresNameTheirTexts) {
  test::TempFolder temp;
  struct Row {
    const char* name;
    std::filesystem::path file;
    TextId text;
  };
  const Row rows[] = {
      {"missing", temp / "missing.fxt", kTextFxtOpenError},
      {"a folder", temp.Path(), kTextFxtOpenError},
      {"unknown version", temp.Write("a.fxt", "FXT0300\x12" "\0A"s), kTextFxtFormatIncorrect},
      {"lower-case version", temp.Write("b.fxt", "fxt0100\x12" "\0A"s), kTextFxtFormatIncorrect},
      {"shorter than the version", temp.Write("c.fxt", "FXT01"), kTextFxtFormatIncorrect},
      {"empty", temp.Write("d.fxt", ""), kTextFxtFormatIncorrect},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Expected<RichTextBlock> block = ReadFxtFile(row.file, RichTextBlock::kNewBlockBytes);
    ASSERT_FALSE(block);
    EXPECT_EQ(block.status().text(), row.text);
    EXPECT_FALSE(block.status().detail().empty());
  }
}

TEST(FxtFile, WritesTheVersionAndTheCellsOfTheText) {
  struct Row {
    const char* name;
    RichTextBlock block;
    std::string file;
  };
  const Row rows[] = {
      {"3-byte cells", Block(2, 3, std::string("\x12\0A\x12\0B", 6), 3), std::string("FXT0100\x12\0A\x12\0B", 13)},
      {"6-byte cells", Block(1, 6, std::string("\x01\x02\x03\x02\xB0\xA1", 6), 6),
       std::string("FXT0200\x01\x02\x03\x02\xB0\xA1", 13)},
      {"a count past the held bytes", Block(9, 3, std::string("\x12\0A\x12\0B", 6)), std::string("FXT0100\x12\0A\x12\0B", 13)},
      {"a code 0 ends the text", Block(3, 3, std::string("\x12\0A\x12\0\0\x12\0B", 9)), std::string("FXT0100\x12\0A", 10)},
      {"an unknown cell size counts as 3", Block(1, 4, std::string("\x12\0A", 3)), std::string("FXT0100\x12\0A", 10)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::TempFolder temp;
    ASSERT_TRUE(WriteFxtFile(temp / "out.fxt", row.block));
    EXPECT_EQ(temp.Read("out.fxt"), row.file);
  }
}

TEST(FxtFile, WrittenFileReadsBackTheSameBlock) {
  test::TempFolder temp;
  const RichTextBlock block = Block(2, 6, std::string("\x01\x02\x03\x02\xB0\xA1\x00\xFF\x00\x0A\x00Z", 12), 6);
  ASSERT_TRUE(WriteFxtFile(temp / "round.fxt", block));
  const Expected<RichTextBlock> read = ReadFxtFile(temp / "round.fxt", RichTextBlock::kNewBlockBytes);
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, block);
}

TEST(FxtFile, SavingRefusals) {
  test::TempFolder temp;
  struct Row {
    const char* name;
    RichTextBlock block;
    std::filesystem::path file;
    TextId text;
  };
  const Row rows[] = {
      {"no cells", Block(0, 3, "", 3), temp / "a.fxt", kTextFxtNoText},
      {"only the terminating cell", Block(1, 3, "", 3), temp / "b.fxt", kTextFxtNoText},
      {"a block without header", RichTextBlock(), temp / "c.fxt", kTextFxtNoText},
      {"a folder that is not there", Block(1, 3, std::string("\x12\0A", 3)), temp / "no" / "d.fxt", kTextFxtCreateError},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Status written = WriteFxtFile(row.file, row.block);
    ASSERT_FALSE(written);
    EXPECT_EQ(written.text(), row.text);
    EXPECT_FALSE(std::filesystem::exists(row.file));
  }
}

TEST(FxtFile, AFailedSaveLeavesTheOldFile) {
  test::TempFolder temp;
  const auto file = temp.Write("old.fxt", "FXT0100\x12" "\0A"s);
  ASSERT_EQ(::chmod(temp.Path().c_str(), 0500), 0);
  const Status written = WriteFxtFile(file, Block(1, 3, std::string("\x12\0B", 3)));
  ::chmod(temp.Path().c_str(), 0700);
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  ASSERT_FALSE(written);
  EXPECT_EQ(written.text(), kTextFxtCreateError);
  EXPECT_EQ(temp.Read("old.fxt"), std::string("FXT0100\x12\0A", 10));
}

TEST(EditorTextFile, ReadsAtMost2000Bytes) {
  struct Row {
    const char* name;
    std::string file;
    std::string text;
  };
  const std::string chinese = "\xE4\xB8\xAD";  // one character, three bytes of UTF-8
  const Row rows[] = {
      {"short", "Hello\r\nWorld", "Hello\r\nWorld"},
      {"long", std::string(2500, 'a'), std::string(2000, 'a')},
      {"a character cut at the limit is left out", std::string(1999, 'a') + chinese, std::string(1999, 'a')},
      {"legacy code page", "\xD6\xD0\xCE\xC4", "\xE4\xB8\xAD\xE6\x96\x87"},
      {"empty", "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::TempFolder temp;
    const Expected<std::string> text = ReadEditorTextFile(temp.Write("a.txt", row.file));
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, row.text);
  }
  test::TempFolder temp;
  const Expected<std::string> missing = ReadEditorTextFile(temp / "none.txt");
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.status().text(), kTextFxtOpenError);
}

}  // namespace
}  // namespace vantorel

#include "maker/program_file_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "app/text_ids.h"
#include "maker/controller_file_reader.h"
#include "maker/program_checksum.h"
#include "platform/byte_reader.h"
#include "sample_program_files.h"
#include "support/golden_file.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace vantorel {
namespace {

using test::Record;

std::string AsString(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }
std::uint16_t U16At(const std::vector<std::uint8_t>& bytes, std::size_t at) { return ReadU16Le(std::span(bytes).subspan(at, 2)); }
std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t at) { return ReadU32Le(std::span(bytes).subspan(at, 4)); }

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ProgramFileWriter, WritesAClockWithoutTextWithAnEmptyBlockTable) {
  test::TempFolder temp;
  const std::vector<std::uint8_t> file = test::WriteClockOnlyProgram(temp / "001a0000.lpb");
  EXPECT_TRUE(test::MatchesGolden("maker/clock-only.lpb", AsString(file), test::GoldenKind::kBinary));
  ASSERT_EQ(file.size(), 48u + 16 + 16);
  EXPECT_EQ(U16At(file, 4), 1);       // windows
  EXPECT_EQ(U16At(file, 6), 0);       // block count field
  EXPECT_EQ(U16At(file, 8), kNoBlock);  // no background
  EXPECT_EQ(U32At(file, 16), 48u);
  EXPECT_EQ(U32At(file, 20), 64u);
  EXPECT_EQ(U32At(file, 24), 80u);
  EXPECT_EQ(U32At(file, 28), 80u);    // the empty block table: the data area starts where it would
  EXPECT_EQ(U16At(file, 64 + 2), kNoBlock);
  EXPECT_EQ(file[64 + 15], 2);        // the window's border
  EXPECT_EQ(test::Reseal(file), file);  // the stored checksum is the right one
}

TEST(ProgramFileWriter, PutsTheNameFirstThenTheBackgroundThenTheItemBlocks) {
  test::TempFolder temp;
  const std::vector<std::uint8_t> file = test::WriteFullProgram(temp / "001a0001.lpb");
  EXPECT_TRUE(test::MatchesGolden("maker/name-background-items.lpb", AsString(file), test::GoldenKind::kBinary));
  EXPECT_EQ(U16At(file, 4), 2);  // windows
  EXPECT_EQ(U16At(file, 6), 2 + 2);  // 2 for the background, 1 per item block; the name is not counted
  EXPECT_EQ(U16At(file, 8), 1);      // the background is block 1
  const std::uint32_t items = U32At(file, 20);
  const std::uint32_t table = U32At(file, 24);
  EXPECT_EQ(items, 48u + 2 * 16);
  EXPECT_EQ(table, items + 3 * 16);
  EXPECT_EQ(U32At(file, 28), table + 4 * 8);  // the table holds all four blocks
  struct Block {
    std::uint8_t type;
    std::uint32_t length;
  };
  const std::uint32_t pictureBytes = 10 + 2 * 8 * 32;  // 2 planes of 64x32, one bit a pixel: 8 bytes a row
  const std::uint32_t pageBytes = 10 + 2 * 2 * 4 * 16;  // 2 pages of 2 planes of 32x16
  const Block expected[] = {{kCodeProgramName, 5}, {kCodePicturePages, pictureBytes}, {kCodePicturePages, pageBytes}, {kCodeClock, 6}};
  std::uint32_t offset = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(U32At(file, table + 8 * i), static_cast<std::uint32_t>(expected[i].type) << 24 | expected[i].length);
    EXPECT_EQ(U32At(file, table + 8 * i + 4), offset);
    offset += expected[i].length;
  }
  EXPECT_EQ(file.size(), U32At(file, 28) + offset);
  // Item block indexes and borders; the window records count and place their items.
  EXPECT_EQ(U16At(file, items + 2), 2);
  EXPECT_EQ(U16At(file, items + 16 + 2), kNoBlock);
  EXPECT_EQ(U16At(file, items + 32 + 2), 3);
  EXPECT_EQ(file[items + 32 + 15], 5);
  EXPECT_EQ(U16At(file, 48 + 16 + 10), 1);      // window 1 has one item
  EXPECT_EQ(U32At(file, 48 + 16 + 12), 32u);    // from item record 2
  EXPECT_EQ(static_cast<std::int16_t>(U16At(file, 48 + 16 + 2)), -3);
  const std::size_t data = U32At(file, 28);
  EXPECT_EQ(AsString({file.begin() + static_cast<std::ptrdiff_t>(data), file.begin() + static_cast<std::ptrdiff_t>(data) + 5}),
            std::string("News\0", 5));
}

TEST(ProgramFileWriter, WhatItWritesReadsBackWithoutAProblem) {
  test::TempFolder temp;
  const std::vector<std::uint8_t> bytes = test::WriteFullProgram(temp / "p.lpb");
  const Expected<ProgramFileContents> file = ReadProgramFile(bytes);
  ASSERT_TRUE(file.ok()) << file.status().detail();
  EXPECT_TRUE(file->problems.empty()) << ProblemText(file->problems.front());
  EXPECT_TRUE(file->ChecksumOk());
  EXPECT_EQ(file->loopCount, 1);
  EXPECT_EQ(file->playTime, 30);
  EXPECT_EQ(file->screenWidth, 64);
  EXPECT_EQ(file->screenHeight, 32);
  EXPECT_EQ(file->colourMode, 0x03);
  ASSERT_EQ(file->windows.size(), 2u);
  EXPECT_EQ(file->windows[1].left, -3);
  EXPECT_EQ(file->windows[1].width, 13);
  ASSERT_EQ(file->items.size(), 3u);
  EXPECT_EQ(file->items[0][4], 0x01);
  ASSERT_EQ(file->blocks.size(), 4u);
  const auto page = ProgramBlockBytes(bytes, *file, 2);
  EXPECT_EQ(std::vector<std::uint8_t>(page.begin(), page.end()), test::PicturePagesBlock(32, 16, 0x03, 2));
  const auto text = ProgramBlockBytes(bytes, *file, 3);
  EXPECT_EQ(std::vector<std::uint8_t>(text.begin(), text.end()), test::TextBlock("%H:%M"));
}

TEST(ProgramFileWriter, ChecksumIsThatOfTheFileWithItsOwnPlaceZero) {
  test::TempFolder temp;
  for (const bool full : {false, true}) {
    const auto path = temp / (full ? "full.lpb" : "clock.lpb");
    auto writer = CProgramFileWriter::Begin(path, test::SampleHeader());
    ASSERT_TRUE(writer.ok());
    if (full) {
      ASSERT_TRUE(writer->AddNameBlock(test::Bytes("N")));
      ASSERT_TRUE(writer->AddWindow({}));
      ASSERT_TRUE(writer->AddItem(Record(kCodeClock), test::TextBlock("x")));
    } else {
      ASSERT_TRUE(writer->AddWindow({}));
    }
    const Expected<WrittenProgramFile> written = writer->Finish();
    ASSERT_TRUE(written.ok()) << written.status().detail();
    std::vector<std::uint8_t> bytes = test::ReadBytes(path);
    EXPECT_EQ(written->bytes, bytes.size());
    EXPECT_EQ(U16At(bytes, 46), written->checksum);
    bytes[46] = bytes[47] = 0;
    EXPECT_EQ(ProgramChecksum(bytes), written->checksum);
  }
}

// Blocks larger than the pieces the file is copied and summed in, and many of them.
TEST(ProgramFileWriter, CopiesLargeBlocksFromItsSpillFileWhole) {
  test::TempFolder temp;
  const auto path = temp / "big.lpb";
  auto writer = CProgramFileWriter::Begin(path, test::SampleHeader());
  ASSERT_TRUE(writer.ok());
  ASSERT_TRUE(writer->AddWindow({}));
  std::vector<std::vector<std::uint8_t>> blocks;
  for (int i = 0; i < 12; ++i) {
    std::vector<std::uint8_t> block(static_cast<std::size_t>(kChecksumPieceBytes / 3 * i + 1));
    for (std::size_t j = 0; j < block.size(); ++j) block[j] = static_cast<std::uint8_t>(j * 7 + static_cast<std::size_t>(i));
    ASSERT_TRUE(writer->AddItem(Record(kCodePictureFile), block));
    blocks.push_back(std::move(block));
  }
  ASSERT_TRUE(writer->Finish().ok());
  const std::vector<std::uint8_t> bytes = test::ReadBytes(path);
  const Expected<ProgramFileContents> file = ReadProgramFile(bytes);
  ASSERT_TRUE(file.ok());
  EXPECT_TRUE(file->problems.empty()) << ProblemText(file->problems.front());
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const auto stored = ProgramBlockBytes(bytes, *file, i);
    EXPECT_TRUE(std::equal(stored.begin(), stored.end(), blocks[i].begin(), blocks[i].end())) << "block " << i;
  }
  EXPECT_EQ(FilesIn(temp.Path()), std::vector<std::string>{"big.lpb"});  // no spill or part file left
}

TEST(ProgramFileWriter, RefusesWhatTheFileCannotHoldAndAddsNothing) {
  test::TempFolder temp;
  struct Row {
    const char* name;
    std::function<void(CProgramFileWriter&)> before;
    std::function<Status(CProgramFileWriter&)> refused;
    TextId text;
  };
  const std::vector<std::uint8_t> tooLong(kMaxBlockLength + 1);
  const Row rows[] = {
      {"a 12th window",
       [](CProgramFileWriter& w) {
         for (int i = 0; i < kMaxProgramWindows; ++i) ASSERT_TRUE(w.AddWindow({}));
       },
       [](CProgramFileWriter& w) { return w.AddWindow({}); }, kTextProgramTooLarge},
      {"an item before any window", [](CProgramFileWriter&) {}, [](CProgramFileWriter& w) { return w.AddItem(Record(kCodeClock)); },
       kTextProgramBlockOrder},
      {"an item block before any window", [](CProgramFileWriter&) {},
       [](CProgramFileWriter& w) { return w.AddItem(Record(kCodeClock), test::TextBlock("x")); }, kTextProgramBlockOrder},
      {"a name after the background", [](CProgramFileWriter& w) { ASSERT_TRUE(w.AddBackgroundBlock(test::Bytes("bg"))); },
       [](CProgramFileWriter& w) { return w.AddNameBlock(test::Bytes("late")); }, kTextProgramBlockOrder},
      {"a second name", [](CProgramFileWriter& w) { ASSERT_TRUE(w.AddNameBlock(test::Bytes("one"))); },
       [](CProgramFileWriter& w) { return w.AddNameBlock(test::Bytes("two")); }, kTextProgramBlockOrder},
      {"a background after an item block",
       [](CProgramFileWriter& w) {
         ASSERT_TRUE(w.AddWindow({}));
         ASSERT_TRUE(w.AddItem(Record(kCodeClock), test::TextBlock("x")));
       },
       [](CProgramFileWriter& w) { return w.AddBackgroundBlock(test::Bytes("bg")); }, kTextProgramBlockOrder},
      {"a second background", [](CProgramFileWriter& w) { ASSERT_TRUE(w.AddBackgroundBlock(test::Bytes("bg"))); },
       [](CProgramFileWriter& w) { return w.AddBackgroundBlock(test::Bytes("bg")); }, kTextProgramBlockOrder},
      {"a block longer than 24 bits", [](CProgramFileWriter& w) { ASSERT_TRUE(w.AddWindow({})); },
       [&tooLong](CProgramFileWriter& w) { return w.AddItem(Record(kCodePictureFile), tooLong); }, kTextProgramTooLarge},
      {"a background longer than 24 bits", [](CProgramFileWriter&) {},
       [&tooLong](CProgramFileWriter& w) { return w.AddBackgroundBlock(tooLong); }, kTextProgramTooLarge},
      {"a 65536th block",
       [](CProgramFileWriter& w) {
         ASSERT_TRUE(w.AddWindow({}));
         for (int i = 0; i < 0xFFFF; ++i) ASSERT_TRUE(w.AddItem(Record(kCodeClock), {}));
       },
       [](CProgramFileWriter& w) {
         EXPECT_TRUE(w.AddWindow({}));
         return w.AddItem(Record(kCodeClock), test::TextBlock("x"));
       },
       kTextProgramTooLarge},
      {"a block count field past 65535",
       [](CProgramFileWriter& w) {
         ASSERT_TRUE(w.AddBackgroundBlock(test::Bytes("bg")));
         ASSERT_TRUE(w.AddWindow({}));
         for (int i = 0; i < 0xFFFF - 2; ++i) ASSERT_TRUE(w.AddItem(Record(kCodeClock), {}));
       },
       [](CProgramFileWriter& w) { return w.AddItem(Record(kCodeClock), test::TextBlock("x")); }, kTextProgramTooLarge},
      {"a 65536th item in a window",
       [](CProgramFileWriter& w) {
         ASSERT_TRUE(w.AddWindow({}));
         for (int i = 0; i < 0xFFFF; ++i) ASSERT_TRUE(w.AddItem(Record(kCodeClock)));
       },
       [](CProgramFileWriter& w) { return w.AddItem(Record(kCodeClock)); }, kTextProgramTooLarge},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto path = temp / "refused.lpb";
    auto writer = CProgramFileWriter::Begin(path, test::SampleHeader());
    ASSERT_TRUE(writer.ok());
    row.before(*writer);
    const int windows = writer->WindowCount();
    const int items = writer->ItemCount();
    const int blocks = writer->BlockCount();
    const Status refused = row.refused(*writer);
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.text(), row.text) << refused.detail();
    EXPECT_EQ(writer->ItemCount(), items);
    EXPECT_EQ(writer->BlockCount(), blocks);
    EXPECT_LE(writer->WindowCount(), windows + 1);
    // What was added before is still a sound file.
    ASSERT_TRUE(writer->Finish().ok());
    const std::vector<std::uint8_t> bytes = test::ReadBytes(path);
    const Expected<ProgramFileContents> file = ReadProgramFile(bytes);
    ASSERT_TRUE(file.ok());
    EXPECT_TRUE(file->problems.empty()) << ProblemText(file->problems.front());
    EXPECT_EQ(static_cast<int>(file->blocks.size()), blocks);
  }
}

TEST(ProgramFileWriter, ThatDoesNotFinishLeavesNothingBehind) {
  test::TempFolder temp;
  {
    auto writer = CProgramFileWriter::Begin(temp / "p.lpb", test::SampleHeader());
    ASSERT_TRUE(writer.ok());
    ASSERT_TRUE(writer->AddNameBlock(test::Bytes("spilled")));
    EXPECT_EQ(FilesIn(temp.Path()).size(), 1u);  // the spill file
    CProgramFileWriter moved = std::move(*writer);
    ASSERT_TRUE(moved.AddWindow({}));
    ASSERT_TRUE(moved.AddItem(Record(kCodeClock), test::TextBlock("x")));
    EXPECT_EQ(moved.BlockCount(), 2);
  }
  EXPECT_TRUE(FilesIn(temp.Path()).empty());
}

TEST(ProgramFileWriter, ThatCannotWriteSaysWhyAndLeavesNoFile) {
  test::TempFolder temp;
  const Expected<CProgramFileWriter> missing = CProgramFileWriter::Begin(temp / "no" / "p.lpb", test::SampleHeader());
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.status().text(), kTextProgramFileNotWritten);

  // A folder where the file should go: the finished file cannot replace it.
  std::filesystem::create_directories(temp / "p.lpb" / "inside");
  auto writer = CProgramFileWriter::Begin(temp / "p.lpb", test::SampleHeader());
  ASSERT_TRUE(writer.ok());
  ASSERT_TRUE(writer->AddNameBlock(test::Bytes("x")));
  const Expected<WrittenProgramFile> written = writer->Finish();
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(written.status().text(), kTextProgramFileNotWritten);
  EXPECT_NE(written.status().detail().find("p.lpb"), std::string::npos) << written.status().detail();
  EXPECT_EQ(FilesIn(temp.Path()), std::vector<std::string>{"p.lpb"});
  EXPECT_TRUE(std::filesystem::is_directory(temp / "p.lpb" / "inside"));
  EXPECT_FALSE(writer->Finish().ok());  // used up
}

TEST(ProgramFileWriter, ReplacesAnOldFileOfTheSameName) {
  test::TempFolder temp;
  temp.Write("p.lpb", std::string(5000, 'x'));
  const std::vector<std::uint8_t> bytes = test::WriteClockOnlyProgram(temp / "p.lpb");
  EXPECT_EQ(bytes.size(), 80u);
  EXPECT_EQ(FilesIn(temp.Path()), std::vector<std::string>{"p.lpb"});
}

}  // namespace
}  // namespace vantorel

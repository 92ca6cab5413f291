#include "maker/controller_file_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "app/text_ids.h"
#include "maker/program_pack.h"
#include "platform/byte_reader.h"
#include "platform/byte_writer.h"
#include "playbill/play_schedule.h"
#include "sample_program_files.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value) { StoreU32Le(std::span(bytes).subspan(at, 4), value); }
std::uint32_t U32(const Bytes& bytes, std::size_t at) { return ReadU32Le(std::span(bytes).subspan(at, 4)); }

bool HasProblemAt(const std::vector<FileProblem>& problems, std::size_t offset) {
  return std::any_of(problems.begin(), problems.end(), [offset](const FileProblem& p) { return p.offset == offset; });
}

std::string AllProblems(const std::vector<FileProblem>& problems) {
  std::string text;
  for (const FileProblem& problem : problems) text += ProblemText(problem) + "\n";
  return text;
}

TEST(ControllerFileReader, TellsTheFilesApartByTheirMagic) {
  test::TempFolder temp;
  struct Row {
    const char* name;
    Bytes bytes;
    ControllerFileKind kind;
  };
  const Bytes program = test::WriteClockOnlyProgram(temp / "p.lpb");
  const Row rows[] = {
      {"index", PlaybillIndexBytes({}, {}), ControllerFileKind::kPlaybillIndex},
      {"program", program, ControllerFileKind::kProgramFile},
      {"schedule", ProgramScheduleBytes({}), ControllerFileKind::kProgramSchedule},
      {"pack (starting with LP)", ProgramPackBytes(std::vector<Bytes>{program, program}), ControllerFileKind::kProgramPack},
      {"run schedule", {0x52, 0x53, 0x01, 0x00}, ControllerFileKind::kRunSchedule},
      {"empty", {}, ControllerFileKind::kUnknown},
      {"other", test::Bytes("GIF89a"), ControllerFileKind::kUnknown},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(DetectControllerFile(row.bytes), row.kind);
  }
}

// Each row damages the sound file with the name, background and three items, then (unless the
// checksum is what is damaged) makes its checksum right again, so that the row's own problem shows.
TEST(ControllerFileReader, NamesTheOffsetOfWhatIsWrongInAProgramFile) {
  test::TempFolder temp;
  const Bytes good = test::WriteFullProgram(temp / "p.lpb");
  const std::uint32_t itemTable = U32(good, 20);
  const std::uint32_t blockTable = U32(good, 24);
  const std::uint32_t dataArea = U32(good, 28);
  ASSERT_EQ(ReadProgramFile(good)->problems.size(), 0u);
  struct Row {
    const char* name;
    std::function<void(Bytes&)> damage;
    std::size_t offset;  // a problem there
    bool reseal = true;
  };
  const Row rows[] = {
      {"version", [](Bytes& b) { b[3] = 0; }, 2},
      {"zero field at 32", [](Bytes& b) { b[33] = 1; }, 32},
      {"window table one on", [](Bytes& b) { PutU32(b, 16, 49); }, 16},
      {"item table one on", [&](Bytes& b) { PutU32(b, 20, itemTable + 1); }, 20},
      {"block table one back", [&](Bytes& b) { PutU32(b, 24, blockTable - 1); }, 24},
      {"data area one on", [&](Bytes& b) { PutU32(b, 28, dataArea + 1); }, 28},
      {"data area a block on", [&](Bytes& b) { PutU32(b, 28, dataArea + 8); }, 28},
      {"block count field", [](Bytes& b) { b[6] = 3; }, 6},
      {"background index", [](Bytes& b) { b[8] = 0; }, 8},
      {"window numbered wrong", [](Bytes& b) { b[48 + 16] = 7; }, 48 + 16},
      {"window items from elsewhere", [](Bytes& b) { PutU32(b, 48 + 16 + 12, 16); }, 48 + 16 + 12},
      {"window with more items than the table", [](Bytes& b) { b[48 + 16 + 10] = 9; }, 24},
      {"item block out of range", [&](Bytes& b) { b[itemTable + 2] = 9; }, itemTable + 2},
      {"item block out of order", [&](Bytes& b) { b[itemTable + 32 + 2] = 2; }, itemTable + 32 + 2},
      {"item of another type than its block", [&](Bytes& b) { b[itemTable] = kCodePictureFile; }, blockTable + 2 * 8 + 3},
      {"block past the end", [](Bytes& b) { b.pop_back(); }, U32(good, 24) + 3 * 8},
      {"gap between blocks", [&](Bytes& b) { PutU32(b, blockTable + 3 * 8 + 4, U32(good, blockTable + 3 * 8 + 4) + 1); },
       blockTable + 3 * 8 + 4},
      {"overlapping blocks", [&](Bytes& b) { PutU32(b, blockTable + 2 * 8 + 4, U32(good, blockTable + 2 * 8 + 4) - 1); },
       blockTable + 2 * 8 + 4},
      {"bytes after the last block", [](Bytes& b) { b.push_back(0); }, good.size()},
      {"name without its terminator", [&](Bytes& b) { b[dataArea + 4] = '!'; }, dataArea},
      {"bad checksum", [](Bytes& b) { b[46] ^= 0x01; }, 46, false},
      {"a byte changed", [](Bytes& b) { b[b.size() - 2] ^= 0x40; }, 46, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Bytes bytes = good;
    row.damage(bytes);
    if (row.reseal) bytes = test::Reseal(bytes);
    const Expected<ProgramFileContents> file = ReadProgramFile(bytes);
    ASSERT_TRUE(file.ok()) << file.status().detail();
    EXPECT_TRUE(HasProblemAt(file->problems, row.offset)) << AllProblems(file->problems);
    EXPECT_EQ(file->ChecksumOk(), row.reseal);
    const Status first = FirstProblem(file->problems);
    EXPECT_EQ(first.text(), kTextControllerFileDamaged);
    EXPECT_EQ(first.detail().rfind("offset ", 0), 0u) << first.detail();
    // Whatever is wrong, no block handed out lies outside the file.
    for (std::size_t i = 0; i < file->blocks.size(); ++i) {
      const auto block = ProgramBlockBytes(bytes, *file, i);
      if (!block.empty()) {
        EXPECT_LE(block.data() + block.size(), bytes.data() + bytes.size());
      }
    }
  }
}

TEST(ControllerFileReader, RefusesWhatIsNoProgramFile) {
  test::TempFolder temp;
  const Bytes good = test::WriteClockOnlyProgram(temp / "p.lpb");
  const Bytes rows[] = {Bytes(good.begin(), good.begin() + 47), Bytes{'L', 'P'}, Bytes{}, [&] {
                          Bytes b = good;
                          b[1] = 'L';
                          return b;
                        }()};
  for (const Bytes& bytes : rows) {
    SCOPED_TRACE(bytes.size());
    const Expected<ProgramFileContents> file = ReadProgramFile(bytes);
    ASSERT_FALSE(file.ok());
    EXPECT_EQ(file.status().text(), kTextNotAControllerFile);
  }
}

// Tables whose offsets point far outside the file are named, not read.
TEST(ControllerFileReader, ReadsNothingOutsideTheFile) {
  test::TempFolder temp;
  Bytes bytes = test::WriteFullProgram(temp / "p.lpb");
  bytes.resize(48 + 16);  // the header and one window record
  for (const std::uint32_t offset : {0xFFFFFFF0u, 0x7FFFFFFFu}) {
    Bytes damaged = bytes;
    PutU32(damaged, 20, offset);
    PutU32(damaged, 24, offset);
    PutU32(damaged, 28, 0xFFFFFFFFu);
    const Expected<ProgramFileContents> file = ReadProgramFile(damaged);
    ASSERT_TRUE(file.ok());
    EXPECT_TRUE(file->items.empty());
    EXPECT_TRUE(file->blocks.empty());
    EXPECT_TRUE(HasProblemAt(file->problems, 20)) << AllProblems(file->problems);
    EXPECT_TRUE(HasProblemAt(file->problems, 28)) << AllProblems(file->problems);
  }
}

TEST(ControllerFileReader, ReadsAPackAndNamesItsDamage) {
  const Bytes a = test::Bytes("LPfirst");
  const Bytes b = test::Bytes("LPsecond!");
  const Bytes good = ProgramPackBytes(std::vector<Bytes>{a, b});
  ASSERT_EQ(good.size(), a.size() + b.size() + 4 + 3 * 4 + 16);
  const Expected<ProgramPackContents> pack = ReadProgramPack(good);
  ASSERT_TRUE(pack.ok());
  EXPECT_TRUE(pack->problems.empty()) << AllProblems(pack->problems);
  EXPECT_EQ(pack->indexOffset, a.size() + b.size());
  ASSERT_EQ(pack->files.size(), 2u);
  EXPECT_EQ(pack->files[1].offset, a.size());
  EXPECT_EQ(pack->files[1].size, b.size());

  const std::size_t trailer = good.size() - 16;
  const std::size_t table = pack->indexOffset + 4;
  struct Row {
    const char* name;
    std::function<void(Bytes&)> damage;
    bool fails;
    std::size_t offset;
  };
  const Row rows[] = {
      {"no trailer", [](Bytes& x) { x.pop_back(); }, true, 0},
      {"too short", [](Bytes& x) { x.resize(10); }, true, 0},
      {"idx4 elsewhere", [&](Bytes& x) { PutU32(x, trailer + 4, 3); }, false, trailer + 4},
      {"one file more", [&](Bytes& x) { x[trailer + 8] = 3; }, false, trailer + 4},
      {"first file not at 0", [&](Bytes& x) { PutU32(x, table, 1); }, false, table},
      {"offsets going back", [&](Bytes& x) { PutU32(x, table + 4, 1000); }, false, table + 4},
      {"table not ending at idx4", [&](Bytes& x) { PutU32(x, table + 8, 2); }, false, table + 8},
      {"trailer padding", [&](Bytes& x) { x[trailer + 15] = 1; }, false, trailer + 10},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Bytes bytes = good;
    row.damage(bytes);
    const Expected<ProgramPackContents> read = ReadProgramPack(bytes);
    ASSERT_EQ(read.ok(), !row.fails);
    if (row.fails) continue;
    EXPECT_TRUE(HasProblemAt(read->problems, row.offset)) << AllProblems(read->problems);
    for (const PackedFile& file : read->files) EXPECT_LE(std::uint64_t{file.offset} + file.size, bytes.size());
  }
}

TEST(ControllerFileReader, ReadsTheRunScheduleThePlayScheduleWrites) {
  CPlaySchedule schedule;
  ASSERT_TRUE(schedule.SetProgramCount(10));
  schedule.SetAttribute(0x21);
  ASSERT_TRUE(schedule.AddEntry(2, "^0_____6", {2024, 3, 9}, {2125, 12, 31}, {8, 30, 0}, {20, 15, 0}, "1000000011"));
  ASSERT_TRUE(schedule.AddEntry(0, "+0123456", {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {23, 59, 59}, "0100000000"));
  const Bytes bytes = *schedule.ControllerScheduleBytes();
  const Expected<RunScheduleContents> read = ReadRunSchedule(bytes);
  ASSERT_TRUE(read.ok());
  EXPECT_TRUE(read->problems.empty()) << AllProblems(read->problems);
  EXPECT_EQ(read->programCount, 10);
  EXPECT_EQ(read->attribute, 0x21);
  EXPECT_EQ(read->programBytes, 2);
  ASSERT_EQ(read->entries.size(), 2u);
  const RunScheduleEntry& first = read->entries[0];
  EXPECT_EQ(first.Type(), 2);
  EXPECT_EQ(first.weekdayMask, 0xC1);
  EXPECT_EQ(first.startDate, (std::array<std::uint8_t, 3>{24, 3, 9}));
  EXPECT_EQ(first.endDate, (std::array<std::uint8_t, 3>{25, 12, 31}));
  EXPECT_EQ(first.startTime, (std::array<std::uint8_t, 3>{8, 30, 0}));
  EXPECT_EQ(first.endTime, (std::array<std::uint8_t, 3>{20, 15, 0}));
  EXPECT_EQ(first.programs, "1000000011");
  EXPECT_EQ(read->entries[1].programs, "0100000000");

  struct Row {
    const char* name;
    std::function<void(Bytes&)> damage;
    std::size_t offset;
  };
  const Row rows[] = {
      {"version", [](Bytes& x) { x[2] = 2; }, 2},
      {"fixed bytes", [](Bytes& x) { x[9] = 0; }, 8},
      {"program bytes", [](Bytes& x) { x[13] = 1; }, 13},
      {"entry type byte", [](Bytes& x) { x[16] = 0x20; }, 16},
      {"entry cut short", [](Bytes& x) { x.pop_back(); }, 6},
      {"byte after the entries", [](Bytes& x) { x.push_back(0); }, 16 + 2 * 16},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Bytes damaged = bytes;
    row.damage(damaged);
    const Expected<RunScheduleContents> again = ReadRunSchedule(damaged);
    ASSERT_TRUE(again.ok());
    EXPECT_TRUE(HasProblemAt(again->problems, row.offset)) << AllProblems(again->problems);
  }
  EXPECT_FALSE(ReadRunSchedule(Bytes(bytes.begin(), bytes.begin() + 15)).ok());
}

}  // namespace
}  // namespace vantorel

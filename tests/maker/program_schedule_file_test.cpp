#include "maker/program_schedule_file.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/text_ids.h"
#include "maker/controller_file_reader.h"
#include "support/golden_file.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace vantorel {
namespace {

// The first and third values keep only their low byte; the second is stored whole.
const std::vector<ProgramScheduleRecord> kRecords{{0, {0x1A5, 0x1234, 0x2FF}}, {3, {0x100, 0xFFFF, 0x07}}};

TEST(ProgramScheduleFile, IsWrittenByteForByte) {
  test::TempFolder temp;
  const auto file = temp / "001a.lpt";
  ASSERT_TRUE(WriteProgramSchedule(file, kRecords));
  const std::string written = test::ReadText(file);
  EXPECT_TRUE(test::MatchesGolden("maker/001a.lpt", written, test::GoldenKind::kBinary));
  EXPECT_EQ(written, std::string("LT\x00\x01\x02\x00\x00"
                                 "\x00\x00\xA5\x00\x34\x12\xFF"
                                 "\x03\x00\x00\x00\xFF\xFF\x07",
                                 21));
}

TEST(ProgramScheduleFile, ReadsBackWithTheLowBytesKept) {
  const Expected<ProgramScheduleContents> schedule = ReadProgramSchedule(ProgramScheduleBytes(kRecords));
  ASSERT_TRUE(schedule.ok());
  EXPECT_TRUE(schedule->problems.empty());
  const std::vector<ProgramScheduleRecord> expected{{0, {0xA5, 0x1234, 0xFF}}, {3, {0x00, 0xFFFF, 0x07}}};
  EXPECT_EQ(schedule->records, expected);
}

TEST(ProgramScheduleFile, ReaderNamesWhatIsWrong) {
  const std::vector<std::uint8_t> good = ProgramScheduleBytes(kRecords);
  struct Row {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> damage;
    bool fails;
    std::size_t offset;
  };
  const Row rows[] = {
      {"short header", [](auto& b) { b.resize(6); }, true, 0},
      {"another magic", [](auto& b) { b[1] = 'L'; }, true, 0},
      {"version", [](auto& b) { b[2] = 1; }, false, 2},
      {"zero after the count", [](auto& b) { b[6] = 1; }, false, 6},
      {"record cut short", [](auto& b) { b.pop_back(); }, false, 4},
      {"byte after the records", [](auto& b) { b.push_back(0); }, false, 21},
      {"zero inside a record", [](auto& b) { b[7 + 3] = 1; }, false, 10},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::uint8_t> bytes = good;
    row.damage(bytes);
    const Expected<ProgramScheduleContents> schedule = ReadProgramSchedule(bytes);
    ASSERT_EQ(schedule.ok(), !row.fails);
    if (row.fails) continue;
    ASSERT_FALSE(schedule->problems.empty());
    EXPECT_EQ(schedule->problems.front().offset, row.offset) << ProblemText(schedule->problems.front());
  }
}

}  // namespace
}  // namespace vantorel

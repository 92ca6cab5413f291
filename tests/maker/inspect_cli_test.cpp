// vantorel-cli inspect over the files the writers make, sound and damaged.

#include <gtest/gtest.h>

#include "maker/playbill_index_file.h"
#include "maker/program_pack.h"
#include "maker/program_schedule_file.h"
#include "sample_program_files.h"
#include "support/cli_runner.h"
#include "support/test_files.h"

namespace vantorel {
namespace {

class InspectCliTest : public test::CliTest {
protected:
  test::RunResult Inspect(const std::filesystem::path& file, const std::string& options = {}) const {
    return Run("inspect " + Quote(file) + options);
  }
};

TEST_F(InspectCliTest, ShowsEveryFieldOfAProgramFileAndWritesItsPages) {
  const auto file = Dir() / "001a0001.lpb";
  test::WriteFullProgram(file);
  const auto result = Inspect(file, " --pages " + Quote(Dir() / "pages"));
  EXPECT_EQ(result.exitCode, 0) << result.err;
  for (const char* expected : {
           "program file, 959 bytes",
           "windows 2, block count field 4, background block 1",
           "window table at 48, item table at 80, block table at 128, data area at 160",
           "checksum 0x",
           "window 1: number 1, wait type 0, left -3, top 16, width 13, height 16, items 1 from item offset 32",
           "item 0: code 1 picture pages, block 2, transparent 0, effect 0x0001, speed 4, stay 3",
           "item 1: code 5 clock, block none",
           "block 0: type 2 program name, 5 bytes at 0 (file offset 160): \"News\"",
           "block 2: type 1 picture pages, 266 bytes at 527 (file offset 687): 32x16, pages red 2 green 2 blue 0",
           "block 3: type 5 clock, 6 bytes at 793 (file offset 953): \"%H:%M\"",
       }) {
    EXPECT_NE(result.out.find(expected), std::string::npos) << expected << "\n" << result.out;
  }
  EXPECT_NE(result.out.find(" ok\n"), std::string::npos) << result.out;
  for (const char* picture : {"block-1-page-1.png", "block-2-page-1.png", "block-2-page-2.png"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(Dir() / "pages" / picture)) << picture;
  }
  EXPECT_FALSE(std::filesystem::exists(Dir() / "pages" / "block-2-page-3.png"));
}

TEST_F(InspectCliTest, NamesEveryProblemOfADamagedFileAndFails) {
  const auto file = Dir() / "damaged.lpb";
  std::vector<std::uint8_t> bytes = test::WriteFullProgram(file);
  bytes[6] = 9;          // the block count field
  bytes.push_back(0x55);  // a byte after the last block
  test::WriteBytes(file, bytes);
  const auto result = Inspect(file);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.out.find("problem: offset 6: block count field 9"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("problem: offset 46: checksum"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("problem: offset 959: 1 bytes after the last block"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("stored, the bytes give"), std::string::npos) << result.out;
  EXPECT_NE(result.err.find("3 problems"), std::string::npos) << result.err;
}

TEST_F(InspectCliTest, InspectsEveryFileOfAPack) {
  test::WriteFullProgram(Dir() / "001a0000.lpb");
  test::WriteClockOnlyProgram(Dir() / "001a0001.lpb");
  const auto index = Dir() / "001a.lpp";
  ASSERT_TRUE(WritePlaybillIndex(index, {64, 32, 3, 0}, std::vector<PlaybillIndexEntry>{{"001a0000.lpb", 2}, {"001a0001.lpb", 1}}));
  ASSERT_TRUE(PackProgramFiles(index).ok());
  const auto result = Inspect(Dir() / "001a0000.lpm", " --pages " + Quote(Dir() / "pages"));
  EXPECT_EQ(result.exitCode, 0) << result.err << result.out;
  EXPECT_NE(result.out.find("program pack, 1071 bytes, 2 files, \"idx4\" at 1039"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("file 1: 80 bytes at 959\n  program file, 80 bytes"), std::string::npos) << result.out;
  EXPECT_TRUE(std::filesystem::is_regular_file(Dir() / "pages" / "file-0-block-2-page-2.png"));

  const auto packed = Inspect(index);
  EXPECT_EQ(packed.exitCode, 0) << packed.err;
  EXPECT_NE(packed.out.find("program 1: \"001a0000.lpm\", windows or position in the pack 1"), std::string::npos) << packed.out;
}

TEST_F(InspectCliTest, TellsTheOtherFilesByTheirMagic) {
  struct Row {
    const char* name;
    std::vector<std::uint8_t> bytes;
    int exitCode;
    const char* expected;
  };
  const Row rows[] = {
      {"x.lpt", ProgramScheduleBytes(std::vector<ProgramScheduleRecord>{{2, {0x101, 7, 9}}}), 0,
       "record 0: program 2, time schedule 0x01 0x0007 0x09"},
      {"x.rsf", {0x52, 0x53, 0x01, 0x00, 0, 9, 0, 1, 0x00, 0x10, 0x00, 0x00, 0x21, 2, 0, 0,
                 0x21, 0xC1, 24, 3, 9, 25, 12, 31, 8, 30, 0, 20, 15, 0, 0x80, 0x80},
       0, "entry 0: type 2, weekdays 0xC1, 24-03-09 to 25-12-31, 08:30:00 to 20:15:00, programs 1, 9"},
      {"x.lpp", PlaybillIndexBytes({8, 8, 1, 0}, std::vector<PlaybillIndexEntry>{{"00010000.lpb", 1}}), 0,
       "program 0: \"00010000.lpb\", windows or position in the pack 1"},
      {"short.lpb", {'L', 'P', 0, 1}, 1, "program file: 4 bytes, the header alone takes 48"},
      {"other.bin", test::Bytes("GIF89a"), 1, "no magic of a controller file"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::WriteBytes(Dir() / row.name, row.bytes);
    const auto result = Inspect(Dir() / row.name);
    EXPECT_EQ(result.exitCode, row.exitCode) << result.err;
    EXPECT_NE(result.out.find(row.expected), std::string::npos) << result.out;
  }
  const auto missing = Inspect(Dir() / "missing.lpb");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("missing.lpb"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace vantorel

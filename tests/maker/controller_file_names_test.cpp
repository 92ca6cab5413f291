#include "maker/controller_file_names.h"

#include <gtest/gtest.h>

namespace vantorel {
namespace {

TEST(ControllerFileNames, AreTheScreenIdInLowerCaseHex) {
  struct Row {
    std::uint16_t id;
    int program;
    const char* index;
    const char* programFile;
  };
  const Row rows[] = {
      {1, 0, "0001.lpp", "00010000.lpb"},
      {26, 1, "001a.lpp", "001a0001.lpb"},
      {254, 0x2f, "00fe.lpp", "00fe002f.lpb"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.index);
    EXPECT_EQ(PlaybillIndexName(row.id), row.index);
    EXPECT_EQ(ProgramFileName(row.id, row.program), row.programFile);
  }
  EXPECT_EQ(ProgramScheduleName(26), "001a.lpt");
  EXPECT_EQ(ExternalFileListName(26), "001a.log");
  EXPECT_EQ(RunScheduleName(26), "001a.rsf");
}

}  // namespace
}  // namespace vantorel

// The shared test support: what a golden-file mismatch reports, regeneration, and temporary folders.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/golden_file.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace vantorel::test {
namespace {

struct DifferenceRow {
  const char* name;
  std::string expected;
  std::string actual;
  GoldenKind kind;
  std::string report;
};

TEST(GoldenFileTest, MismatchesAreReportedWhereTheyStart) {
  const DifferenceRow rows[] = {
      {"same text", "a\nb\n", "a\nb\n", GoldenKind::kText, ""},
      {"changed line", "one\ntwo\nthree\nfour\nfive\n", "one\ntwo\nTHREE\nfour\nfive\n", GoldenKind::kText,
       "first difference at line 3 (expected 5 lines, got 5)\n"
       "  3 expected: three\n  3 actual:   THREE\n"
       "  4 expected: four\n  4 actual:   four\n"
       "  5 expected: five\n  5 actual:   five\n"},
      {"line ends shown", "A=1\r\n", "A=1\n", GoldenKind::kText,
       "first difference at line 1 (expected 1 lines, got 1)\n  1 expected: A=1\\r\n  1 actual:   A=1\n"},
      {"missing lines", "a\nb\n", "a\n", GoldenKind::kText,
       "first difference at line 2 (expected 2 lines, got 1)\n  2 expected: b\n  2 actual:   <none>\n"},
      {"last line end", "a\n", "a", GoldenKind::kText,
       "first difference at line 2 (expected 1 lines, got 1)\n  only the end of the last line differs\n"},
      {"binary byte", std::string("\x01\x02\x03\x04", 4), std::string("\x01\x02\xFF\x04", 4), GoldenKind::kBinary,
       "first difference at offset 0x2 (expected 4 bytes, got 4)\n  expected: 03 04\n  actual:   FF 04\n"},
      {"binary shorter", std::string(40, 'A'), std::string(34, 'A'), GoldenKind::kBinary,
       "first difference at offset 0x22 (expected 40 bytes, got 34)\n  expected: 41 41 41 41 41 41\n"
       "  actual:   \n"},
      {"binary dump stops at 32 bytes", std::string(48, '\0'), std::string(8, '\0') + std::string(40, '\x10'),
       GoldenKind::kBinary,
       "first difference at offset 0x8 (expected 48 bytes, got 48)\n  expected: " +
           std::string("00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00") +
           "\n  actual:   " +
           "10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10\n"},
  };
  for (const DifferenceRow& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(GoldenDifference(row.expected, row.actual, row.kind), row.report);
  }
}

TEST(GoldenFileTest, ComparesWithTheStoredFileAndRegeneratesOnRequest) {
  const TempFolder root;
  ::unsetenv("VANTOREL_REGENERATE_GOLDEN");
  const auto missing = MatchesGolden("case/out.txt", "new\n", GoldenKind::kText, root.Path());
  EXPECT_FALSE(missing);
  EXPECT_NE(std::string(missing.message()).find("VANTOREL_REGENERATE_GOLDEN=1"), std::string::npos)
      << missing.message();

  ::setenv("VANTOREL_REGENERATE_GOLDEN", "1", 1);
  EXPECT_TRUE(MatchesGolden("case/out.txt", "new\n", GoldenKind::kText, root.Path()));
  ::unsetenv("VANTOREL_REGENERATE_GOLDEN");
  EXPECT_EQ(root.Read("case/out.txt"), "new\n");

  EXPECT_TRUE(MatchesGolden("case/out.txt", "new\n", GoldenKind::kText, root.Path()));
  const auto changed = MatchesGolden("case/out.txt", "old\n", GoldenKind::kText, root.Path());
  EXPECT_FALSE(changed);
  EXPECT_NE(std::string(changed.message()).find("1 actual:   old"), std::string::npos) << changed.message();
  EXPECT_EQ(root.Read("case/out.txt"), "new\n") << "a comparison never writes";
}

TEST(TempFolderTest, HoldsFilesAndIsRemovedAtTheEnd) {
  std::filesystem::path kept;
  {
    const TempFolder folder;
    kept = folder.Path();
    EXPECT_TRUE(std::filesystem::is_directory(kept));
    const TempFolder second;
    EXPECT_NE(second.Path(), kept);
    const auto file = folder.Write("deep/er/a.txt", "text\r\n");
    EXPECT_EQ(ReadText(file), "text\r\n");
    const std::uint8_t bytes[] = {0, 0xFF, 0x0A};
    folder.WriteBytes("b.bin", bytes);
    EXPECT_EQ(folder.ReadBytes("b.bin"), (std::vector<std::uint8_t>{0, 0xFF, 0x0A}));
  }
  EXPECT_FALSE(std::filesystem::exists(kept));
}

}  // namespace
}  // namespace vantorel::test

// The quick start's main job on a fresh machine: the first command creates the data folder with
// the default 48 x 48 cross screen and shows it with its playbill.

#include <gtest/gtest.h>

#include "platform/atomic_file.h"
#include "support/cli_runner.h"
#include "support/golden_file.h"

namespace vantorel {
namespace {

class QuickStartTest : public test::CliTest {};

TEST_F(QuickStartTest, FreshDataFolderGetsTheDefaultCrossScreen) {
  std::filesystem::remove_all(DataFolder());  // not even the folder exists yet
  const auto listed = Run("screens list");
  ASSERT_EQ(listed.exitCode, 0) << listed.err;
  EXPECT_NE(listed.out.find("Korvan-M5[1]\tKorvan-M5\tFull color\t48x48\tCOM1: 115200,N,8,1"), std::string::npos)
      << listed.out;

  std::string stored;
  ASSERT_TRUE(ReadWholeFile(DataFolder() / "screen.cfg", stored));
  EXPECT_TRUE(test::MatchesGolden("quick_start/screen.cfg", stored, test::GoldenKind::kBinary));

  const auto shown = Run("playbill show --screen 1");
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  // The default cross screen starts with the shipped default playbill.
  EXPECT_NE(shown.out.find("Clock[1]\n  Window[1]\tleft 16 top 0 width 16 height 16\n"), std::string::npos) << shown.out;

  // A second run finds what the first one stored and changes nothing.
  EXPECT_EQ(Run("screens list").out, listed.out);
  std::string again;
  ASSERT_TRUE(ReadWholeFile(DataFolder() / "screen.cfg", again));
  EXPECT_EQ(again, stored);
}

TEST_F(QuickStartTest, BadInputGivesAMessageAndNonZeroExit) {
  for (const char* arguments : {"", "no-such-command", "screens show 0", "screens show 99", "playbill show --screen 7",
                                "screens import /no/such/file.screens"}) {
    const auto result = Run(arguments);
    EXPECT_NE(result.exitCode, 0) << arguments;
    EXPECT_FALSE(result.err.empty()) << arguments;
  }
}

}  // namespace
}  // namespace vantorel

// vantorel-cli "screens": the screen manager's rules seen from the command line.

#include <string>

#include "platform/atomic_file.h"
#include "screen/screen_data.h"
#include "support/cli_runner.h"

namespace vantorel {
namespace {

using test::RunResult;

class ScreensCliTest : public test::CliTest {
protected:
  CScreenData Stored() const {
    CScreenData list;
    (void)list.Load(ScreenFile(), false);
    return list;
  }
  std::filesystem::path ScreenFile() const { return DataFolder() / "screen.cfg"; }
};

TEST_F(ScreensCliTest, ListOnAnEmptyDataFolderCreatesTheDefaultScreen) {
  const RunResult result = Run("screens list");
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "1\tKorvan-M5[1]\tKorvan-M5\tFull color\t48x48\tCOM1: 115200,N,8,1\n");
  const CScreenData list = Stored();
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Comm(0).special, kDefaultCrossParts);
}

TEST_F(ScreensCliTest, AddAppliesTheEditorRules) {
  // The editor's defaults take ID 1, which the default screen already has.
  RunResult result = Run("screens add");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "Korvan screen ID duplicate, can't save. (ID 1 is taken; --id 2 is free)\n");

  result = Run("screens add --id 2 --model Korvan-M1 --width 512 --height 512");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "The screen size (Width x Height) is too large\n");
  result = Run("screens add --id 2 --comm gprs-dtu");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "There is GPRS setting without DTU ID, can't save.\n");
  result = Run("screens add --id 2 --model korvan-m3 --color 0x77");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "--color: Korvan-M3 offers Mono (0x01), RG color (0x03)\n");
  for (const char* bad : {"--width 130", "--model Korvan-M9", "--ip 1.2.3", "--baud 1200", "--special sideways",
                          "--comm modem", "--id 255", "--copy 7", "--name $(printf 'x%.0s' $(seq 65))"}) {
    result = Run(std::string("screens add --id 2 ") + bad);
    EXPECT_NE(result.exitCode, 0) << bad;
    EXPECT_FALSE(result.err.empty()) << bad;
  }
  EXPECT_EQ(Stored().Count(), 1);  // nothing refused was stored

  result = Run("screens add --id 2 --name Gate --model Korvan-M7 --width 96 --height 96 --special parts "
               "--comm network --ip 10.0.0.9");
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "Added screen 2: Gate[2]\n");
  result = Run("screens add --copy 2 --comm server --domain relay.example --gprs-id dev-1 --special rotate");
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "Added screen 3: Gate[3]\n");

  const CScreenData list = Stored();
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Screen(1).type, 7);
  EXPECT_EQ(list.Comm(1).subMode, 0);  // addressed by the IP address given
  EXPECT_EQ(list.Comm(1).ipAddr, 0x0A000009u);
  EXPECT_EQ(list.Comm(1).special, "p:0,0,32,32;64,0,32,32;0,64,32,32;64,64,32,32;");
  EXPECT_EQ(list.Comm(2).subMode, 1);  // relay server by name
  EXPECT_EQ(list.Comm(2).special, "r:1");
  EXPECT_EQ(list.Screen(2).width, 96);

  result = Run("screens list");
  EXPECT_NE(result.out.find("3\tGate[3]\tKorvan-M7\tFull color\t96x96\trelay.example : 5200 [dev-1]\n"),
            std::string::npos);
  result = Run("screens show 2");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.out.find("10.0.0.9 : 5200 [255.255.255.255]"), std::string::npos);
}

TEST_F(ScreensCliTest, RemoveMoveExportImport) {
  ASSERT_EQ(Run("screens add --id 5").exitCode, 0);
  ASSERT_EQ(Run("screens add --id 6").exitCode, 0);
  EXPECT_EQ(Run("screens move 1 up").exitCode, 1);
  EXPECT_EQ(Run("screens move 3 down").exitCode, 1);
  EXPECT_EQ(Run("screens move 2 sideways").exitCode, 105);  // CLI11's own validation error
  EXPECT_EQ(Run("screens move 3 up").exitCode, 0);
  CScreenData list = Stored();
  EXPECT_EQ(list.Screen(1).number, 6);

  const auto exported = Dir() / "all.screens";
  EXPECT_EQ(Run("screens export '" + exported.string() + "'").exitCode, 0);
  EXPECT_EQ(Run("screens remove 4").exitCode, 1);
  EXPECT_EQ(Run("screens remove 1").exitCode, 0);
  EXPECT_EQ(Run("screens remove 1").exitCode, 0);
  const RunResult last = Run("screens remove 1");
  EXPECT_EQ(last.exitCode, 1);
  EXPECT_NE(last.err.find("only screen"), std::string::npos);
  EXPECT_EQ(Stored().Count(), 1);

  EXPECT_EQ(Run("screens import '" + exported.string() + "'").exitCode, 0);
  list = Stored();
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Screen(2).number, 5);

  const auto empty = Dir() / "empty.screens";
  ASSERT_TRUE(WriteFileAtomically(empty, std::string_view("[SCREEN]\r\nTYPE=3\r\n[/SCREEN]\r\n")));
  const RunResult refused = Run("screens import '" + empty.string() + "'");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.err, "No any LED screen is defined in the file!\n");
  const auto duplicates = Dir() / "duplicates.screens";
  ASSERT_TRUE(WriteFileAtomically(duplicates, std::string_view("[SCREEN]\nTYPE=6\nNUMBER=4\n[/SCREEN]\n"
                                                                "[SCREEN]\nTYPE=7\nNUMBER=4\n[/SCREEN]\n")));
  EXPECT_EQ(Run("screens import '" + duplicates.string() + "'").err, "Korvan screen ID duplicate, can't save.\n");
  EXPECT_EQ(Stored().Count(), 3);
}

TEST_F(ScreensCliTest, HelpOnEveryCommand) {
  for (const char* command : {"screens", "screens list", "screens show", "screens add", "screens remove",
                              "screens move", "screens export", "screens import"}) {
    const RunResult result = Run(std::string(command) + " --help");
    EXPECT_EQ(result.exitCode, 0) << command;
    EXPECT_NE(result.out.find("Usage:"), std::string::npos) << command;
  }
  EXPECT_NE(Run("screens").exitCode, 0);
  EXPECT_NE(Run("screens show").exitCode, 0);
  EXPECT_NE(Run("screens show x").exitCode, 0);
}

}  // namespace
}  // namespace vantorel

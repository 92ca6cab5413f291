// vantorel-cli "screens": the screen manager's rules seen from the command line, with the
// administrator password every command that changes the screen list needs.

#include <QSettings>
#include <QString>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/password_store.h"
#include "app/user_settings.h"
#include "platform/atomic_file.h"
#include "screen/colour_modes.h"
#include "screen/comm_types.h"
#include "screen/controller_types.h"
#include "screen/screen_data.h"
#include "support/cli_runner.h"
#include "support/test_files.h"

namespace vantorel {
namespace {

using test::RunResult;

constexpr const char* kAdmin = " --admin-password 50731";

class ScreensCliTest : public test::CliTest {
protected:
  CScreenData Stored() const {
    CScreenData list;
    (void)list.Load(ScreenFile(), false);
    return list;
  }
  std::filesystem::path ScreenFile() const { return DataFolder() / "screen.cfg"; }
  // A command that changes the list, with the administrator's (default) password.
  RunResult RunAsAdmin(const std::string& arguments) const { return Run(arguments + kAdmin); }
  std::filesystem::path Work(const std::string& name) const { return DataFolder() / "work" / name; }

  // The default screen and a second one (ID 2, 64 x 64), each with its playbill file.
  void TwoScreensWithPlaybills() const {
    ASSERT_EQ(RunAsAdmin("screens add --id 2 --width 64 --height 64").exitCode, 0);
    for (const char* screen : {"1", "2"}) {
      const RunResult shown = Run(std::string("playbill --screen ") + screen + " show");
      ASSERT_EQ(shown.exitCode, 0) << shown.err;
    }
    ASSERT_TRUE(std::filesystem::exists(Work("av0001.ldt")));
    ASSERT_TRUE(std::filesystem::exists(Work("av0002.ldt")));
  }

  // Every file of the data folder (the per-user settings lie outside it) with its bytes.
  std::map<std::string, std::string> DataFiles() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(DataFolder())) {
      if (entry.is_regular_file()) files[entry.path().lexically_relative(DataFolder()).string()] = test::ReadText(entry.path());
    }
    return files;
  }
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
  RunResult result = RunAsAdmin("screens add");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "Korvan screen ID duplicate, can't save. (ID 1 is taken; --id 2 is free)\n");

  result = RunAsAdmin("screens add --id 2 --model Korvan-M1 --width 512 --height 512");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "The screen size (Width x Height) is too large\n");
  result = RunAsAdmin("screens add --id 2 --comm gprs-dtu");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "There is GPRS setting without DTU ID, can't save.\n");
  result = RunAsAdmin("screens add --id 2 --model korvan-m3 --color 0x77");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "--color: Korvan-M3 offers Mono (0x01), RG color (0x03)\n");
  for (const char* bad : {"--width 130", "--model Korvan-M9", "--ip 1.2.3", "--baud 1200", "--special sideways",
                          "--comm modem", "--id 255", "--copy 7", "--name $(printf 'x%.0s' $(seq 65))"}) {
    result = RunAsAdmin(std::string("screens add --id 2 ") + bad);
    EXPECT_NE(result.exitCode, 0) << bad;
    EXPECT_FALSE(result.err.empty()) << bad;
  }
  EXPECT_EQ(Stored().Count(), 1);  // nothing refused was stored

  result = RunAsAdmin("screens add --id 2 --name Gate --model Korvan-M7 --width 96 --height 96 --special parts "
               "--comm network --ip 10.0.0.9");
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "Added screen 2: Gate[2]\n");
  result = RunAsAdmin("screens add --copy 2 --comm server --domain relay.example --gprs-id dev-1 --special rotate");
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
  ASSERT_EQ(RunAsAdmin("screens add --id 5").exitCode, 0);
  ASSERT_EQ(RunAsAdmin("screens add --id 6").exitCode, 0);
  EXPECT_EQ(Run("screens move 1 up").exitCode, 1);
  EXPECT_EQ(Run("screens move 3 down").exitCode, 1);
  EXPECT_EQ(Run("screens move 2 sideways").exitCode, 105);  // CLI11's own validation error
  EXPECT_EQ(Run("screens move 3 up").exitCode, 0);
  CScreenData list = Stored();
  EXPECT_EQ(list.Screen(1).number, 6);

  const auto exported = Dir() / "all.screens";
  EXPECT_EQ(Run("screens export '" + exported.string() + "'").exitCode, 0);
  EXPECT_EQ(RunAsAdmin("screens remove 4").exitCode, 1);
  EXPECT_EQ(RunAsAdmin("screens remove 1").exitCode, 0);
  EXPECT_EQ(RunAsAdmin("screens remove 1").exitCode, 0);
  const RunResult last = RunAsAdmin("screens remove 1");
  EXPECT_EQ(last.exitCode, 1);
  EXPECT_NE(last.err.find("only screen"), std::string::npos);
  EXPECT_EQ(Stored().Count(), 1);

  EXPECT_EQ(RunAsAdmin("screens import '" + exported.string() + "'").exitCode, 0);
  list = Stored();
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Screen(2).number, 5);

  const auto empty = Dir() / "empty.screens";
  ASSERT_TRUE(WriteFileAtomically(empty, std::string_view("[SCREEN]\r\nTYPE=3\r\n[/SCREEN]\r\n")));
  const RunResult refused = RunAsAdmin("screens import '" + empty.string() + "'");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.err, "No any LED screen is defined in the file!\n");
  const auto duplicates = Dir() / "duplicates.screens";
  ASSERT_TRUE(WriteFileAtomically(duplicates, std::string_view("[SCREEN]\nTYPE=6\nNUMBER=4\n[/SCREEN]\n"
                                                                "[SCREEN]\nTYPE=7\nNUMBER=4\n[/SCREEN]\n")));
  EXPECT_EQ(RunAsAdmin("screens import '" + duplicates.string() + "'").err, "Korvan screen ID duplicate, can't save.\n");
  EXPECT_EQ(Stored().Count(), 3);
}

TEST_F(ScreensCliTest, HelpOnEveryCommand) {
  for (const char* command : {"screens", "screens list", "screens show", "screens add", "screens edit",
                              "screens remove", "screens move", "screens export", "screens import"}) {
    const RunResult result = Run(std::string(command) + " --help");
    EXPECT_EQ(result.exitCode, 0) << command;
    EXPECT_NE(result.out.find("Usage:"), std::string::npos) << command;
  }
  EXPECT_NE(Run("screens").exitCode, 0);
  EXPECT_NE(Run("screens show").exitCode, 0);
  EXPECT_NE(Run("screens show x").exitCode, 0);
}

TEST_F(ScreensCliTest, EditAppliesTheEditorRulesAndKeepsTheIdAndPlaybill) {
  struct Row {
    const char* name;
    std::string arguments;  // after "screens edit"
    int exitCode;
    std::string output;  // standard output on success, standard error on failure
    std::function<void(const CScreenData& list)> check;
  };
  const Row rows[] = {
      {"a new name only", "1 --name Gate", 0, "Changed screen 1: Gate[1]\n",
       [](const CScreenData& list) {
         EXPECT_EQ(list.Screen(0).number, 1);
         EXPECT_EQ(list.Screen(0).width, 48);
         EXPECT_EQ(list.Comm(0).special, kDefaultCrossParts);  // a part list of its own stays
       }},
      {"a model without the colour mode takes its largest", "2 --model Korvan-M3", 0, "Changed screen 2: Korvan-M3[2]\n",
       [](const CScreenData& list) {
         EXPECT_EQ(list.Screen(1).model, kModelM3);
         EXPECT_EQ(list.Screen(1).color, kColourRg);
         EXPECT_EQ(list.Screen(1).type, 6);
       }},
      {"an ID another screen of the class has", "2 --id 1", 1,
       "Korvan screen ID duplicate, can't save. (ID 1 is taken; --id 3 is free)\n", nullptr},
      {"a class-7 model without that colour mode", "2 --model Korvan-M7 --comm network --gprs-id Gate-7", 0,
       "Changed screen 2: Korvan-M7[2]\n",
       [](const CScreenData& list) {
         EXPECT_EQ(list.Screen(1).type, 7);
         EXPECT_EQ(list.Screen(1).color, kColourFull);  // Korvan-M7 offers no RG: its largest
         EXPECT_EQ(list.Comm(1).commType, kCommNetwork);
         EXPECT_EQ(list.Comm(1).subMode, 1);  // named by the device finder's name
       }},
      {"the cross of a new size", "1 --width 96 --height 96 --special parts", 0, "Changed screen 1: Gate[1]\n",
       [](const CScreenData& list) {
         EXPECT_EQ(list.Screen(0).width, 96);
         EXPECT_EQ(list.Comm(0).special, "p:0,0,32,32;64,0,32,32;0,64,32,32;64,64,32,32;");
       }},
      {"rotated", "1 --special rotate", 0, "Changed screen 1: Gate[1]\n",
       [](const CScreenData& list) { EXPECT_EQ(list.Comm(0).special, "r:1"); }},
      {"beyond the pixel limit", "1 --model Korvan-M1 --width 512 --height 512", 1,
       "The screen size (Width x Height) is too large\n", nullptr},
      {"GPRS DTU without its ID", "1 --comm gprs-dtu", 1, "There is GPRS setting without DTU ID, can't save.\n", nullptr},
      {"a colour mode the model does not offer", "1 --color Mono --model Korvan-M6", 1,
       "--color: Korvan-M6 offers Full color (0x77), RG color(256 grayscale) (0x73), Mono(256 grayscale) (0x71)\n",
       nullptr},
      {"no such screen", "3 --name X", 1, "there is no screen 3 (the list holds 2 screens)\n", nullptr},
  };
  TwoScreensWithPlaybills();
  const std::string playbill1 = test::ReadText(Work("av0001.ldt"));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string before = test::ReadText(ScreenFile());
    const RunResult result = RunAsAdmin("screens edit " + row.arguments);
    EXPECT_EQ(result.exitCode, row.exitCode) << result.err;
    EXPECT_EQ(row.exitCode == 0 ? result.out : result.err, row.output);
    if (row.check) row.check(Stored());
    if (row.exitCode != 0) {
      EXPECT_EQ(test::ReadText(ScreenFile()), before);
    }
    // Whatever the edit, each screen keeps its own playbill file.
    EXPECT_EQ(test::ReadText(Work("av0001.ldt")), playbill1);
    EXPECT_TRUE(std::filesystem::exists(Work("av0002.ldt")));
  }
}

TEST_F(ScreensCliTest, ANewIdTakesThePlaybillAlongAndNeverReplacesAnother) {
  TwoScreensWithPlaybills();
  test::WriteText(Work("av0001.rsh"), "schedule of screen 1");
  const std::string playbill1 = test::ReadText(Work("av0001.ldt"));
  const std::string playbill2 = test::ReadText(Work("av0002.ldt"));

  // A file left behind under the new ID's name is kept, and so the ID is refused.
  test::WriteText(Work("av0009.rsh"), "left behind");
  RunResult result = RunAsAdmin("screens edit 1 --id 9");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "A playbill file already has the name of the new screen ID; it is kept, so the screen cannot take "
                        "that ID: " + Work("av0009.rsh").string() + "\n");
  EXPECT_EQ(Stored().Screen(0).number, 1);
  EXPECT_EQ(test::ReadText(Work("av0001.ldt")), playbill1);

  result = RunAsAdmin("screens edit 1 --id 7");
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "Changed screen 1: Korvan-M5[7]\nIts playbill av0001.ldt is now av0007.ldt\n");
  EXPECT_EQ(Stored().Screen(0).number, 7);
  EXPECT_FALSE(std::filesystem::exists(Work("av0001.ldt")));
  EXPECT_EQ(test::ReadText(Work("av0007.ldt")), playbill1);
  EXPECT_EQ(test::ReadText(Work("av0007.rsh")), "schedule of screen 1");
  EXPECT_EQ(test::ReadText(Work("av0002.ldt")), playbill2);

  // The freed ID can be taken by the other screen, with its playbill.
  result = RunAsAdmin("screens edit 2 --id 1");
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(test::ReadText(Work("av0001.ldt")), playbill2);
  const RunResult shown = Run("playbill --screen 2 show");
  EXPECT_EQ(shown.out.substr(0, shown.out.find('\n')), "Screen 2: Korvan-M5[1], 64 x 64");
  EXPECT_EQ(test::ReadText(Work("av0001.ldt")), playbill2);
}

TEST_F(ScreensCliTest, ChangesNeedTheAdministratorPassword) {
  TwoScreensWithPlaybills();
  const std::filesystem::path other = Dir() / "other.screens";
  ASSERT_EQ(Run("screens export " + Quote(other)).exitCode, 0);

  struct Row {
    const char* name;
    std::string arguments;
  };
  const Row rows[] = {
      {"add", "screens add --id 3"},
      {"copy", "screens add --copy 1"},
      {"edit", "screens edit 1 --name Gate"},
      {"edit an ID", "screens edit 2 --id 5"},
      {"remove", "screens remove 1"},
      {"import", "screens import " + Quote(other)},
  };
  const std::string missing = "changing the screen list needs the administrator password: give it with --admin-password TEXT\n";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto before = DataFiles();
    RunResult result = Run(row.arguments);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, missing);
    result = Run(row.arguments + " --admin-password 50732");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Password incorrect\n");
    result = Run(row.arguments + " --admin-password ''");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(DataFiles(), before);
  }

  // Moving and exporting change no definition: no password.
  EXPECT_EQ(Run("screens move 2 up").exitCode, 0);
  EXPECT_EQ(Stored().Screen(0).number, 2);

  // The stored block is what counts: after a change of the password the default one is refused.
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(ConfigFolder().string()));
  {
    CUserSettings settings;
    StorePasswordBlock(settings, PasswordKind::Administrator, EncodePassword("gate keeper", true));
  }
  EXPECT_EQ(RunAsAdmin("screens edit 1 --name Gate").err, "Password incorrect\n");
  const RunResult right = Run("screens edit 1 --name Gate --admin-password 'gate keeper'");
  EXPECT_EQ(right.exitCode, 0) << right.err;
  EXPECT_EQ(Stored().Screen(0).scrName, "Gate");
}

TEST_F(ScreensCliTest, NoPasswordNoScreenFile) {
  // Without the password nothing is read or made: not even the default screen.
  EXPECT_EQ(Run("screens add --id 2").exitCode, 1);
  EXPECT_EQ(Run("screens edit 1").exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(ScreenFile()));
}

}  // namespace
}  // namespace vantorel

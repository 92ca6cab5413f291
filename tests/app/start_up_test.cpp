#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "app/app_folders.h"
#include "app/app_log.h"
#include "app/auto_shutdown.h"
#include "app/start_up.h"
#include "platform/atomic_file.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using test::TempFolder;

TEST(StartUp, ScreenSwitch) {
  struct Case {
    const char* argument;
    std::optional<long long> number;
  };
  const Case cases[] = {
      {"/s3", 3},   {"-S2", 2},     {"/S0", 0},         {"-s007", 7},       {"/s", std::nullopt},
      {"s3", std::nullopt},         {"/s 3", std::nullopt}, {"/s3x", std::nullopt}, {"/x3", std::nullopt},
      {"--s3", std::nullopt},       {"/s-1", std::nullopt}, {"/s99999999999999999999999", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseScreenSwitch(c.argument), c.number) << c.argument;
}

TEST(StartUp, CommandLineGivesTheScreenAndTheFileToOpen) {
  struct Row {
    const char* name;
    std::vector<std::string> arguments;  // after the program
    std::optional<long long> screen;
    std::filesystem::path file;
  };
  const Row rows[] = {
      {"nothing", {}, std::nullopt, ""},
      {"the last screen switch wins", {"/s2", "-S5"}, 5, ""},
      {"a relative file", {"shows/news.lpl"}, std::nullopt, "shows/news.lpl"},
      {"an absolute file is no switch", {"/home/ana/news.lpl"}, std::nullopt, "/home/ana/news.lpl"},
      {"switch and file in any order", {"/home/ana/a.lpl", "-s3"}, 3, "/home/ana/a.lpl"},
      {"the first file opens", {"a.lpl", "b.lpl"}, std::nullopt, "a.lpl"},
      {"other switches are left alone", {"-reverse", "--style", "a.lpl"}, std::nullopt, "a.lpl"},
      {"after -- a switch is a file", {"--", "-s2", "/s3"}, std::nullopt, "-s2"},
      {"a file named like a screen switch", {"/s3", "--", "/s4"}, 3, "/s4"},
      {"an empty argument names nothing", {"", "a.lpl"}, std::nullopt, "a.lpl"},
      {"a name with blanks and no extension", {"My Shows/Monday"}, std::nullopt, "My Shows/Monday"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::string> arguments{"vantorel"};
    arguments.insert(arguments.end(), row.arguments.begin(), row.arguments.end());
    const StartArguments parsed = ParseStartArguments(arguments);
    EXPECT_EQ(parsed.screenNumber, row.screen);
    EXPECT_EQ(parsed.file, row.file);
  }
  // The program itself is neither.
  const StartArguments program = ParseStartArguments(std::vector<std::string>{"/s2"});
  EXPECT_EQ(program.screenNumber, std::nullopt);
  EXPECT_TRUE(program.file.empty());
}

TEST(StartUp, StartScreen) {
  struct Case {
    int screens;
    std::optional<long long> number;
    int index;
  };
  const Case cases[] = {
      {2, 3, 0}, {2, 0, 0}, {2, 1, 0}, {2, 2, 1}, {2, std::nullopt, 0}, {0, 1, 0}, {520, 520, 519}, {2, -4, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ChooseStartScreen(c.screens, c.number), c.index) << c.screens << "/" << c.number.value_or(-99);
}

TEST(AutoShutdown, ShutdownWordRules) {
  struct Case {
    const char* name;
    bool enabled;
    int start;
    std::vector<int> idleTimes;
    int powerOffs;
  };
  constexpr int k2259 = 22 * 256 + 59, k2300 = 23 * 256, k2301 = 23 * 256 + 1;
  const Case cases[] = {
      {"started at 22:59: off at 23:00", true, k2259, {k2259, k2259, k2300, k2300, k2300}, 1},
      {"started at 23:00: never", true, k2300, {k2300, k2301, k2300}, 0},
      {"started later: next 23:00", true, k2301, {k2301, k2300}, 1},
      {"disabled", false, k2259, {k2300}, 0},
  };
  for (const auto& c : cases) {
    int now = c.start;
    int powerOffs = 0;
    CAutoShutdown shutdown([&now] { return now; }, [&powerOffs] { ++powerOffs; });
    shutdown.Configure(c.enabled, k2300);
    EXPECT_EQ(shutdown.Word(), static_cast<std::uint32_t>(c.start) << 16 | k2300) << c.name;
    for (const int time : c.idleTimes) {
      now = time;
      shutdown.OnIdle();
    }
    EXPECT_EQ(powerOffs, c.powerOffs) << c.name;
  }
}

TEST(AutoShutdown, OptionsOkRearmsWithTheCurrentTime) {
  int now = 23 * 256;
  int powerOffs = 0;
  CAutoShutdown shutdown([&now] { return now; }, [&powerOffs] { ++powerOffs; });
  shutdown.Configure(true, 23 * 256);
  shutdown.OnIdle();
  now = 10 * 256;
  shutdown.Configure(true, 10 * 256 + 5);  // the user sets 10:05 at 10:00
  shutdown.OnIdle();
  EXPECT_EQ(shutdown.Word() >> 16, 0xFFFFu);
  now = 10 * 256 + 5;
  shutdown.OnIdle();
  EXPECT_EQ(powerOffs, 1);
}

TEST(AppFolders, ExitCleanUpOfTheTemporaryFolder) {
  TempFolder folder;
  const auto temp = folder / "tmpfile";
  std::filesystem::create_directories(temp / "~sub");
  for (const char* name : {"~a.bmp", "~b", "~c.d.e"}) ASSERT_TRUE(WriteFileAtomically(temp / name, "x"));
  CleanTemporaryFolder(temp);
  EXPECT_TRUE(std::filesystem::exists(temp / "~sub"));  // folders are not ours to delete
  EXPECT_FALSE(std::filesystem::exists(temp / "~a.bmp"));
  EXPECT_FALSE(std::filesystem::exists(temp / "~b"));

  std::filesystem::remove(temp / "~sub");
  ASSERT_TRUE(WriteFileAtomically(temp / "keep.txt", "x"));
  ASSERT_TRUE(WriteFileAtomically(temp / "~z", "x"));
  CleanTemporaryFolder(temp);
  EXPECT_TRUE(std::filesystem::exists(temp / "keep.txt"));  // the folder stays while it holds files
  EXPECT_FALSE(std::filesystem::exists(temp / "~z"));

  std::filesystem::remove(temp / "keep.txt");
  CleanTemporaryFolder(temp);
  EXPECT_FALSE(std::filesystem::exists(temp));
  CleanTemporaryFolder(temp);  // nothing there: nothing happens
}

TEST(AppLog, LinesAndRotation) {
  TempFolder folder;
  const auto file = folder / "Vantorel.log";
  CAppLog log(file, 200, [] { return std::string("2024-05-17 14:03:22"); });
  log.Write(LogKind::Start, "Vantorel 0.1.0");
  log.Write(LogKind::Error, "Fail loading DLL\n\n/opt/libledtool.so");
  std::string content;
  ASSERT_TRUE(ReadWholeFile(file, content));
  EXPECT_EQ(content,
            "2024-05-17 14:03:22 START Vantorel 0.1.0\n"
            "2024-05-17 14:03:22 ERROR Fail loading DLL  /opt/libledtool.so\n");

  for (int i = 0; i < 10; ++i) log.Write(LogKind::Send, "screen " + std::to_string(i));
  std::filesystem::path old = file;
  old += ".1";
  ASSERT_TRUE(std::filesystem::exists(old));
  EXPECT_LE(std::filesystem::file_size(file), 200u);
  EXPECT_LE(std::filesystem::file_size(old), 200u);
  ASSERT_TRUE(ReadWholeFile(file, content));
  EXPECT_TRUE(content.ends_with("SEND  screen 9\n")) << content;

  EXPECT_TRUE(std::regex_match(CAppLog::LocalTimeStamp(), std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
}

}  // namespace
}  // namespace vantorel

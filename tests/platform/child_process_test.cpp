#include "platform/child_process.h"

#include <gtest/gtest.h>

#include <thread>

namespace vantorel {
namespace {

using namespace std::chrono_literals;

std::filesystem::path Shell() { return FindProgram("sh"); }

ProgramResult RunShell(const std::string& script, ProgramRun run = {}) {
  run.arguments = {"-c", script};
  Expected<ProgramResult> result = RunProgram(Shell(), run);
  EXPECT_TRUE(result.ok()) << result.status().detail();
  return result ? *result : ProgramResult{};
}

TEST(ChildProcessTest, FindsProgramsOnThePathAndByTheirOwnPath) {
  EXPECT_FALSE(Shell().empty());
  EXPECT_TRUE(Shell().is_absolute());
  EXPECT_EQ(FindProgram("/bin/sh"), std::filesystem::path("/bin/sh"));
  EXPECT_TRUE(FindProgram("no-such-program-anywhere").empty());
  EXPECT_TRUE(FindProgram("/no/such/program").empty());
  EXPECT_TRUE(FindProgram("").empty());
}

TEST(ChildProcessTest, GivesOutputLinesExitCodeAndErrorTail) {
  struct Case {
    const char* script;
    std::vector<std::string> lines;
    int exitCode;
    const char* errorTail;
  };
  const Case cases[] = {
      {"echo one; echo two", {"one", "two"}, 0, ""},
      {"printf 'a\\nb'", {"a", "b"}, 0, ""},  // the last line without its end
      {"echo out; echo bad >&2; exit 3", {"out"}, 3, "bad\n"},
      {"printf ''", {}, 0, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines;
    ProgramRun run;
    run.onOutputLine = [&lines](std::string_view line) { lines.emplace_back(line); };
    const ProgramResult result = RunShell(c.script, run);
    EXPECT_EQ(lines, c.lines) << c.script;
    EXPECT_EQ(result.exitCode, c.exitCode) << c.script;
    EXPECT_EQ(result.errorTail, c.errorTail) << c.script;
    EXPECT_EQ(result.Succeeded(), c.exitCode == 0) << c.script;
  }
}

TEST(ChildProcessTest, KeepsOnlyTheEndOfALongErrorOutput) {
  const ProgramResult result = RunShell("i=0; while [ $i -lt 2000 ]; do echo \"line $i\" >&2; i=$((i+1)); done");
  EXPECT_EQ(result.errorTail.size(), kErrorTailBytes);
  EXPECT_NE(result.errorTail.find("line 1999\n"), std::string::npos);
}

TEST(ChildProcessTest, SetsEnvironmentAndWorkingFolder) {
  std::vector<std::string> lines;
  ProgramRun run;
  run.environment = {{"VANTOREL_CHILD_TEST", "yes"}};
  run.workingFolder = "/tmp";
  run.onOutputLine = [&lines](std::string_view line) { lines.emplace_back(line); };
  RunShell("echo $VANTOREL_CHILD_TEST; pwd", run);
  EXPECT_EQ(lines, (std::vector<std::string>{"yes", "/tmp"}));
}

TEST(ChildProcessTest, TimeLimitEndsTheProgramAndWhatItStarted) {
  ProgramRun run;
  run.timeLimit = 300ms;
  const auto start = std::chrono::steady_clock::now();
  // The background sleep keeps the output open: it must be ended too.
  const ProgramResult result = RunShell("sleep 30 & sleep 30", run);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
  EXPECT_TRUE(result.timedOut);
  EXPECT_FALSE(result.Succeeded());
}

TEST(ChildProcessTest, CancelFromAnotherThreadEndsTheProgram) {
  std::atomic<bool> cancel = false;
  ProgramRun run;
  run.cancel = &cancel;
  std::thread canceller([&cancel] {
    std::this_thread::sleep_for(200ms);
    cancel = true;
  });
  const auto start = std::chrono::steady_clock::now();
  const ProgramResult result = RunShell("sleep 30", run);
  canceller.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
  EXPECT_TRUE(result.cancelled);
  EXPECT_FALSE(result.timedOut);
  EXPECT_FALSE(result.Succeeded());
}

TEST(ChildProcessTest, AProgramThatCannotStartFailsWithItsPath) {
  const Expected<ProgramResult> result = RunProgram("/no/such/program", {});
  ASSERT_FALSE(result.ok());
  EXPECT_NE(result.status().detail().find("/no/such/program"), std::string::npos);
}

}  // namespace
}  // namespace vantorel

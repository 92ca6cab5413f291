// vantorel-cli controller against vantorel-sign: every operation over loopback TCP and over the
// sign's pseudo-terminal at 9600 and 115200 baud, a sign that does not answer, one that hangs up
// in the middle of an answer, one that is not there, the status of several signs at once, and signs
// protected with key text or key text and password.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/child_process.h"
#include "support/cli_runner.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "support/virtual_sign.h"

namespace vantorel {
namespace {

using test::RunResult;
using test::VirtualSign;

constexpr const char* kAdmin = " --admin-password 50731";

class ControllerCliTest : public test::CliTest {
protected:
  ~ControllerCliTest() override { unsetenv("VANTOREL_SERIAL_PORTS"); }

  void PointAtTcp(const VirtualSign& sign, int screen = 1) const {
    const RunResult edited = Run("screens edit " + std::to_string(screen) + " --comm network --ip 127.0.0.1 --ip-port " +
                                 sign.Port() + kAdmin);
    ASSERT_EQ(edited.exitCode, 0) << edited.err;
  }
  void PointAtSerial(const VirtualSign& sign, int baud) const {
    setenv("VANTOREL_SERIAL_PORTS", ("0=" + sign.Serial()).c_str(), 1);
    const RunResult edited = Run("screens edit 1 --comm rs232 --port 1 --baud " + std::to_string(baud) + kAdmin);
    ASSERT_EQ(edited.exitCode, 0) << edited.err;
  }
  void Expect(const std::string& command, const std::string& out, int exitCode = 0) const {
    SCOPED_TRACE(command);
    const RunResult result = Run(command);
    EXPECT_EQ(result.exitCode, exitCode) << result.err;
    EXPECT_EQ(result.out, out);
  }
  void ExpectStart(const std::string& command, const std::string& start) const {
    SCOPED_TRACE(command);
    const RunResult result = Run(command);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.starts_with(start)) << result.out;
  }
};

TEST_F(ControllerCliTest, EveryOperationOverTcpAndThePseudoTerminal) {
  struct Row {
    const char* name;
    int baud;  // 0: TCP
  };
  const Row rows[] = {{"tcp", 0}, {"serial 9600", 9600}, {"serial 115200", 115200}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    VirtualSign sign(Dir() / (std::string("sign-") + std::to_string(row.baud)));
    if (row.baud == 0) {
      PointAtTcp(sign);
    } else {
      PointAtSerial(sign, row.baud);
    }
    Expect("controller clock set --time \"2031-03-04 05:06:07\"", "Successful\n");
    ExpectStart("controller clock read", "Successful 2031-03-04 05:06:");
    Expect("controller version", "Successful \n\n1.2.0.0-1.0.0.0-1.5.0.0\n");
    ExpectStart("controller temperature read", "Successful 25.5C ( 77.");
    Expect("controller temperature adjust -- -3", "Successful\n");
    ExpectStart("controller temperature read", "Successful 22.5C ( ");
    {
      const RunResult read = Run("controller temperature read");
      EXPECT_NE(read.out.find(" ) [ -3C ]\n"), std::string::npos) << read.out;
    }
    Expect("controller power set 07:30 22:15", "Successful\n");
    Expect("controller power read", "Power on / Power off: enabled, on 07:30, off 22:15\nSuccessful\n");
    Expect("controller power set --disable", "Successful\n");
    ExpectStart("controller power read", "Power on / Power off: not enabled, on ");
    Expect("controller brightness set 1 2 3 4 5 auto", "Successful\n");
    Expect("controller brightness read",
           "0-4: 1 1 1 1  4-8: 2 2 2 2  8-12: 3 3 3 3  12-16: 4 4 4 4  16-20: 5 5 5 5  20-24: auto auto auto auto\n"
           "Successful\n");
    Expect("controller message \"Hello, sign\" --size 24 --colour green --bold --speed 80 --stay 5",
           "Send instant message to 1 screen(s), 1 successful, 0 failed.\nSuccessful\n");
    Expect("controller message \"" + std::string(300, 'x') + "\"",
           "Send instant message to 1 screen(s), 1 successful, 0 failed.\nSuccessful\n");
    Expect("controller fonts detect", "Successful Character set 1, ASCII font sizes 0x003F, extended font sizes 0x000F\n");
    Expect("controller fonts detect --store",
           "Successful Character set 1, ASCII font sizes 0x003F, extended font sizes 0x000F\nstored in screen 1\n");
    {
      const RunResult shown = Run("screens show 1");
      EXPECT_NE(shown.out.find("1 (ASCII sizes 63, extended sizes 15)"), std::string::npos) << shown.out;
    }
    Expect("controller restart", "Successful\n");
    {
      const RunResult status = Run("controller status --screen 1");
      EXPECT_EQ(status.exitCode, 0) << status.err;
      EXPECT_TRUE(status.out.starts_with("1 ")) << status.out;
      EXPECT_NE(status.out.find(": reachable, kind 0x62, version 1.2.0.0-1.0.0.0-1.5.0.0, clock "), std::string::npos)
          << status.out;
      EXPECT_NE(status.out.find(", power times off, free "), std::string::npos) << status.out;
    }
    // The messages the sign received, whole.
    EXPECT_TRUE(std::filesystem::exists(Dir() / (std::string("sign-") + std::to_string(row.baud)) / "messages" / "000002.msg"));
  }
}

TEST_F(ControllerCliTest, ValuesThatCannotBeSentAreRefusedBeforeTalking) {
  struct Row {
    const char* command;
    const char* error;
  };
  const Row rows[] = {
      {"controller temperature adjust 64", "temperature adjustment 64: -63 to 63 degrees"},
      {"controller power set 24:00 07:00", "'24:00' is not a time of the form hh:mm"},
      {"controller power set 07:00", "power set: give ON and OFF times, or --disable"},
      {"controller brightness set 1 2", "2 brightness values: give 1 (every hour), 6 (0-4, 4-8, ... 20-24) or 24"},
      {"controller message hi --size 20", "--size 20: 8, 12, 16, 24, 32, 40, 48 or 56"},
      {"controller message hi --colour purple", "--colour: 'purple' is not a colour name or #RRGGBB"},
      {"controller clock set --time \"2031-02-30 00:00:00\"", "is not a moment of the form"},
      {"controller --screen 5 version", "there is no screen 5 (the list holds 1 screen)"},
      {"controller --controller-password short clock read", "a controller password has exactly 8 characters"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.command);
    const RunResult result = Run(row.command);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(row.error), std::string::npos) << result.err;
  }
}

TEST_F(ControllerCliTest, SilentSignFailsWithinItsTimeoutAndAHangUpIsNoHang) {
  struct Row {
    const char* name;
    std::vector<std::string> faults;
    int baud;
  };
  const Row rows[] = {
      {"dropped over tcp", {"--drop", "1"}, 0},
      {"dropped over the serial line", {"--drop", "1"}, 115200},
      {"hung up in the middle of an answer", {"--disconnect-after", "10"}, 0},
      {"cut answer on the serial line", {"--disconnect-after", "10"}, 9600},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    VirtualSign sign(Dir() / "silent", row.faults);
    if (row.baud == 0) {
      PointAtTcp(sign);
    } else {
      PointAtSerial(sign, row.baud);
    }
    const auto start = std::chrono::steady_clock::now();
    const RunResult result = Run("controller --timeout 1000 clock read");
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "Failed\n");
    // The serial line waits at least 2 s (plus its baud rate's share), the network the time-out given.
    EXPECT_LT(elapsed, std::chrono::seconds(row.baud == 0 ? 4 : 6));
  }
}

TEST_F(ControllerCliTest, StatusOfEverySignAtOnceOneLineEach) {
  VirtualSign first(Dir() / "first");
  VirtualSign second(Dir() / "second", {"--kind", "0x30", "--firmware", "1.2-3.4-5.6"});
  for (int screen = 2; screen <= 3; ++screen) {
    const RunResult added = Run("screens add --id " + std::to_string(screen) + kAdmin);
    ASSERT_EQ(added.exitCode, 0) << added.err;
  }
  PointAtTcp(first, 1);
  PointAtTcp(second, 2);
  const std::string deadPort = [&] {
    test::TempFolder scratch;
    VirtualSign gone(scratch / "gone");
    return gone.Port();
  }();
  const RunResult edited = Run("screens edit 3 --comm network --ip 127.0.0.1 --ip-port " + deadPort + kAdmin);
  ASSERT_EQ(edited.exitCode, 0) << edited.err;

  const RunResult status = Run("controller status --timeout 1000");
  EXPECT_EQ(status.exitCode, 2) << status.err;
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < status.out.size();) {
    const std::size_t end = status.out.find('\n', start);
    lines.push_back(status.out.substr(start, end - start));
    start = end + 1;
  }
  ASSERT_EQ(lines.size(), 3u) << status.out;
  EXPECT_NE(lines[0].find(": reachable, kind 0x62, version 1.2.0.0-1.0.0.0-1.5.0.0, clock "), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find(": reachable, kind 0x30, version 1.2-3.4-5.6, clock "), std::string::npos) << lines[1];
  EXPECT_TRUE(lines[2].starts_with("3 ")) << lines[2];
  EXPECT_NE(lines[2].find(": Failed to connect 127.0.0.1 : " + deadPort), std::string::npos) << lines[2];

  const RunResult one = Run("controller --screen 2 status");
  EXPECT_EQ(one.exitCode, 0) << one.err;
  EXPECT_TRUE(one.out.starts_with("2 ")) << one.out;
  EXPECT_EQ(std::count(one.out.begin(), one.out.end(), '\n'), 1);
}

TEST_F(ControllerCliTest, ProtectedSignAnswersOnlyTheRightPassword) {
  struct Row {
    const char* name;
    std::vector<std::string> protection;  // options of vantorel-sign
    const char* password;                 // --controller-password, "" for none
    bool answers;
    const char* modeAfter;                // the sign's protection mode once the commands ran
  };
  const std::vector<std::string> key = {"--key", "Kx9#q"};
  const auto with = [&](std::vector<std::string> options) {
    options.insert(options.end(), key.begin(), key.end());
    return options;
  };
  const Row rows[] = {
      {"unprotected", with({"--protect-mode", "1"}), "", true, "1"},
      {"switched on at open and off at close", with({"--protect-mode", "1", "--protect-options", "3"}), "", true, "1"},
      {"switched on at open and left on", with({"--protect-mode", "1", "--protect-options", "2"}), "", true, "2"},
      {"key text", with({"--protect-mode", "2"}), "", true, "2"},
      {"key text, a password given anyway", with({"--protect-mode", "2", "--password", "pass5678"}), "wrong567", true, "2"},
      {"key text and password", with({"--protect-mode", "32770", "--password", "pass5678"}), "pass5678", true, "32770"},
      {"key text and a wrong password", with({"--protect-mode", "32770", "--password", "pass5678"}), "wrong567", false,
       "32770"},
      {"key text and no password", with({"--protect-mode", "32770", "--password", "pass5678"}), "", false, "32770"},
  };
  const char* const commands[] = {"clock set --time \"2031-03-04 05:06:07\"", "clock read", "brightness read"};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::filesystem::path store = Dir() / "protected";
    std::filesystem::remove_all(store);
    {
      VirtualSign sign(store, row.protection);
      // Screens of the models Korvan-M1 to M5 are not probed: another model learns the protection.
      const RunResult edited = Run("screens edit 1 --model Korvan-N5A --comm network --ip 127.0.0.1 --ip-port " +
                                   sign.Port() + kAdmin);
      ASSERT_EQ(edited.exitCode, 0) << edited.err;
      const std::string password = *row.password != '\0' ? std::string(" --controller-password ") + row.password : "";
      for (const char* command : commands) {
        SCOPED_TRACE(command);
        const RunResult result = Run("controller --timeout 1000" + password + " " + command);
        if (row.answers) {
          EXPECT_EQ(result.exitCode, 0) << result.err;
          EXPECT_NE(result.out.find("Successful"), std::string::npos) << result.out;
        } else {
          EXPECT_EQ(result.exitCode, 1);
          EXPECT_EQ(result.out, "Failed\n");
          EXPECT_NE(result.err.find("protected with key text and password and did not answer: check the controller "
                                    "password. "),
                    std::string::npos)
              << result.err;
        }
      }
    }
    EXPECT_NE(test::ReadText(store / "state.txt").find(std::string("\nprotection-mode=") + row.modeAfter + "\n"),
              std::string::npos);
  }
}

}  // namespace
}  // namespace vantorel

// vantorel-sign as a process: what it prints for a test to find it, one log line per request,
// a clean stop on SIGTERM with its state saved, and the command lines it refuses.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <fstream>
#include <sstream>

#include "platform/child_process.h"
#include "sign_test_support.h"
#include "support/temp_folder.h"

extern char** environ;

namespace vantorel {
namespace {

using test::Bytes;

const std::filesystem::path kSignProgram = std::filesystem::path(VANTOREL_BIN_DIR) / "vantorel-sign";

// vantorel-sign started with `arguments`; its standard output read line by line.
class SignProcess {
public:
  explicit SignProcess(const std::vector<std::string>& arguments) {
    int out[2];
    EXPECT_EQ(::pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> all{kSignProgram.string()};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all) argv.push_back(argument.data());
    argv.push_back(nullptr);
    EXPECT_EQ(::posix_spawn(&m_pid, kSignProgram.c_str(), &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    m_out = out[0];
  }
  ~SignProcess() {
    if (m_pid > 0) {
      ::kill(m_pid, SIGKILL);
      ::waitpid(m_pid, nullptr, 0);
    }
    ::close(m_out);
  }
  // The next line of its output ("" when none came within 5 seconds).
  std::string Line() {
    std::string line;
    char c = 0;
    while (true) {
      pollfd wait{m_out, POLLIN, 0};
      if (::poll(&wait, 1, 5000) <= 0 || ::read(m_out, &c, 1) != 1) return line;
      if (c == '\n') return line;
      line += c;
    }
  }
  // Sends `signal` and gives the exit status (-1 when it did not end within 5 seconds).
  int StopWith(int signal) {
    ::kill(m_pid, signal);
    for (int i = 0; i < 500; ++i) {
      int status = 0;
      if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      ::usleep(10'000);
    }
    return -1;
  }

private:
  pid_t m_pid = -1;
  int m_out = -1;
};

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SignProgram, PrintsWhereItListensLogsEachRequestAndSavesOnStop) {
  for (const int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    test::TempFolder temp;
    const auto log = temp / "requests.log";
    SignProcess sign({"--tcp", "127.0.0.1:0", "--serial", "--store", (temp / "store").string(), "--log", log.string(),
                      "--id", "3"});
    const std::string tcp = sign.Line();
    ASSERT_TRUE(tcp.starts_with("tcp: 127.0.0.1:")) << tcp;
    const std::string serial = sign.Line();
    ASSERT_TRUE(serial.starts_with("serial: /dev/pts/")) << serial;
    EXPECT_EQ(sign.Line(), "store: " + (temp / "store").string());
    const auto port = static_cast<std::uint16_t>(std::stoi(tcp.substr(tcp.rfind(':') + 1)));

    const auto link = test::SignLink::Tcp(port);
    const std::array<std::uint8_t, 24> brightness{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,
                                                  13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    const auto ctx = link->Context();
    EXPECT_EQ(KVLINK_ParseWriteBrightnessRet(
                  *ctx, link->Ask(*ctx, [&](auto& c, auto o) { return KVLINK_MakeWriteBrightnessData(c, o, brightness); })),
              0);
    const auto lineLink = test::SignLink::Serial(serial.substr(8), 3);
    const auto serialCtx = lineLink->Context();
    std::array<std::uint8_t, 7> clock{};
    EXPECT_EQ(KVLINK_ParseReadClockRet(*serialCtx, lineLink->Ask(*serialCtx, KVLINK_MakeReadClockData), clock), 7);
    const Bytes garbage{0x68, 0x01, 0x02, 0x03, 0x04, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(link->Send(garbage));
    EXPECT_TRUE(link->Receive(300).empty());

    EXPECT_EQ(sign.StopWith(signal), 0);
    EXPECT_NE(ReadText(temp / "store" / "state.txt").find("brightness=1,2,3,4,5,6,7,8,9,10,"), std::string::npos);
    const std::string text = ReadText(log);
    struct Row { const char* name; const char* fragment; };
    const Row rows[] = {
        {"start", "sign started: tcp 127.0.0.1:"},
        {"tcp request", " WriteBrightness 68 FF 0D 00 1F 00 00 "},
        {"its result", " answered\n"},
        {"serial request", "serial /dev/pts/"},
        {"serial operation", " ReadClock 68 03 04 "},
        {"refused request", " refused: "},
        {"stop", "sign stopped\n"},
    };
    for (const Row& row : rows) {
      SCOPED_TRACE(row.name);
      EXPECT_NE(text.find(row.fragment), std::string::npos) << text;
    }
  }
}

TEST(SignProgram, RefusesCommandLinesWithoutAnExplicitPlaceToListen) {
  struct Row {
    const char* name;
    std::vector<std::string> arguments;
    int exitCode;
    const char* message;
  };
  const Row rows[] = {
      {"nothing", {}, 2, "Give --tcp ADDRESS:PORT, --serial or both."},
      {"any address", {"--tcp", "0.0.0.0:5200"}, 2, "explicit address"},
      {"a name", {"--tcp", "localhost:5200"}, 2, "explicit address"},
      {"an unknown option", {"--serial", "--verbose"}, 2, "Unknown option of vantorel-sign: --verbose"},
      {"an address not on this machine", {"--tcp", "127.0.0.1:1", "--tcp", "192.0.2.1:5200", "--store", "."}, 1, "192.0.2.1:5200"},
      {"help", {"--help"}, 0, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::TempFolder temp;
    ProgramRun run;
    run.arguments = row.arguments;
    for (std::string& argument : run.arguments) {
      if (argument == ".") argument = temp.Path().string();
    }
    run.timeLimit = std::chrono::seconds(10);
    std::string out;
    run.onOutputLine = [&](std::string_view line) { out += std::string(line) + "\n"; };
    const Expected<ProgramResult> result = RunProgram(kSignProgram, run);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result->exitCode, row.exitCode) << result->errorTail;
    EXPECT_NE(result->errorTail.find(row.message), std::string::npos) << result->errorTail;
    if (row.exitCode == 0) {
      EXPECT_NE(out.find("--disconnect-after BYTES"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace vantorel

#pragma once
// Runs vantorel-cli as a user would: a separate process over a throw-away data folder of its own,
// with what it prints captured.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/atomic_file.h"

namespace vantorel::testing {

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

class CliTest : public ::testing::Test {
protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_dir = std::filesystem::temp_directory_path() /
            ("vantorel-cli-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir / "data");
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  // `arguments` is shell text: quote paths with Quote().
  RunResult Run(const std::string& arguments) const {
    const auto errFile = m_dir / "stderr.txt";
    const std::string command = "VANTOREL_DATA_DIR=" + Quote(DataFolder()) + " " + Quote(VANTOREL_BIN_DIR "/vantorel-cli") +
                                " " + arguments + " 2>" + Quote(errFile) + " </dev/null";
    RunResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, got);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    static_cast<void>(ReadWholeFile(errFile, result.err));
    return result;
  }

  static std::string Quote(const std::filesystem::path& path) { return "'" + path.string() + "'"; }
  std::filesystem::path DataFolder() const { return m_dir / "data"; }
  const std::filesystem::path& Dir() const { return m_dir; }

private:
  std::filesystem::path m_dir;
};

}  // namespace vantorel::testing

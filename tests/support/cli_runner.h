#pragma once
// Runs vantorel-cli as a user would: a separate process over a throw-away data folder of its own
// (VANTOREL_DATA_DIR) and per-user settings of its own (XDG_CONFIG_HOME: the password blocks), with
// standard input empty and its standard output, standard error and exit code captured.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace vantorel::test {

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// `arguments` is shell text: quote paths with QuoteForShell().
RunResult RunCli(const std::filesystem::path& dataFolder, const std::filesystem::path& configFolder,
                 const std::string& arguments);
std::string QuoteForShell(const std::filesystem::path& path);

// A fixture whose data folder starts empty for every test.
class CliTest : public ::testing::Test {
protected:
  CliTest() { std::filesystem::create_directories(DataFolder()); }

  RunResult Run(const std::string& arguments) const { return RunCli(DataFolder(), ConfigFolder(), arguments); }
  static std::string Quote(const std::filesystem::path& path) { return QuoteForShell(path); }
  std::filesystem::path DataFolder() const { return m_folder / "data"; }
  // Where the per-user settings of the runs live (QSettings' native format below it).
  std::filesystem::path ConfigFolder() const { return m_folder / "config"; }
  const std::filesystem::path& Dir() const { return m_folder.Path(); }

private:
  TempFolder m_folder;
};

}  // namespace vantorel::test

#include "support/cli_runner.h"

#include <sys/wait.h>

#include <cstdio>

#include "platform/atomic_file.h"

namespace vantorel::test {

std::string QuoteForShell(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

RunResult RunCli(const std::filesystem::path& dataFolder, const std::filesystem::path& configFolder,
                 const std::string& arguments) {
  const TempFolder capture;
  const auto errFile = capture / "stderr.txt";
  const std::string command = "VANTOREL_DATA_DIR=" + QuoteForShell(dataFolder) +
                              " XDG_CONFIG_HOME=" + QuoteForShell(configFolder) + " " +
                              QuoteForShell(VANTOREL_BIN_DIR "/vantorel-cli") + " " + arguments + " 2>" +
                              QuoteForShell(errFile) + " </dev/null";
  RunResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) {
    ADD_FAILURE() << "cannot start: " << command;
    return result;
  }
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, got);
  const int status = ::pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  static_cast<void>(ReadWholeFile(errFile, result.err));  // no file: nothing was printed
  return result;
}

}  // namespace vantorel::test

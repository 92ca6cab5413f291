#pragma once
// Commands of vantorel-cli. Each command group lives in its own *_command.cpp and registers
// itself with a static `CliCommandGroup`; main() builds the command tree from the registry.

#include <CLI/CLI.hpp>

#include <functional>
#include <stdexcept>
#include <string>

#include "app/app_folders.h"

namespace vantorel::cli {

// What every command works on: the folders of this run (honouring VANTOREL_DATA_DIR).
struct CliContext {
  CAppFolders folders;
};

// Thrown by a command to end the run with `exitCode` after printing `what()` to standard error.
class CliError : public std::runtime_error {
public:
  explicit CliError(const std::string& message, int exitCode = 1)
      : std::runtime_error(message), m_exitCode(exitCode) {}
  int ExitCode() const { return m_exitCode; }

private:
  int m_exitCode;
};

// Adds the commands of a group to `group`. Callbacks run after parsing; they throw CliError on
// failure.
using GroupSetup = std::function<void(CLI::App& group, CliContext& context)>;

// A command group ("screens", "playbill" ...), registered by a static object of its *_command.cpp.
// The group is a subcommand of the program that needs one of its commands.
struct CliCommandGroup {
  // `order` sorts the groups in --help.
  CliCommandGroup(int order, std::string name, std::string description, GroupSetup setup);
};

void SetUpAllCommands(CLI::App& app, CliContext& context);

}  // namespace vantorel::cli

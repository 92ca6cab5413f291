#pragma once
// Commands of vantorel-cli. Each command group lives in its own *_command.cpp and registers
// itself with a static `CliCommandRegistrar`; main() builds the command tree from the registry.

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

// Adds a command group to `app`. Callbacks run after parsing; they throw CliError on failure.
using CommandSetup = std::function<void(CLI::App& app, CliContext& context)>;

struct CliCommandRegistrar {
  // `order` sorts the groups in --help.
  CliCommandRegistrar(int order, CommandSetup setup);
};

void SetUpAllCommands(CLI::App& app, CliContext& context);

}  // namespace vantorel::cli

// vantorel-cli: the Vantorel engine without a window. Every command works on the data folder of
// this machine ($VANTOREL_DATA_DIR when set).

#include <iostream>

#include "cli_command.h"

int main(int argc, char** argv) {
  using namespace vantorel;
  CLI::App app{"Vantorel: define LED screens, edit playbills and send them to LED signs.", "vantorel-cli"};
  app.require_subcommand(1);
  app.set_help_all_flag("--help-all", "Show the help of every command");

  cli::CliContext context{CAppFolders::FromEnvironment()};
  cli::SetUpAllCommands(app, context);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error);
  } catch (const cli::CliError& error) {
    std::cerr << error.what() << '\n';
    return error.ExitCode();
  } catch (const std::exception& error) {
    std::cerr << "vantorel-cli: " << error.what() << '\n';
    return 1;
  }
  return 0;
}

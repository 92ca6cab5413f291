#include "cli_command.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace vantorel::cli {
namespace {

std::vector<std::pair<int, CommandSetup>>& Registry() {
  static std::vector<std::pair<int, CommandSetup>> registry;
  return registry;
}

}  // namespace

CliCommandRegistrar::CliCommandRegistrar(int order, CommandSetup setup) {
  Registry().emplace_back(order, std::move(setup));
}

void SetUpAllCommands(CLI::App& app, CliContext& context) {
  auto& registry = Registry();
  std::stable_sort(registry.begin(), registry.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [order, setup] : registry) setup(app, context);
}

}  // namespace vantorel::cli

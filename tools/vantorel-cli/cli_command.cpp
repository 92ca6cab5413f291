#include "cli_command.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace vantorel::cli {
namespace {

struct GroupEntry {
  int order;
  std::string name;
  std::string description;
  GroupSetup setup;
};

std::vector<GroupEntry>& Registry() {
  static std::vector<GroupEntry> registry;
  return registry;
}

}  // namespace

CliCommandGroup::CliCommandGroup(int order, std::string name, std::string description, GroupSetup setup) {
  Registry().push_back({order, std::move(name), std::move(description), std::move(setup)});
}

void SetUpAllCommands(CLI::App& app, CliContext& context) {
  auto& registry = Registry();
  std::stable_sort(registry.begin(), registry.end(),
                   [](const GroupEntry& a, const GroupEntry& b) { return a.order < b.order; });
  for (GroupEntry& entry : registry) {
    CLI::App* group = app.add_subcommand(entry.name, entry.description);
    group->require_subcommand(1);
    entry.setup(*group, context);
  }
}

}  // namespace vantorel::cli

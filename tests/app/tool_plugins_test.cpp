#include "app/tool_plugins.h"

#include <gtest/gtest.h>

#include "app/status_text.h"
#include "app/text_table.h"
#include "platform/atomic_file.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using test::TempFolder;

// Each folder holds the plug-ins of one situation, built by this folder's CMakeLists.txt.
std::filesystem::path Situation(const char* name) { return std::filesystem::path(TEST_PLUGIN_DIR) / name; }

std::vector<std::string> Names(const ToolMenu& menu) {
  std::vector<std::string> names;
  for (const auto& entry : menu.entries) names.push_back(entry.name);
  return names;
}

TEST(ToolMenu, NoPluginsNoMenu) {
  TempFolder empty;
  const ToolMenu menu = CToolPlugins(empty.Path()).BuildMenu(1033, true);
  EXPECT_TRUE(menu.entries.empty());
  EXPECT_FALSE(menu.showSubmenu);
  EXPECT_FALSE(menu.passwordEntry);
  EXPECT_FALSE(menu.findDevice);
  EXPECT_TRUE(menu.problems.empty());
}

TEST(ToolMenu, SixteenEntriesAtMost) {
  // libledtoolex.so offers 20 tools, libledtool.so 2 more: only the first 16 appear.
  const ToolMenu menu = CToolPlugins(Situation("full")).BuildMenu(1033, false);
  ASSERT_EQ(menu.entries.size(), 16u);
  EXPECT_EQ(menu.extendedCount, 16);
  EXPECT_EQ(menu.entries.front().command, 32899);
  EXPECT_EQ(menu.entries.back().command, 32914);
  EXPECT_EQ(menu.entries.back().name, "Extended 15");
  EXPECT_TRUE(menu.showSubmenu);
  EXPECT_FALSE(menu.passwordEntry);
  EXPECT_TRUE(menu.findDevice);
}

TEST(ToolMenu, ExtendedToolsFirstThenTools) {
  const ToolMenu menu = CToolPlugins(Situation("pair")).BuildMenu(1031, true);
  EXPECT_EQ(Names(menu), (std::vector<std::string>{"Extended 0 (de)", "Extended 1 (de)", "Extended 2 (de)",
                                                   "Basic 0 (de)", "Basic 1 (de)"}));
  EXPECT_EQ(menu.extendedCount, 3);
  EXPECT_EQ(menu.entries[3].command, 32902);
  EXPECT_EQ(menu.entries[3].type, 100);
  EXPECT_FALSE(menu.entries[3].extended);
  EXPECT_TRUE(menu.showSubmenu);
  EXPECT_TRUE(menu.passwordEntry);  // the option is on
  EXPECT_FALSE(menu.findDevice);    // this libledtool.so cannot search
}

TEST(ToolMenu, ExtendedToolsAloneShowNoSubmenu) {
  const ToolMenu menu = CToolPlugins(Situation("extended-only")).BuildMenu(1033, true);
  EXPECT_EQ(menu.entries.size(), 3u);
  EXPECT_FALSE(menu.showSubmenu);
  EXPECT_FALSE(menu.passwordEntry);
}

TEST(ToolMenu, FirstGenerationToolWithoutNames) {
  const ToolMenu menu = CToolPlugins(Situation("legacy")).BuildMenu(1033, false);
  ASSERT_EQ(menu.entries.size(), 1u);
  EXPECT_EQ(menu.entries[0].name, "Kelvarn2000");
  EXPECT_EQ(menu.entries[0].type, 16);
  EXPECT_TRUE(menu.showSubmenu);
  EXPECT_TRUE(menu.findDevice);
}

TEST(ToolMenu, RunningATellsItEverything) {
  TempFolder data;
  const CToolPlugins plugins(Situation("pair"));
  const ToolMenu menu = plugins.BuildMenu(1031, false);
  const ToolRunContext context{1031, data.Path().string(), "50731", "61427", nullptr};
  Expected<int> run = plugins.Run(menu, 32903, context);
  ASSERT_TRUE(run.ok());
  EXPECT_EQ(*run, 1);
  run = plugins.Run(menu, 32899, context);
  EXPECT_TRUE(run.ok());
  EXPECT_FALSE(plugins.Run(menu, 32904, context).ok());  // no such entry
  std::string calls;
  ASSERT_TRUE(ReadWholeFile(data / "tool-calls.txt", calls));
  EXPECT_EQ(calls,
            "modal lang=1031 type=101 name=Basic 1 (de) admin=50731 advanced=61427\n"
            "modal lang=1031 type=100 name=Extended 0 (de) admin=50731 advanced=61427\n");
}

TEST(ToolMenu, FindDevice) {
  TempFolder data;
  const CToolPlugins plugins(Situation("legacy"));
  const ToolRunContext context{1033, data.Path().string(), "a", "b", nullptr};
  EXPECT_EQ(plugins.FindDevice(context, false).value(), 0);
  EXPECT_EQ(plugins.FindDevice(context, true).value(), 3);
  std::string calls;
  ASSERT_TRUE(ReadWholeFile(data / "tool-calls.txt", calls));
  EXPECT_EQ(calls, "search lang=1033 type=-1 name= admin=a advanced=b\nsearch-ex lang=1033 type=-1 name= admin=a advanced=b\n");
}

TEST(ToolMenu, UnusablePluginsAreReportedWithTheirPath) {
  // Names but nothing to run: 389 when the entry is chosen.
  const CToolPlugins namesOnly(Situation("names-only"));
  const ToolMenu menu = namesOnly.BuildMenu(1033, false);
  ASSERT_EQ(menu.entries.size(), 2u);
  EXPECT_TRUE(menu.problems.empty());
  const Expected<int> run = namesOnly.Run(menu, 32899, {});
  ASSERT_FALSE(run.ok());
  EXPECT_EQ(StatusMessage(run.status()), "Fail getting DLL function entry: " + namesOnly.Library().string());
  EXPECT_EQ(run.status().title(), kTextError);
  EXPECT_EQ(namesOnly.FindDevice({}, false).status(), run.status());

  // A file that is no library: 388.
  TempFolder broken;
  ASSERT_TRUE(WriteFileAtomically(broken / "libledtool.so", "not a library"));
  ASSERT_TRUE(WriteFileAtomically(broken / "libledtoolex.so", "not a library"));
  const CToolPlugins plugins(broken.Path());
  const ToolMenu brokenMenu = plugins.BuildMenu(1033, true);
  EXPECT_TRUE(brokenMenu.entries.empty());
  EXPECT_FALSE(brokenMenu.showSubmenu);
  const auto loadFailure = [](const std::filesystem::path& library) {
    return Status::Failure(kTextPluginLoadFailed, library.string()).WithTitle(kTextError);
  };
  EXPECT_EQ(brokenMenu.problems,
            (std::vector<Status>{loadFailure(plugins.ExtendedLibrary()), loadFailure(plugins.Library())}));
  EXPECT_EQ(StatusMessage(plugins.FindDevice({}, false).status()),
            "Fail loading DLL: " + plugins.Library().string());
}

}  // namespace
}  // namespace vantorel

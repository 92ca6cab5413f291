#include "app/app_folders.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "support/temp_folder.h"

namespace vantorel {
namespace {

TEST(AppFolders, OverrideAndDerivedPaths) {
  const test::TempFolder folder;
  const auto data = folder / "d";
  ::setenv("VANTOREL_DATA_DIR", data.c_str(), 1);
  const auto folders = CAppFolders::FromEnvironment();
  EXPECT_EQ(folders.DataFolder(), data);
  EXPECT_TRUE(std::filesystem::is_directory(data));
  EXPECT_EQ(folders.ScreenFile(), data / "screen.cfg");
  EXPECT_EQ(folders.OutputFolder(), data / "work" / "a32sd");
  EXPECT_EQ(folders.TempFolder(), data / "work" / "tmpfile");
  EXPECT_EQ(folders.SettingsFile(), data / "Vantorel.ini");
  EXPECT_EQ(folders.BrandingFile().filename(), "Vantorel.cfg");
  EXPECT_EQ(folders.LanguageFolder().filename(), "language");
}

TEST(AppFolders, UnmakeableDataFolderFallsBackToProgramFolder) {
  ::setenv("VANTOREL_DATA_DIR", "/proc/vantorel-cannot-exist/data", 1);
  const auto folders = CAppFolders::FromEnvironment();
  EXPECT_EQ(folders.DataFolder(), folders.ProgramFolder());
  ::unsetenv("VANTOREL_DATA_DIR");
}

}  // namespace
}  // namespace vantorel

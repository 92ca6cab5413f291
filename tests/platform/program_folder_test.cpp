#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace vantorel {
namespace {

TEST(ProgramFolder, ShippedDataBesideTheBuildTreesProgramsOrInTheInstalledShareFolder) {
  struct Row {
    const char* name;
    std::vector<const char*> folders;  // made below the test folder
    std::vector<const char*> files;
    const char* executables;
    const char* programFolder;
  };
  const Row rows[] = {
      {"build tree", {"build/bin/language"}, {}, "build/bin", "build/bin"},
      {"installed tree", {"usr/bin", "usr/share/vantorel/language"}, {}, "usr/bin", "usr/share/vantorel"},
      {"staging folder of a package", {"stage/usr/bin", "stage/usr/share/vantorel"}, {}, "stage/usr/bin",
       "stage/usr/share/vantorel"},
      {"a share folder without ours", {"opt/bin", "opt/share/other"}, {}, "opt/bin", "opt/bin"},
      {"a file where our folder would be", {"x/bin", "x/share"}, {"x/share/vantorel"}, "x/bin", "x/bin"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const test::TempFolder root;
    for (const char* folder : row.folders) std::filesystem::create_directories(root / folder);
    for (const char* file : row.files) root.Write(file, "");
    EXPECT_EQ(ProgramFolderFor(root / row.executables), root / row.programFolder);
  }
}

TEST(ProgramFolder, TheTestsRunFromTheBuildTree) {
  EXPECT_EQ(ExecutableFolder(), std::filesystem::path(VANTOREL_BIN_DIR));
  EXPECT_EQ(ProgramFolder(), ExecutableFolder());
}

}  // namespace
}  // namespace vantorel

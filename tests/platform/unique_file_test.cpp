#include "platform/unique_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <set>

#include "support/temp_folder.h"

namespace vantorel {
namespace {

TEST(UniqueFileTest, NamesAreNewEachTimeAndKeepPrefixAndSuffix) {
  test::TempFolder folder;
  std::set<std::filesystem::path> names;
  for (int i = 0; i < 50; ++i) {
    const Expected<std::filesystem::path> file = CreateUniqueFile(folder.Path(), ".~clip$1.mp4.", ".part");
    ASSERT_TRUE(file) << file.status().detail();
    EXPECT_TRUE(std::filesystem::is_regular_file(*file));
    const std::string name = file->filename().string();
    EXPECT_EQ(name.rfind(".~clip$1.mp4.", 0), 0u) << name;
    EXPECT_EQ(name.substr(name.size() - 5), ".part") << name;
    names.insert(*file);
  }
  EXPECT_EQ(names.size(), 50u);
  EXPECT_FALSE(CreateUniqueFile(folder / "absent", "a", ".b"));
}

TEST(UniqueFileTest, RenameNeverReplacesAFile) {
  test::TempFolder folder;
  const auto from = folder.Write("new.part", "new");
  const auto taken = folder.Write("clip$1.mp4", "old");
  const Status refused = RenameWithoutReplacing(from, taken);
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.detail().find(std::strerror(EEXIST)), std::string::npos) << refused.detail();
  EXPECT_EQ(folder.Read("clip$1.mp4"), "old");
  EXPECT_EQ(folder.Read("new.part"), "new");
  ASSERT_TRUE(RenameWithoutReplacing(from, folder / "clip$2.mp4"));
  EXPECT_EQ(folder.Read("clip$2.mp4"), "new");
  EXPECT_FALSE(std::filesystem::exists(from));
}

}  // namespace
}  // namespace vantorel

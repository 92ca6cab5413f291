// "playbill export" never replaces a file behind the user's back: an existing target, named as
// typed or with ".lpl" added, is refused unless --replace is given.

#include <gtest/gtest.h>

#include "platform/atomic_file.h"
#include "support/cli_runner.h"

namespace vantorel {
namespace {

class ExportCliTest : public test::CliTest {};

TEST_F(ExportCliTest, ExistingTargetNeedsReplace) {
  struct Case {
    const char* name;
    const char* typed;     // FILE as given
    const char* existing;  // the file that is there already; "" none
    bool replace;
    bool exported;
  };
  const Case cases[] = {
      {"new file", "fresh", "", false, true},
      {"same name as typed", "show.lpl", "show.lpl", false, false},
      {"name with the extension added", "show", "show.lpl", false, false},
      {"replace given", "show", "show.lpl", true, true},
      {"other extension is not the added one", "show", "show.txt", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(Dir() / "out");
    std::filesystem::create_directories(Dir() / "out");
    if (*c.existing) {
      ASSERT_TRUE(WriteFileAtomically(Dir() / "out" / c.existing, "old"));
    }
    const std::filesystem::path target = Dir() / "out" / (std::string(c.typed).find('.') == std::string::npos
                                                               ? std::string(c.typed) + ".lpl"
                                                               : std::string(c.typed));
    const auto result = Run("playbill export " + Quote(Dir() / "out" / c.typed) + (c.replace ? " --replace" : ""));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(target, bytes));
    if (c.exported) {
      EXPECT_EQ(result.exitCode, 0) << result.err;
      EXPECT_NE(bytes, "old");
      EXPECT_GT(bytes.size(), 512u);  // a playbill of whole records
    } else {
      EXPECT_EQ(result.exitCode, 1);
      EXPECT_EQ(result.err, target.string() + " already exists: give --replace to replace it\n");
      EXPECT_EQ(bytes, "old");
      EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(target).replace_extension(".rsh")));
    }
  }
}

}  // namespace
}  // namespace vantorel

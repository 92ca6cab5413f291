// A damaged screen list is never lost: a file that gives no screen is kept aside before the
// default screen replaces it, and a file that gives only some of its screens is kept aside before
// the list is next written.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "app/text_ids.h"
#include "platform/atomic_file.h"
#include "screen/screen_data.h"
#include "screen/screen_text_format.h"

namespace vantorel {
namespace {

namespace fs = std::filesystem;

// Thirty screens as the program writes them, named so that a damaged copy can be recognised.
std::string ThirtyScreens() {
  CScreenData list;
  for (int i = 0; i < 30; ++i) {
    tagScreenInfo screen;
    screen.type = 6;
    screen.number = static_cast<std::uint8_t>(i + 1);
    screen.scrName = "shop " + std::to_string(i + 1);
    screen.width = 96;
    screen.height = 96;
    screen.model = 0x4B05;
    screen.color = 0x77;
    EXPECT_TRUE(list.Append(screen, tagCommInfo()));
  }
  return WriteScreenText(list);
}

std::string Utf16Le(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (const char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

class ScreenFileDamageTest : public ::testing::Test {
protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_dir = fs::temp_directory_path() / ("vantorel-damage-" + std::to_string(::getpid()) + "-" + info->name());
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  fs::path File() const { return m_dir / "screen.cfg"; }
  static std::string Read(const fs::path& path) {
    std::string content;
    EXPECT_TRUE(ReadWholeFile(path, content));
    return content;
  }
  // The kept copies beside the file, named "screen.cfg.damaged-YYYYMMDD-HHMMSS".
  std::vector<fs::path> Kept() const {
    static const std::regex kName(R"(screen\.cfg\.damaged-\d{8}-\d{6}(-\d+)?)");
    std::vector<fs::path> kept;
    for (const auto& entry : fs::directory_iterator(m_dir)) {
      if (std::regex_match(entry.path().filename().string(), kName)) kept.push_back(entry.path());
    }
    return kept;
  }

  fs::path m_dir;
};

struct NoScreenCase {
  const char* name;
  std::function<std::string()> content;
  const char* reason;  // part of the notice's detail
};

TEST_F(ScreenFileDamageTest, FileWithoutAnyScreenIsKeptBeforeTheDefaultIsWritten) {
  const std::string thirty = ThirtyScreens();
  const NoScreenCase cases[] = {
      {"UTF-16 encoded", [&] { return Utf16Le(thirty); }, "UTF-16"},
      {"truncated inside the first block", [&] { return thirty.substr(0, 60); }, "not closed"},
      {"garbage", [] { return std::string("\x01\x02\x7F garbage \xC3 line\r\n[SCREN]\r\n", 29); }, "outside a screen block"},
      {"empty file", [] { return std::string(); }, "empty"},
      {"every block without a class", [] { return std::string("[SCREEN]\r\nTYPE=5\r\n[/SCREEN]\r\n"); }, "TYPE 5"},
  };
  for (const NoScreenCase& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
    const std::string original = c.content();
    ASSERT_TRUE(WriteFileAtomically(File(), original));

    CScreenData list;
    const Status notice = list.Load(File(), true);
    EXPECT_EQ(list.Count(), 1);  // the default screen
    EXPECT_EQ(notice.text(), kTextScreenListKept);
    const std::vector<fs::path> kept = Kept();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(Read(kept[0]), original);
    EXPECT_NE(notice.detail().find(kept[0].string()), std::string::npos) << notice.detail();
    EXPECT_NE(notice.detail().find(c.reason), std::string::npos) << notice.detail();
    // The default screen is in place, and loading it again says nothing.
    CScreenData again;
    EXPECT_TRUE(again.Load(File(), true).ok());
    EXPECT_EQ(again.Count(), 1);
    EXPECT_EQ(Kept().size(), 1u);
  }
}

TEST_F(ScreenFileDamageTest, FolderInPlaceOfTheFileIsLeftAloneAndTheNoticeSaysWhy) {
  fs::create_directory(File());
  fs::create_directory(File() / "inside");
  CScreenData list;
  const Status notice = list.Load(File(), true);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_FALSE(notice.ok());
  EXPECT_NE(notice.detail().find("directory"), std::string::npos) << notice.detail();
  EXPECT_NE(notice.detail().find(File().string()), std::string::npos) << notice.detail();
  EXPECT_TRUE(fs::is_directory(File() / "inside"));
}

TEST_F(ScreenFileDamageTest, MissingFileMakesTheDefaultWithoutNotice) {
  CScreenData list;
  EXPECT_TRUE(list.Load(File(), true).ok());
  EXPECT_EQ(list.Count(), 1);
  EXPECT_TRUE(Kept().empty());
}

struct PartlyCase {
  const char* name;
  std::function<std::string(const std::string&)> damage;
  int screensRead;
  const char* reason;
};

TEST_F(ScreenFileDamageTest, PartlyReadFileIsNeverRewrittenWithFewerScreensUnlessTheListIsStored) {
  const PartlyCase cases[] = {
      {"truncated in the last block",
       [](const std::string& text) { return text.substr(0, text.rfind("[/SCREEN]")); }, 29, "not closed"},
      {"one block's class damaged",
       [](const std::string& text) {
         std::string damaged = text;
         damaged.replace(damaged.find("TYPE=6"), 6, "TYPE=x");
         return damaged;
       },
       29, "TYPE 0"},
      {"garbage in the middle",
       [](const std::string& text) {
         std::string damaged = text;
         damaged.replace(damaged.find("[SCREEN]", text.size() / 2), 8, "\x01\x02\xFF\xFE garbage");
         return damaged;
       },
       29, "outside a screen block"},
  };
  for (const PartlyCase& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
    const std::string original = c.damage(ThirtyScreens());
    ASSERT_TRUE(WriteFileAtomically(File(), original));

    CScreenData list;
    const Status notice = list.Load(File(), true);
    EXPECT_EQ(list.Count(), c.screensRead);
    EXPECT_EQ(notice.text(), kTextScreenListPartlyRead);
    EXPECT_NE(notice.detail().find(c.reason), std::string::npos) << notice.detail();
    // Loading alone never writes the file nor keeps a copy.
    EXPECT_EQ(Read(File()), original);
    EXPECT_TRUE(Kept().empty());

    // Storing the changed list keeps the original first; later stores keep nothing more.
    ASSERT_TRUE(list.RemoveAt(0));
    Status kept;
    ASSERT_TRUE(list.Save(File(), &kept).ok());
    EXPECT_EQ(kept.text(), kTextScreenListKept);
    ASSERT_EQ(Kept().size(), 1u);
    EXPECT_EQ(Read(Kept()[0]), original);
    EXPECT_NE(kept.detail().find(Kept()[0].string()), std::string::npos);
    Status keptAgain;
    ASSERT_TRUE(list.Save(File(), &keptAgain).ok());
    EXPECT_TRUE(keptAgain.ok());
    EXPECT_EQ(Kept().size(), 1u);
  }
}

TEST_F(ScreenFileDamageTest, PartlyReadListWrittenElsewhereKeepsNothing) {
  std::string text = ThirtyScreens();
  text = text.substr(0, text.rfind("[/SCREEN]"));
  ASSERT_TRUE(WriteFileAtomically(File(), text));
  CScreenData list;
  (void)list.Load(File(), true);
  Status kept;
  ASSERT_TRUE(list.Save(m_dir / "export.screens", &kept).ok());
  EXPECT_TRUE(kept.ok());
  EXPECT_TRUE(Kept().empty());
  EXPECT_EQ(Read(File()), text);
}

TEST_F(ScreenFileDamageTest, UnreadableFileIsNotReplacedWhenItCannotBeKept) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  ASSERT_TRUE(WriteFileAtomically(File(), ThirtyScreens()));
  fs::permissions(File(), fs::perms::none);
  CScreenData list;
  const Status notice = list.Load(File(), true);
  fs::permissions(File(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_FALSE(notice.ok());
  EXPECT_EQ(Read(File()), ThirtyScreens());
}

TEST(ScreenTextWarningsTest, DroppedBlocksAreCountedWithTheFirstReason) {
  struct Case {
    const char* name;
    const char* text;
    std::size_t dropped;
    const char* firstReason;
  } const cases[] = {
      {"clean", "[SCREEN]\r\nTYPE=6\r\n[/SCREEN]\r\n", 0, ""},
      {"class 5 then a good block in the same slot", "[SCREEN]\r\nTYPE=5\r\n[/SCREEN]\r\nTYPE=7\r\n[/SCREEN]\r\n", 1,
       "line 3: screen block without a valid controller class (TYPE 5)"},
      {"not closed", "[SCREEN]\r\nTYPE=6\r\n[/SCREEN]\r\n[SCREEN]\r\nTYPE=6\r\n", 1, "line 5: screen block not closed"},
      {"opened and left empty", "[SCREEN]\r\n\r\n", 0, ""},
      {"stray lines once per run", "junk\r\nmore junk\r\n[SCREEN]\r\nTYPE=6\r\n[/SCREEN]\r\n\r\nx\r\n", 2,
       "line 1: text outside a screen block"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CScreenData list;
    const ReadWarnings warnings = ReadScreenText(c.text, list);
    EXPECT_EQ(warnings.dropped, c.dropped);
    EXPECT_EQ(warnings.firstReason.substr(0, std::string(c.firstReason).size()), c.firstReason);
  }
}

}  // namespace
}  // namespace vantorel

namespace vantorel {
namespace {

// Names as wide as the legacy field allows: two bytes a Chinese character there.
TEST_F(ScreenFileDamageTest, ChineseNamesOfTheFullFieldWidthSurviveSaveAndLoad) {
  auto chinese = [](int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "\xE5\xB1\x8F";  // "屏"
    return text;
  };
  struct Case {
    const char* name;
    std::string input;
    std::string stored;
  } const cases[] = {
      {"32 characters", chinese(32), chinese(32)},
      {"33 are cut to 32", chinese(33), chinese(32)},
      {"mixed", "LED " + chinese(31), "LED " + chinese(30)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CScreenData list;
    list.MakeDefault();
    list.Screen(0).scrName = c.input;
    list.Comm(0).userName = chinese(15);  // 30 bytes
    ASSERT_TRUE(list.Save(File()).ok());
    CScreenData back;
    ASSERT_TRUE(back.Load(File(), false).ok());
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back.Screen(0).scrName.str(), c.stored);
    EXPECT_EQ(back.Comm(0).userName.str(), chinese(15));
  }
}

}  // namespace
}  // namespace vantorel

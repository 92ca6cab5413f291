// Storing an edited screen list: the playbill files of screens with a new ID follow them, no file
// is ever replaced, and a failure leaves files and list as they were; the document's side of the
// screen manager's OK and of the first definition.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/app_folders.h"
#include "app/text_ids.h"
#include "playbill/document_session.h"
#include "playbill/prg_list_doc.h"
#include "playbill/screen_list_store.h"
#include "screen/screen_list_edit.h"
#include "support/screen_builder.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace vantorel {
namespace {

using test::ReadText;
using test::ScreenBuilder;
using test::TempFolder;
using test::WriteText;

tagScreenInfo Screen(std::uint8_t id) {
  return ScreenBuilder().Type(6).Id(id).Colour(0x77).Width(48).Height(48).Model(0x4B05).Build();
}

CScreenData ListOf(const std::vector<std::uint8_t>& ids) {
  CScreenData list;
  for (const std::uint8_t id : ids) list.Append(Screen(id), tagCommInfo{});
  return list;
}

// Every file of `folder` with its content.
std::map<std::string, std::string> Files(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) files[entry.path().filename().string()] = ReadText(entry.path());
  return files;
}

TEST(ScreenListStore, PlaybillFilesFollowTheirScreensIds) {
  struct Row {
    const char* name;
    std::vector<std::string> files;  // "av%04x.ldt" / ".rsh" files before, each holding its own name
    std::vector<ScreenIdChange> changes;
    std::map<std::string, std::string> after;  // file -> the name it had before; empty: refused
    std::string refusedFile;
  };
  const Row rows[] = {
      {"a playbill with its schedule", {"av0001.ldt", "av0001.rsh"}, {{1, 7}},
       {{"av0007.ldt", "av0001.ldt"}, {"av0007.rsh", "av0001.rsh"}}, ""},
      {"no files: nothing to move", {"av0002.ldt"}, {{1, 7}}, {{"av0002.ldt", "av0002.ldt"}}, ""},
      {"onto a name another screen leaves", {"av0001.ldt", "av0002.ldt"}, {{1, 2}, {2, 3}},
       {{"av0002.ldt", "av0001.ldt"}, {"av0003.ldt", "av0002.ldt"}}, ""},
      {"onto a file that stays", {"av0001.ldt", "av0002.ldt"}, {{1, 2}}, {}, "av0002.ldt"},
      {"onto a lone schedule", {"av0001.ldt", "av0005.rsh"}, {{1, 5}}, {}, "av0005.rsh"},
      {"two screens swapping IDs", {"av0001.ldt", "av0002.ldt"}, {{1, 2}, {2, 1}}, {}, "av0002.ldt"},
      {"a ring of three with a free end", {"av0001.ldt", "av0002.ldt", "av0003.ldt"}, {{3, 4}, {2, 3}, {1, 2}},
       {{"av0002.ldt", "av0001.ldt"}, {"av0003.ldt", "av0002.ldt"}, {"av0004.ldt", "av0003.ldt"}}, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const TempFolder temp;
    std::map<std::string, std::string> before;
    for (const std::string& file : row.files) {
      WriteText(temp / file, file);
      before[file] = file;
    }
    const Expected<std::vector<PlaybillMove>> plan = PlanPlaybillMoves(row.changes, temp.Path());
    if (!row.refusedFile.empty()) {
      ASSERT_FALSE(plan.ok());
      EXPECT_EQ(plan.status().text(), kTextPlaybillNameTaken);
      EXPECT_EQ(plan.status().title(), kTextPrompt);
      EXPECT_EQ(plan.status().detail(), (temp / row.refusedFile).string());
      EXPECT_EQ(Files(temp.Path()), before);
      continue;
    }
    ASSERT_TRUE(plan.ok()) << plan.status().detail();
    ASSERT_TRUE(MovePlaybills(*plan).ok());
    EXPECT_EQ(Files(temp.Path()), row.after);
  }
}

TEST(ScreenListStore, AFailedWriteLeavesFilesAndListAsTheyWere) {
  const TempFolder temp;
  const auto work = temp / "work";
  WriteText(work / "av0001.ldt", "programs of screen 1");
  const auto screenFile = temp / "screen.cfg";
  CScreenData stored = ListOf({1, 2});
  ASSERT_TRUE(stored.Save(screenFile).ok());
  const std::string storedText = ReadText(screenFile);

  CScreenListEdit edit(stored);
  tagScreenInfo renumbered = Screen(9);
  edit.Replace(0, {renumbered, tagCommInfo{}});
  ASSERT_EQ(edit.IdChanges(), (std::vector<ScreenIdChange>{{1, 9}}));

  // The screen file's place is taken by a folder: it cannot be written.
  const auto blocked = temp / "blocked.cfg";
  std::filesystem::create_directories(blocked / "inside");
  const Status refused = StoreScreenList(stored, edit.List(), edit.IdChanges(), work, blocked);
  EXPECT_FALSE(refused.ok());
  EXPECT_EQ(stored.Screen(0).number, 1);
  EXPECT_EQ(ReadText(work / "av0001.ldt"), "programs of screen 1");
  EXPECT_FALSE(std::filesystem::exists(work / "av0009.ldt"));

  ASSERT_TRUE(StoreScreenList(stored, edit.List(), edit.IdChanges(), work, screenFile).ok());
  EXPECT_EQ(stored.Screen(0).number, 9);
  EXPECT_EQ(ReadText(work / "av0009.ldt"), "programs of screen 1");
  EXPECT_NE(ReadText(screenFile), storedText);

  // An emptied list is taken but never written: the file keeps its screens.
  const std::string nine = ReadText(screenFile);
  ASSERT_TRUE(StoreScreenList(stored, CScreenData(), {}, work, screenFile).ok());
  EXPECT_EQ(stored.Count(), 0);
  EXPECT_EQ(ReadText(screenFile), nine);
}

TEST(ScreenListStore, TheEditRemembersWhereEveryScreenCameFrom) {
  CScreenListEdit edit(ListOf({1, 2, 3}));
  ASSERT_TRUE(edit.Append({Screen(4), tagCommInfo{}}));
  ASSERT_TRUE(edit.MoveUp(3));      // 1 2 4 3
  ASSERT_TRUE(edit.RemoveAt(0));    // 2 4 3
  ASSERT_TRUE(edit.MoveDown(0));    // 4 2 3
  edit.Replace(1, {Screen(20), tagCommInfo{}});  // 4 20 3
  edit.Replace(0, {Screen(40), tagCommInfo{}});  // the new screen: no files of its own
  EXPECT_EQ(edit.IdChanges(), (std::vector<ScreenIdChange>{{2, 20}}));
  EXPECT_EQ(edit.IndexOfOriginal(0), -1);
  EXPECT_EQ(edit.IndexOfOriginal(1), 1);
  EXPECT_EQ(edit.IndexOfOriginal(2), 2);
  EXPECT_FALSE(edit.MoveUp(0));
  EXPECT_FALSE(edit.MoveDown(2));

  edit.ReplaceAll(ListOf({2, 3}));
  EXPECT_TRUE(edit.IdChanges().empty());
  EXPECT_EQ(edit.IndexOfOriginal(1), -1);
}

class ScreenManagerDocument : public ::testing::Test {
protected:
  CAppFolders Folders() const {
    std::filesystem::create_directories(m_temp / "data");
    return CAppFolders(VANTOREL_BIN_DIR, m_temp / "data");
  }
  TempFolder m_temp;
};

TEST_F(ScreenManagerDocument, OkKeepsTheCurrentScreenAndItsPlaybill) {
  const CAppFolders folders = Folders();
  CPrgListDoc doc(folders.WorkFolder());
  ASSERT_TRUE(DefineFirstScreens(doc, ListOf({1, 2, 3}), folders).ok());
  ASSERT_TRUE(doc.SelectScreen(1).ok());
  ASSERT_TRUE(doc.AddProgram());  // unsaved: OK saves it first
  const std::size_t records = doc.Records().size();

  CScreenListEdit edit(doc.Screens());
  ASSERT_TRUE(edit.RemoveAt(0));
  edit.Replace(0, {Screen(12), tagCommInfo{}});
  ASSERT_TRUE(ApplyScreenListEdit(doc, edit, folders).ok());
  EXPECT_EQ(doc.CurrentScreenIndex(), 0);
  EXPECT_EQ(doc.CurrentScreen().number, 12);
  EXPECT_EQ(doc.Records().size(), records);
  EXPECT_EQ(doc.PlaybillPath(), folders.InWorkFolder("av000c.ldt"));
  EXPECT_FALSE(std::filesystem::exists(folders.InWorkFolder("av0002.ldt")));
  CScreenData stored;
  ASSERT_TRUE(stored.Load(folders.ScreenFile(), false).ok());
  EXPECT_EQ(stored.Count(), 2);

  // Everything removed: no playbill, the file keeps the last screens until a first definition.
  CScreenListEdit empty(doc.Screens());
  ASSERT_TRUE(empty.RemoveAt(1));
  ASSERT_TRUE(empty.RemoveAt(0));
  ASSERT_TRUE(ApplyScreenListEdit(doc, empty, folders).ok());
  EXPECT_EQ(doc.Screens().Count(), 0);
  EXPECT_TRUE(doc.Records().empty());
  ASSERT_TRUE(stored.Load(folders.ScreenFile(), false).ok());
  EXPECT_EQ(stored.Count(), 2);

  CScreenData made;
  made.MakeDefault();
  ASSERT_TRUE(DefineFirstScreens(doc, made, folders).ok());
  EXPECT_EQ(doc.Screens().Count(), 1);
  EXPECT_FALSE(doc.Records().empty());
  EXPECT_TRUE(std::filesystem::exists(folders.InWorkFolder("av0001.ldt")));
  ASSERT_TRUE(stored.Load(folders.ScreenFile(), false).ok());
  EXPECT_EQ(stored.Count(), 1);
}

}  // namespace
}  // namespace vantorel

#include "playbill/prg_list_doc.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "playbill/cross_layout.h"
#include "support/temp_folder.h"
#include "support/record_builders.h"
#include "support/screen_builder.h"

namespace vantorel {
namespace {

using test::I;
using test::P;
using test::ScreenBuilder;
using test::TempFolder;
using test::W;

// Records what the document tells the play schedule.
class RecordingSlots : public IScheduleSlots {
public:
  void InsertProgram(int position, bool plays) override {
    log.push_back("insert " + std::to_string(position) + (plays ? " 1" : " 0"));
  }
  void RemoveProgram(int position) override { log.push_back("remove " + std::to_string(position)); }
  void SwapProgram(int position, bool down) override {
    log.push_back("swap " + std::to_string(position) + (down ? " down" : " up"));
  }
  std::vector<std::string> log;
};

tagScreenInfo Screen(std::uint16_t width, std::uint16_t height, std::uint16_t type = 6, std::uint8_t id = 1) {
  return ScreenBuilder().Type(type).Id(id).Width(width).Height(height).Build();
}

std::unique_ptr<CPrgListDoc> MakeDoc(const tagScreenInfo& screen, std::filesystem::path work = {}) {
  auto doc = std::make_unique<CPrgListDoc>(std::move(work));
  doc->Screens().Append(screen, tagCommInfo{});
  return doc;
}

WindowRect RectOf(const tagPrgItem& record) {
  return {record.window.left, record.window.top, record.window.width, record.window.height};
}

std::vector<std::string> ProgramNames(const CPrgListDoc& doc) {
  std::vector<std::string> names;
  for (const tagPrgItem& record : doc.Records()) {
    if (record.IsProgram()) names.push_back(record.program.prgName.str());
  }
  return names;
}

// Three programs named A, B, C; A holds two items, B one, C three.
std::unique_ptr<CPrgListDoc> ThreeProgramDoc(RecordingSlots* slots = nullptr) {
  auto doc = MakeDoc(Screen(64, 32));
  doc->SetRecords({P("A"), W(), I(), I(), P("B"), W(), I(), P("C"), W(), I(), I(), I()});
  doc->SetScheduleSlots(slots);
  return doc;
}

TEST(PrgListDoc, ResetToDefaultMakesOneFullScreenProgram) {
  auto doc = MakeDoc(Screen(96, 48));
  doc->ResetToDefault();
  ASSERT_EQ(doc->Records().size(), 3u);
  EXPECT_TRUE(doc->Record(0).IsProgram());
  EXPECT_EQ(RectOf(doc->Record(1)), (WindowRect{0, 0, 96, 48}));
  EXPECT_EQ(doc->Record(2).item.actType, kKindImageText);
  EXPECT_EQ(doc->Record(2).item.tcBase[0], 2008);
  EXPECT_EQ(doc->Selection(), (SelectionSummary{3, 2, 1, 0, 0, 1, 0, 1, 1, 0, 2}));
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(doc->DisplayName(0), "Program[1]");
  EXPECT_EQ(doc->DisplayName(1), "Window[1]");
  EXPECT_EQ(doc->DisplayName(2), "Welcome");
  EXPECT_EQ(doc->Record(1).positionKey, 1u << 20);

  doc->SetItemDefaults({0, 11, 32});
  doc->ResetToDefault();
  EXPECT_EQ(doc->Record(2).item.actType, kKindCellText);
  EXPECT_EQ(doc->Record(2).item.showType, 11);
  EXPECT_EQ(doc->Record(2).item.richTxt->Bytes()[3], 0x14);
}

TEST(PrgListDoc, SetRecordsSelectsFirstAndIsUnmodified) {
  auto doc = MakeDoc(Screen(64, 32));
  doc->ResetToDefault();
  doc->SetRecords({P(), W(), I(), P()});
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(doc->CurrentRecord(), 0);
  EXPECT_EQ(doc->Record(3).positionKey, 1u << 20);
  EXPECT_TRUE(doc->Select(2));
  EXPECT_FALSE(doc->IsModified()) << "selecting is no change";
  EXPECT_FALSE(doc->Select(4));
  EXPECT_EQ(doc->CurrentRecord(), 2);
  doc->SetRecords({});
  EXPECT_EQ(doc->Selection(), (SelectionSummary{0, -1, 0, -1, -1, -1, -1, -1, -1, -1, -1}));
}

TEST(PrgListDoc, AddProgramGoesAfterTheCurrentSubtree) {
  RecordingSlots slots;
  auto doc = ThreeProgramDoc(&slots);
  doc->Select(5);  // window of B
  ASSERT_TRUE(doc->AddProgram());
  EXPECT_EQ(ProgramNames(*doc), (std::vector<std::string>{"A", "B", "", "C"}));
  EXPECT_EQ(doc->CurrentRecord(), 9);  // first item of the new program
  EXPECT_EQ(doc->Selection().currentProgram, 2);
  EXPECT_EQ(doc->Selection().currentItem, 0);
  EXPECT_EQ(RectOf(doc->Record(8)), (WindowRect{0, 0, 64, 32}));
  EXPECT_EQ(slots.log, (std::vector<std::string>{"insert 2 0"}));
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(doc->Record(10).positionKey, 3u << 20) << "keys renumbered";

  // Nothing selected: appended.
  doc->Select(-1);
  ASSERT_TRUE(doc->AddProgram());
  EXPECT_EQ(ProgramNames(*doc).size(), 5u);
  EXPECT_EQ(doc->Selection().currentProgram, 4);
  EXPECT_EQ(slots.log.back(), "insert 4 0");
}

TEST(PrgListDoc, ApplyLayoutReplacesTheCurrentProgram) {
  RecordingSlots slots;
  auto doc = MakeDoc(Screen(64, 64));
  doc->SetScheduleSlots(&slots);
  doc->ResetToDefault();
  tagPrgItem program = doc->Record(0);
  program.program.prgName.Assign("Old");
  program.program.loopCnt = 9;
  doc->ReplaceRecord(0, program);
  ASSERT_TRUE(doc->SetBackground("/pictures/bg.png", [](const std::filesystem::path&) { return true; }));
  doc->SetModified(false);

  ASSERT_TRUE(doc->ApplyLayout(3));
  ASSERT_EQ(doc->Records().size(), 11u);
  const std::vector<WindowRect> expected = {{16, 0, 32, 16}, {0, 16, 16, 32}, {16, 16, 32, 32}, {48, 16, 16, 32}, {16, 48, 32, 16}};
  for (std::size_t w = 0; w < expected.size(); ++w) {
    const tagPrgItem& window = doc->Record(static_cast<int>(1 + 2 * w));
    ASSERT_TRUE(window.IsWindow());
    EXPECT_EQ(RectOf(window), expected[w]) << w;
    const tagPrgItem& item = doc->Record(static_cast<int>(2 + 2 * w));
    ASSERT_TRUE(item.IsItem());
    EXPECT_EQ(item.item.tcBase, (std::array<std::uint16_t, 6>{2017, 1, 1, 0, 0, 0}));
  }
  const tagProgramPart& replaced = doc->Record(0).program;
  EXPECT_TRUE(replaced.prgName.empty());
  EXPECT_EQ(replaced.loopCnt, 1);
  EXPECT_EQ(replaced.backgrd.str(), "/pictures/bg.png");
  EXPECT_EQ(replaced.showMode, 2);
  EXPECT_EQ(doc->Selection(), (SelectionSummary{11, 2, 1, 0, 0, 5, 0, 1, 1, 0, 2}));
  EXPECT_EQ(slots.log, (std::vector<std::string>{"insert 1 0", "remove 0"}));
  EXPECT_TRUE(doc->IsModified());

  ASSERT_TRUE(doc->ApplyLayout(0));
  ASSERT_EQ(doc->Records().size(), 3u);
  EXPECT_EQ(RectOf(doc->Record(1)), (WindowRect{0, 0, 64, 64}));
  EXPECT_EQ(doc->Record(2).item.tcBase[0], 2008);
}

TEST(PrgListDoc, ApplyLayoutInTheMiddleKeepsTheProgramIndex) {
  RecordingSlots slots;
  auto doc = ThreeProgramDoc(&slots);
  doc->Select(6);  // item of B
  ASSERT_TRUE(doc->ApplyLayout(1));
  EXPECT_EQ(ProgramNames(*doc), (std::vector<std::string>{"A", "", "C"}));
  EXPECT_EQ(doc->CurrentRecord(), 6);
  EXPECT_EQ(doc->Selection().currentProgram, 1);
  EXPECT_EQ(doc->Selection().windowCount, 3);
  EXPECT_EQ(slots.log, (std::vector<std::string>{"insert 2 0", "remove 1"}));
}

TEST(PrgListDoc, ApplyLayoutRefusals) {
  RecordingSlots slots;
  auto doc = ThreeProgramDoc(&slots);
  const PrgList before = doc->Records();
  for (int layout : {-1, 4}) EXPECT_FALSE(doc->ApplyLayout(layout)) << layout;
  doc->Select(-1);
  EXPECT_FALSE(doc->ApplyLayout(1));
  EXPECT_EQ(doc->Records(), before);
  EXPECT_TRUE(slots.log.empty());
  EXPECT_FALSE(doc->IsModified());
}

TEST(PrgListDoc, TinyAndEmptyScreensNeverFail) {
  for (const auto& size : {std::pair<std::uint16_t, std::uint16_t>{0, 0}, {1, 1}, {2, 7}, {64, 0}, {64, 20}}) {
    SCOPED_TRACE(testing::Message() << size.first << "x" << size.second);
    auto doc = MakeDoc(Screen(size.first, size.second));
    doc->ResetToDefault();
    for (int layout = 0; layout < kLayoutCount; ++layout) {
      ASSERT_TRUE(doc->ApplyLayout(layout));
      // The 64-wide arms may reach below a low screen; fitting brings them back.
      doc->FitWindowsToScreen();
      for (const tagPrgItem& record : doc->Records()) {
        if (!record.IsWindow()) continue;
        EXPECT_LE(record.window.left + record.window.width, size.first);
        EXPECT_LE(record.window.top + record.window.height, size.second);
      }
    }
    EXPECT_TRUE(doc->AddProgram());
  }
}

TEST(PrgListDoc, OnlyProgramCannotBeDeleted) {
  RecordingSlots slots;
  auto doc = MakeDoc(Screen(64, 32));
  doc->ResetToDefault();
  doc->SetScheduleSlots(&slots);
  doc->Select(0);
  EXPECT_FALSE(doc->CanDeleteProgram());
  EXPECT_FALSE(doc->Delete(0));
  EXPECT_EQ(doc->Records().size(), 3u);
  EXPECT_TRUE(slots.log.empty());
}

TEST(PrgListDoc, DeletingProgramsSelectsTheNextOrPrevious) {
  RecordingSlots slots;
  auto doc = ThreeProgramDoc(&slots);
  doc->Select(4);
  EXPECT_TRUE(doc->CanDeleteProgram());
  ASSERT_TRUE(doc->Delete(4));  // B: C takes its place
  EXPECT_EQ(ProgramNames(*doc), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(doc->CurrentRecord(), 4);
  EXPECT_EQ(doc->Selection().currentProgram, 1);
  ASSERT_TRUE(doc->Delete(4));  // C, the last: A is selected
  EXPECT_EQ(ProgramNames(*doc), (std::vector<std::string>{"A"}));
  EXPECT_EQ(doc->CurrentRecord(), 0);
  EXPECT_EQ(slots.log, (std::vector<std::string>{"remove 1", "remove 1"}));
  EXPECT_FALSE(doc->CanDeleteProgram());

  auto first = ThreeProgramDoc(&slots);
  ASSERT_TRUE(first->Delete(0));
  EXPECT_EQ(ProgramNames(*first), (std::vector<std::string>{"B", "C"}));
  EXPECT_EQ(first->CurrentRecord(), 0);
  EXPECT_EQ(slots.log.back(), "remove 0");
}

TEST(PrgListDoc, DeletingItemsSelectsTheRecordTakingItsPlace) {
  const struct {
    const char* name;
    int deleted;
    int selected;
    std::int32_t level;
  } cases[] = {
      {"next item", 2, 2, kLevelItem},
      {"last item of a program: next program", 3, 3, kLevelProgram},
      {"last record: previous record", 11, 10, kLevelItem},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingSlots slots;
    auto doc = ThreeProgramDoc(&slots);
    ASSERT_TRUE(doc->Select(c.deleted));
    EXPECT_TRUE(doc->CanDeleteItem());
    ASSERT_TRUE(doc->Delete(c.deleted));
    EXPECT_EQ(doc->Records().size(), 11u);
    EXPECT_EQ(doc->CurrentRecord(), c.selected);
    EXPECT_EQ(doc->Record(c.selected).level, c.level);
    EXPECT_TRUE(slots.log.empty());
    EXPECT_TRUE(doc->IsModified());
  }
}

TEST(PrgListDoc, DeleteRefusesWindowsAndOutOfRange) {
  auto doc = ThreeProgramDoc();
  doc->Select(1);
  EXPECT_FALSE(doc->CanDeleteItem());
  for (int record : {1, -1, 12}) EXPECT_FALSE(doc->Delete(record)) << record;
  EXPECT_EQ(doc->Records().size(), 12u);
  EXPECT_FALSE(doc->IsModified());
}

TEST(PrgListDoc, AddItemNeedsASelectedItem) {
  auto doc = ThreeProgramDoc();
  doc->Select(1);
  EXPECT_FALSE(doc->CanAddItem());
  EXPECT_FALSE(doc->AddItem());
  doc->Select(2);
  ASSERT_TRUE(doc->AddItem());
  EXPECT_EQ(doc->Records().size(), 13u);
  EXPECT_EQ(doc->CurrentRecord(), 3);
  EXPECT_EQ(doc->Record(3).item.media.str(), "Welcome");
  EXPECT_EQ(doc->Selection().itemCount, 3);
  EXPECT_EQ(doc->Selection().currentItem, 1);
  EXPECT_EQ(doc->Record(4).positionKey, (1u << 20) + 2);
}

TEST(PrgListDoc, MovingProgramsSwapsSubtreesAndSlots) {
  RecordingSlots slots;
  auto doc = ThreeProgramDoc(&slots);
  doc->Select(6);  // the item of B
  EXPECT_TRUE(doc->CanMoveProgramUp());
  EXPECT_TRUE(doc->CanMoveProgramDown());
  ASSERT_TRUE(doc->MoveProgramUp());
  EXPECT_EQ(ProgramNames(*doc), (std::vector<std::string>{"B", "A", "C"}));
  EXPECT_EQ(doc->CurrentRecord(), 2);
  EXPECT_TRUE(doc->Record(2).IsItem());
  EXPECT_EQ(doc->Selection().currentProgram, 0);
  EXPECT_FALSE(doc->CanMoveProgramUp());
  EXPECT_FALSE(doc->MoveProgramUp());

  doc->Select(3);  // A itself
  ASSERT_TRUE(doc->MoveProgramDown());
  EXPECT_EQ(ProgramNames(*doc), (std::vector<std::string>{"B", "C", "A"}));
  EXPECT_EQ(doc->CurrentRecord(), 8);
  EXPECT_EQ(doc->Record(8).program.prgName.str(), "A");
  EXPECT_FALSE(doc->CanMoveProgramDown());
  EXPECT_FALSE(doc->MoveProgramDown());
  EXPECT_EQ(slots.log, (std::vector<std::string>{"swap 1 up", "swap 1 down"}));

  // Every record is still there, in a valid order.
  EXPECT_EQ(doc->Records().size(), 12u);
  EXPECT_EQ(doc->Selection().windowCount, 1);
  EXPECT_EQ(doc->DisplayName(8), "A[3]");
}

TEST(PrgListDoc, BackgroundPicture) {
  auto doc = ThreeProgramDoc();
  doc->Select(6);
  std::vector<std::filesystem::path> probed;
  const auto accept = [&](const std::filesystem::path& path) {
    probed.push_back(path);
    return true;
  };
  const auto refuse = [](const std::filesystem::path&) { return false; };

  EXPECT_FALSE(doc->SetBackground("/p/broken.png", refuse));
  EXPECT_FALSE(doc->SetBackground("/p/x.png", nullptr));
  EXPECT_FALSE(doc->SetBackground("", accept));
  EXPECT_FALSE(doc->SetBackground("/" + std::string(260, 'a'), accept)) << "a cut path names another file";
  EXPECT_TRUE(doc->Record(4).program.backgrd.empty());
  EXPECT_FALSE(doc->IsModified());

  const std::string longest = "/" + std::string(259, 'a');
  ASSERT_TRUE(doc->SetBackground(longest, accept));
  EXPECT_EQ(doc->Record(4).program.backgrd.str(), longest);
  EXPECT_EQ(doc->Record(4).program.showMode, 2);
  EXPECT_EQ(probed, (std::vector<std::filesystem::path>{longest}));
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(doc->CurrentRecord(), 6);

  ASSERT_TRUE(doc->ClearBackground());
  EXPECT_TRUE(doc->Record(4).program.backgrd.empty());
  EXPECT_EQ(doc->Record(4).program.showMode, 0);

  doc->Select(-1);
  EXPECT_FALSE(doc->ClearBackground());
  EXPECT_FALSE(doc->SetBackground("/p/x.png", accept));
}

TEST(PrgListDoc, ReplaceRecordKeepsTheLevel) {
  auto doc = ThreeProgramDoc();
  doc->Select(2);
  tagPrgItem item = doc->Record(2);
  item.item.media.Assign("Changed");
  EXPECT_FALSE(doc->ReplaceRecord(1, item));
  EXPECT_FALSE(doc->ReplaceRecord(12, item));
  EXPECT_FALSE(doc->IsModified());
  ASSERT_TRUE(doc->ReplaceRecord(2, item));
  EXPECT_EQ(doc->DisplayName(2), "Changed");
  EXPECT_EQ(doc->CurrentRecord(), 2);
  EXPECT_TRUE(doc->IsModified());
}

TEST(PrgListDoc, ScreensAndRememberedSelection) {
  auto doc = MakeDoc(Screen(64, 32, 6, 1));
  doc->Screens().Append(Screen(96, 48, 7, 2), tagCommInfo{});
  EXPECT_EQ(doc->CurrentScreenIndex(), 0);
  doc->SetCurrentScreenIndex(1);
  EXPECT_EQ(doc->CurrentScreenIndex(), 1);
  EXPECT_EQ(doc->CurrentScreen().width, 96);
  doc->SetCurrentScreenIndex(2);
  EXPECT_EQ(doc->CurrentScreenIndex(), 0) << "out of range counts as the first screen";
  doc->SetCurrentScreenIndex(-5);
  EXPECT_EQ(doc->CurrentScreenIndex(), 0);

  doc->SetCurrentScreenIndex(1);
  doc->SetRecords({P(), W(), I(), I()});
  doc->Select(3);
  doc->RememberSelection();
  EXPECT_EQ(doc->Screens().SelectedRecord(1), 3);
  EXPECT_EQ(doc->Screens().SelectedRecord(0), 0);
  doc->Select(1);
  doc->RestoreSelection();
  EXPECT_EQ(doc->CurrentRecord(), 3);

  doc->SetRecords({P(), W()});
  doc->Select(1);
  doc->RestoreSelection();
  EXPECT_EQ(doc->CurrentRecord(), 0) << "a remembered record out of range gives the first";
  doc->SetRecords({});
  doc->RestoreSelection();
  EXPECT_EQ(doc->CurrentRecord(), -1);
}

TEST(PrgListDoc, FitsWindowsOnlyForControllerClasses6And7) {
  const struct {
    std::uint16_t type;
    bool fitted;
  } cases[] = {{6, true}, {7, true}, {5, false}, {0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    auto doc = MakeDoc(Screen(64, 32, c.type));
    doc->SetRecords({P(), W(50, 0, 20, 16), I(), W(0, 0, 100, 16), I()});
    EXPECT_EQ(doc->FitWindowsToScreen(), c.fitted);
    EXPECT_EQ(doc->IsModified(), c.fitted);
    const WindowRect first = c.fitted ? WindowRect{36, 0, 20, 16} : WindowRect{50, 0, 20, 16};
    const WindowRect second = c.fitted ? WindowRect{0, 0, 64, 16} : WindowRect{0, 0, 100, 16};
    EXPECT_EQ(RectOf(doc->Record(1)), first);
    EXPECT_EQ(RectOf(doc->Record(3)), second);
  }
  auto fitting = MakeDoc(Screen(64, 32));
  fitting->SetRecords({P(), W(0, 0, 64, 32), I()});
  EXPECT_FALSE(fitting->FitWindowsToScreen());
  EXPECT_FALSE(fitting->IsModified());
}

TEST(PrgListDoc, CountsMissingMediaFiles) {
  TempFolder temp;
  std::filesystem::create_directories(temp.Path() / "folder");
  const std::string present = (temp.Path() / "present.jpg").string();
  std::ofstream(present) << "x";
  const std::string missing = (temp.Path() / "missing.jpg").string();
  const std::string folder = (temp.Path() / "folder").string();

  auto doc = MakeDoc(Screen(64, 32));
  doc->SetRecords({P(), W(), I(kKindPicture, present), I(kKindPicture, missing), I(kKindTextFile, ""),
                   I(kKindDocument, missing), I(kKindVideo, folder), I(kKindAnimation, missing),
                   I(kKindClock, missing), I(kKindImageText, missing), I(kKindSensor, missing),
                   I(kKindTimeCounter, missing), I(kKindWorkCounter, missing), I(kKindCellText, missing)});
  EXPECT_EQ(doc->CountMissingMedia(), 4);
  doc->SetRecords({P(), W(), I(kKindPicture, present)});
  EXPECT_EQ(doc->CountMissingMedia(), 0);
}

TEST(PrgListDoc, PlaybillAndSchedulePaths) {
  TempFolder temp;
  const auto work = temp.Path() / "work";
  const struct {
    std::uint16_t type;
    std::uint8_t id;
    const char* file;
  } cases[] = {{6, 0x1f, "av001f.ldt"}, {7, 0xAB, "av00ab.ldt"}, {6, 1, "av0001.ldt"}, {5, 0x1f, ""}, {0, 2, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    std::filesystem::remove_all(work);
    auto doc = MakeDoc(Screen(64, 32, c.type, c.id), work);
    if (*c.file == '\0') {
      EXPECT_TRUE(doc->PlaybillPath().empty());
      EXPECT_TRUE(doc->SchedulePath().empty());
      continue;
    }
    EXPECT_EQ(doc->PlaybillPath(), work / c.file);
    EXPECT_TRUE(std::filesystem::is_directory(work)) << "the work folder is made on demand";
    std::filesystem::path schedule = work / c.file;
    schedule.replace_extension(".rsh");
    EXPECT_EQ(doc->SchedulePath(), schedule);
  }
}

TEST(PrgListDoc, PlaybillPathIsEmptyWhenTheWorkFolderCannotBeMade) {
  TempFolder temp;
  std::filesystem::create_directories(temp.Path());
  std::ofstream(temp.Path() / "file") << "x";
  auto blocked = MakeDoc(Screen(64, 32, 6, 0x1f), temp.Path() / "file" / "work");
  EXPECT_TRUE(blocked->PlaybillPath().empty());
  EXPECT_TRUE(blocked->SchedulePath().empty());
  auto unset = MakeDoc(Screen(64, 32, 6, 0x1f));
  EXPECT_TRUE(unset->PlaybillPath().empty());
}

}  // namespace
}  // namespace vantorel

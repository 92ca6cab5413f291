// Undo and redo of the document's edits, and the record changes of the property editors: windows
// typed in are kept on the screen, item kinds keep only the fields they write.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "playbill/edit_history.h"
#include "playbill/playbill_keys.h"
#include "playbill/playbill_writer.h"
#include "playbill/prg_list.h"
#include "playbill/prg_list_doc.h"
#include "playbill/window_fit.h"
#include "support/record_builders.h"
#include "support/screen_builder.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using test::I;
using test::P;
using test::ScreenBuilder;
using test::TempFolder;
using test::W;

tagScreenInfo Screen(std::uint8_t id, std::uint16_t width, std::uint16_t height) {
  return ScreenBuilder().Type(6).Id(id).Width(width).Height(height).Build();
}

// Three programs A, B, C (with a background) on a 64 x 32 screen, a schedule entry that plays A
// and C, item 2 selected.
std::unique_ptr<CPrgListDoc> ThreeProgramDoc(std::filesystem::path work = {}) {
  auto doc = std::make_unique<CPrgListDoc>(std::move(work));
  doc->Screens().Append(Screen(1, 64, 32), tagCommInfo{});
  tagPrgItem c = P("C");
  c.program.backgrd = "/pictures/c.png";
  c.program.showMode = 2;
  doc->SetRecords({P("A"), W(0, 0, 32, 16), I(kKindImageText, "a1"), I(kKindClock, "a2"), P("B"), W(), I(), c,
                   W(16, 16, 16, 16), I(), I(), I()});
  EXPECT_TRUE(doc->Schedule().SetProgramCount(3));
  EXPECT_TRUE(doc->Schedule().AddEntry(0, "+0123456", {2024, 1, 1}, {2030, 12, 31}, {8, 0, 0}, {20, 0, 0}, "101"));
  doc->Schedule().SetModified(false);
  doc->Select(2);
  return doc;
}

// What the user can see of a document: records, schedule periods and the selection.
struct Seen {
  PrgList records;
  std::vector<std::string> periods;
  int programCount;
  int selection;

  friend bool operator==(const Seen&, const Seen&) = default;
};

Seen SeenOf(const CPrgListDoc& doc) {
  return {doc.Records(), doc.Schedule().Entries(), doc.Schedule().ProgramCount(), doc.CurrentRecord()};
}

tagPrgItem Renamed(const CPrgListDoc& doc, int record, const char* name) {
  tagPrgItem changed = doc.Record(record);
  changed.program.prgName = name;
  return changed;
}

TEST(EditHistory, UndoAfterEachKindOfEditRestoresTheExactRecords) {
  TempFolder temp;
  const auto other = temp / "other.lpl";
  {
    auto source = ThreeProgramDoc();
    source->SetRecords({P("Imported"), W(0, 0, 64, 32), I(kKindClock, "x")});
    ASSERT_TRUE(source->SaveToFile(other));
  }
  const auto accept = [](const std::filesystem::path&) { return true; };
  const struct {
    const char* name;
    int select;
    std::function<bool(CPrgListDoc&)> edit;
  } cases[] = {
      {"new program", 5, [](CPrgListDoc& doc) { return doc.AddProgram(); }},
      {"delete program", 5, [](CPrgListDoc& doc) { return doc.Delete(4); }},
      {"delete the last program", 9, [](CPrgListDoc& doc) { return doc.Delete(7); }},
      {"add item", 3, [](CPrgListDoc& doc) { return doc.AddItem(); }},
      {"delete item", 3, [](CPrgListDoc& doc) { return doc.Delete(3); }},
      {"move program up", 6, [](CPrgListDoc& doc) { return doc.MoveProgramUp(); }},
      {"move program down", 6, [](CPrgListDoc& doc) { return doc.MoveProgramDown(); }},
      {"one-window layout", 9, [](CPrgListDoc& doc) { return doc.ApplyLayout(0); }},
      {"five-window layout", 2, [](CPrgListDoc& doc) { return doc.ApplyLayout(3); }},
      {"set background", 5, [&](CPrgListDoc& doc) { return doc.SetBackground("/pictures/sky.png", accept); }},
      {"clear background", 9, [](CPrgListDoc& doc) { return doc.ClearBackground(); }},
      {"rename a program", 1, [](CPrgListDoc& doc) { return doc.ReplaceRecord(4, Renamed(doc, 4, "Renamed")); }},
      {"move a window", 1, [](CPrgListDoc& doc) { return doc.SetWindowRect(8, {40, 8, 16, 16}); }},
      {"open a playbill file", 2, [&](CPrgListDoc& doc) { return doc.OpenFile(other).ok(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto doc = ThreeProgramDoc();
    doc->Select(c.select);
    const Seen before = SeenOf(*doc);
    EXPECT_FALSE(doc->CanUndo());
    ASSERT_TRUE(c.edit(*doc));
    const Seen after = SeenOf(*doc);
    ASSERT_NE(after.records, before.records);
    ASSERT_TRUE(doc->CanUndo());
    EXPECT_FALSE(doc->CanRedo());

    doc->SetModified(false);
    ASSERT_TRUE(doc->Undo());
    EXPECT_EQ(SeenOf(*doc), before);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_FALSE(doc->CanUndo());
    ASSERT_TRUE(doc->CanRedo());

    ASSERT_TRUE(doc->Redo());
    EXPECT_EQ(SeenOf(*doc), after);
    EXPECT_FALSE(doc->CanRedo());
    EXPECT_FALSE(doc->Redo());
  }
}

TEST(EditHistory, TheScheduleFollowsUndoAndIsWrittenOnlyWhenItChanged) {
  auto doc = ThreeProgramDoc();
  doc->Select(5);
  ASSERT_TRUE(doc->AddProgram());
  EXPECT_EQ(doc->Schedule().Entries()[0].substr(40), "1001");
  doc->Schedule().SetModified(false);
  ASSERT_TRUE(doc->Undo());
  EXPECT_EQ(doc->Schedule().Entries()[0].substr(40), "101");
  EXPECT_TRUE(doc->Schedule().IsModified()) << "the schedule file must be written again";

  // A change that leaves the schedule alone does not make it modified.
  doc->Schedule().SetModified(false);
  ASSERT_TRUE(doc->ReplaceRecord(0, Renamed(*doc, 0, "A2")));
  ASSERT_TRUE(doc->Undo());
  EXPECT_FALSE(doc->Schedule().IsModified());
}

TEST(EditHistory, RepeatedChangesOfOneFieldAreOneStep) {
  auto doc = ThreeProgramDoc();
  const auto rename = [&](int record, const char* name, int field) {
    ASSERT_TRUE(doc->ReplaceRecord(record, Renamed(*doc, record, name), FieldEdit(record, field)));
  };
  // Typing "Abc" letter by letter is one step.
  rename(0, "A", 1);
  rename(0, "Ab", 1);
  rename(0, "Abc", 1);
  EXPECT_EQ(doc->History().UndoCount(), 1u);
  // Another field, another record: steps of their own.
  rename(0, "Abc!", 2);
  rename(4, "B!", 2);
  EXPECT_EQ(doc->History().UndoCount(), 3u);
  // Choosing another record and coming back, or saving, starts a new step.
  doc->Select(4);
  doc->Select(0);
  rename(0, "Abc?", 2);
  EXPECT_EQ(doc->History().UndoCount(), 4u);
  // A record equal to the present one is no change at all.
  ASSERT_TRUE(doc->ReplaceRecord(0, doc->Record(0), FieldEdit(0, 3)));
  EXPECT_EQ(doc->History().UndoCount(), 4u);

  for (const char* name : {"Abc!", "Abc!", "Abc", "A"}) {
    ASSERT_TRUE(doc->Undo());
    EXPECT_EQ(doc->Record(0).program.prgName, name);
  }
  EXPECT_FALSE(doc->Undo());
  // After undoing, the same field starts a new step: redo gives back each step.
  EXPECT_EQ(doc->History().RedoCount(), 4u);
}

TEST(EditHistory, ANewChangeDropsTheRedoSteps) {
  auto doc = ThreeProgramDoc();
  ASSERT_TRUE(doc->AddItem());
  ASSERT_TRUE(doc->AddItem());
  ASSERT_TRUE(doc->Undo());
  ASSERT_TRUE(doc->CanRedo());
  ASSERT_TRUE(doc->MoveProgramDown());
  EXPECT_FALSE(doc->CanRedo());
  EXPECT_EQ(doc->History().UndoCount(), 2u);
}

TEST(EditHistory, KeepsAtMostItsDepth) {
  auto doc = ThreeProgramDoc();
  std::vector<Seen> states;
  for (int i = 0; i < 150; ++i) {
    states.push_back(SeenOf(*doc));
    const std::string name = "A" + std::to_string(i);
    ASSERT_TRUE(doc->ReplaceRecord(0, Renamed(*doc, 0, name.c_str())));
  }
  EXPECT_EQ(doc->History().UndoCount(), CEditHistory::kDefaultDepth);
  int undone = 0;
  while (doc->Undo()) ++undone;
  EXPECT_EQ(undone, 100);
  EXPECT_EQ(SeenOf(*doc), states[50]);

  // A history of depth 2 keeps the two newest steps.
  CEditHistory shallow(2);
  for (int i = 0; i < 5; ++i) shallow.Record({{P(std::to_string(i))}, {}, i});
  const auto back1 = shallow.Undo({{P("present")}, {}, 9});
  const auto back2 = shallow.Undo(*back1);
  ASSERT_TRUE(back1 && back2);
  EXPECT_EQ(back1->records[0].program.prgName, "4");
  EXPECT_EQ(back2->records[0].program.prgName, "3");
  EXPECT_EQ(back2->selection, 3);
  EXPECT_FALSE(shallow.Undo(*back2));
  const auto forward = shallow.Redo(*back2);
  ASSERT_TRUE(forward);
  EXPECT_EQ(forward->records[0].program.prgName, "4");
}

TEST(EditHistory, RecordsSharedBetweenStepsComeBackWhole) {
  // Steps share the records an edit did not touch; each step still gives back its own list,
  // rich-text blocks included.
  CEditHistory history;
  PrgList list = {P("A"), W(), I(kKindImageText, "one"), I(kKindCellText, "two"), P("B"), W(), I()};
  std::vector<PrgList> kept;
  for (int step = 0; step < 4; ++step) {
    kept.push_back(list);
    history.Record({list, {}, step});
    list.insert(list.begin() + 3, I(kKindClock, "new" + std::to_string(step)));
    list[0].program.loopCnt = static_cast<std::uint8_t>(step + 2);
  }
  for (int step = 3; step >= 0; --step) {
    const auto back = history.Undo({list, {}, 9});
    ASSERT_TRUE(back);
    EXPECT_EQ(back->records, kept[static_cast<std::size_t>(step)]) << step;
    list = back->records;
  }
}

TEST(EditHistory, ClearedWhenAnotherScreensPlaybillOpens) {
  TempFolder temp;
  auto doc = ThreeProgramDoc(temp / "work");
  doc->Screens().Append(Screen(2, 64, 32), tagCommInfo{});
  ASSERT_TRUE(doc->AddProgram());
  ASSERT_TRUE(doc->Save());
  ASSERT_TRUE(doc->AddItem());
  ASSERT_TRUE(doc->Undo());
  ASSERT_TRUE(doc->CanUndo() && doc->CanRedo());

  ASSERT_TRUE(doc->SelectScreen(1));
  EXPECT_FALSE(doc->CanUndo());
  EXPECT_FALSE(doc->CanRedo());
  ASSERT_TRUE(doc->AddProgram());
  ASSERT_TRUE(doc->SelectScreen(0));
  EXPECT_FALSE(doc->CanUndo()) << "back on the first screen: its file was read anew";
  EXPECT_EQ(doc->Selection().programCount, 4);
}

TEST(EditHistory, RefusedEditsLeaveNoStep) {
  auto doc = ThreeProgramDoc();
  const auto refuse = [](const std::filesystem::path&) { return false; };
  doc->Select(1);
  EXPECT_FALSE(doc->AddItem());
  EXPECT_FALSE(doc->Delete(1)) << "windows go with layouts";
  EXPECT_FALSE(doc->SetBackground("/p/broken.png", refuse));
  EXPECT_FALSE(doc->ReplaceRecord(1, doc->Record(0)));
  EXPECT_FALSE(doc->SetWindowRect(0, {0, 0, 8, 8}));
  EXPECT_FALSE(doc->OpenFile("/nowhere/missing.lpl").ok());
  doc->Select(0);
  EXPECT_FALSE(doc->MoveProgramUp());
  EXPECT_FALSE(doc->CanUndo());
  EXPECT_FALSE(doc->IsModified());
}

TEST(WindowFit, WindowsTheUserPlacesStayOnTheScreen) {
  const struct {
    const char* name;
    WindowRect asked;
    WindowRect kept;
  } cases[] = {
      {"inside", {8, 4, 16, 16}, {8, 4, 16, 16}},
      {"left of the screen", {-5, 0, 16, 16}, {0, 0, 16, 16}},
      {"above the screen", {0, -1, 16, 16}, {0, 0, 16, 16}},
      {"no width, no height", {3, 3, 0, 0}, {3, 3, 1, 1}},
      {"past the right edge: as a loaded window, bit 3 cleared", {50, 0, 20, 16}, {36, 0, 20, 16}},
      {"past the bottom", {0, 30, 8, 8}, {0, 24, 8, 8}},
      {"wider than the screen", {10, 0, 65, 8}, {0, 0, 64, 8}},
      {"the whole screen", {0, 0, 64, 32}, {0, 0, 64, 32}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FitWindowRect(c.asked, 64, 32), c.kept);
    auto doc = ThreeProgramDoc();
    ASSERT_TRUE(doc->SetWindowRect(1, c.asked));
    const tagWindowPart& window = doc->Record(1).window;
    EXPECT_EQ((WindowRect{window.left, window.top, window.width, window.height}), c.kept);
  }
}

TEST(PlaybillKeys, WhichItemKindsKeepAField) {
  const struct {
    int kind;
    ActorKey key;
    bool kept;
  } cases[] = {
      {kKindPicture, ActorKey::BgColor, false}, {kKindCellText, ActorKey::BgColor, true},
      {kKindImageText, ActorKey::BgColor, true}, {kKindClock, ActorKey::BgColor, false},
      {kKindVideo, ActorKey::Transp, true},     {kKindUndefined, ActorKey::ShowType, true},
      {kKindUndefined, ActorKey::ShowMode, false}, {kKindSensor, ActorKey::ShowMode, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " key " << KeyName(c.key));
    EXPECT_EQ(ItemKindWrites(c.kind, c.key), c.kept);
  }
}

}  // namespace
}  // namespace vantorel

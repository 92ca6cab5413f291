// The document's file operations (new, open, save, switching screens) and the exchange of
// playbill files between screens.

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/text_table.h"
#include "platform/atomic_file.h"
#include "playbill/playbill_reader.h"
#include "playbill/playbill_transfer.h"
#include "playbill/playbill_writer.h"
#include "playbill/prg_list.h"
#include "playbill/prg_list_doc.h"
#include "support/temp_folder.h"
#include "support/record_builders.h"
#include "support/screen_builder.h"
#include "support/test_files.h"

namespace vantorel {
namespace {

using test::I;
using test::P;
using test::ReadText;
using test::ScreenBuilder;
using test::TempFolder;
using test::W;

const std::filesystem::path kShippedDefault = VANTOREL_BIN_DIR "/default.ldt";

tagScreenInfo Screen(std::uint8_t id, std::uint16_t width, std::uint16_t height, std::uint16_t colour = 0x77,
                     std::uint16_t type = 6) {
  return ScreenBuilder().Type(type).Id(id).Colour(colour).Width(width).Height(height).Model(0x4B05).Build();
}

std::unique_ptr<CPrgListDoc> MakeDoc(const TempFolder& temp, const std::vector<tagScreenInfo>& screens) {
  auto doc = std::make_unique<CPrgListDoc>(temp / "work");
  for (const tagScreenInfo& screen : screens) doc->Screens().Append(screen, tagCommInfo{});
  doc->SetDefaultPlaybillFile(kShippedDefault);
  return doc;
}

std::vector<std::string> ProgramNames(const PrgList& list) {
  std::vector<std::string> names;
  for (const tagPrgItem& record : list) {
    if (record.IsProgram()) names.push_back(record.program.prgName.str());
  }
  return names;
}

PrgList ReadList(const std::filesystem::path& file) {
  PrgList list;
  int version = 110;
  EXPECT_TRUE(ReadPlaybill(file, list, version).ok()) << file;
  return list;
}

// What a list stores: records compare by their stored form (position keys are not stored, and
// blocks only as far as their content goes).
std::vector<std::uint8_t> Stored(const PrgList& list) {
  return EncodePlaybill(list, Screen(1, 64, 64), -1, "/").value_or(std::vector<std::uint8_t>());
}

void Rename(CPrgListDoc& doc, int program, const char* name) {
  const int record = ProgramRecordAt(doc.Records(), program);
  tagPrgItem changed = doc.Record(record);
  changed.program.prgName = name;
  doc.ReplaceRecord(record, changed);
}

TEST(PlaybillDocument, NewDocumentStartsFromTheShippedDefaultWhenItSuits) {
  ASSERT_TRUE(std::filesystem::exists(kShippedDefault)) << "made at build time";
  TempFolder temp;
  auto doc = MakeDoc(temp, {Screen(1, 48, 48), Screen(2, 48, 48, 0x01), Screen(3, 64, 32), Screen(4, 48, 48, 0x77, 7)});

  ASSERT_TRUE(doc->NewDocument());
  EXPECT_EQ(ProgramNames(doc->Records()), (std::vector<std::string>{"Clock", "Welcome"}));
  EXPECT_EQ(doc->Selection().windowCount, 3) << "a cross of three windows";
  EXPECT_TRUE(doc->Record(doc->CurrentRecord()).IsItem());
  EXPECT_FALSE(doc->IsModified()) << "saved at once";
  EXPECT_EQ(doc->DocumentPath(), temp / "work" / "av0001.ldt");
  EXPECT_EQ(Stored(ReadList(doc->DocumentPath())), Stored(doc->Records()));
  EXPECT_EQ(doc->Schedule().ProgramCount(), 2);
  EXPECT_FALSE(std::filesystem::exists(temp / "work" / "av0001.rsh")) << "no periods, no schedule file";

  // The shipped playbill starts one screen only: every later new document, even of a screen it
  // would suit, is the one-program default.
  const struct {
    int screen;
    std::size_t programs;
  } cases[] = {{1, 1}, {2, 1}, {3, 1}};
  for (const auto& c : cases) {
    ASSERT_TRUE(doc->SelectScreen(c.screen));
    EXPECT_EQ(ProgramNames(doc->Records()).size(), c.programs) << c.screen;
  }
  EXPECT_EQ(doc->Selection().windowCount, 1);
  EXPECT_EQ(doc->Record(1).window.width, 48);

  // Without the shipped file: the one-program default.
  doc->SetDefaultPlaybillFile(temp / "missing.ldt");
  ASSERT_TRUE(doc->SelectScreen(0));
  EXPECT_EQ(ProgramNames(doc->Records()).size(), 2u) << "its own file, read back";
  ASSERT_TRUE(doc->NewDocument());
  EXPECT_EQ(doc->Records().size(), 3u);
}

TEST(PlaybillDocument, SwitchingScreensSavesAndRestores) {
  TempFolder temp;
  auto doc = MakeDoc(temp, {Screen(1, 64, 32), Screen(2, 64, 64)});
  ASSERT_TRUE(doc->SelectScreen(0));
  ASSERT_TRUE(doc->AddProgram());
  Rename(*doc, 1, "Second");
  doc->Select(4);
  const PrgList first = doc->Records();

  ASSERT_TRUE(doc->SelectScreen(1));
  EXPECT_EQ(doc->CurrentScreenIndex(), 1);
  EXPECT_EQ(Stored(ReadList(temp / "work" / "av0001.ldt")), Stored(first)) << "the left playbill was saved";
  EXPECT_EQ(doc->Records().size(), 3u) << "a new playbill for the other screen";
  EXPECT_TRUE(std::filesystem::exists(temp / "work" / "av0002.ldt"));

  ASSERT_TRUE(doc->SelectScreen(0));
  EXPECT_EQ(Stored(doc->Records()), Stored(first));
  EXPECT_EQ(doc->CurrentRecord(), 4) << "the remembered selection";
  EXPECT_FALSE(doc->IsModified());
  EXPECT_FALSE(doc->SelectScreen(2));
  EXPECT_EQ(doc->CurrentScreenIndex(), 0);
}

TEST(PlaybillDocument, SwitchingStaysWhenThePlaybillCannotBeSaved) {
  TempFolder temp;
  auto doc = MakeDoc(temp, {Screen(1, 64, 32), Screen(2, 64, 64)});
  ASSERT_TRUE(doc->SelectScreen(0));
  const std::string saved = ReadText(temp / "work" / "av0001.ldt");
  ASSERT_TRUE(doc->AddProgram());
  // A folder in place of the temporary file's target: the rename over it fails.
  std::filesystem::remove(temp / "work" / "av0001.ldt");
  std::filesystem::create_directories(temp / "work" / "av0001.ldt" / "x");

  EXPECT_FALSE(doc->SelectScreen(1));
  EXPECT_EQ(doc->CurrentScreenIndex(), 0);
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(ProgramNames(doc->Records()).size(), 2u);
  const Status failed = doc->Save();
  EXPECT_FALSE(failed);
  EXPECT_TRUE(failed.detail().ends_with(" \u2014 " + (temp / "work" / "av0001.ldt").string())) << "the cause and the file: " << failed.detail();
  EXPECT_EQ(doc->SelectScreen(1), failed) << "switching fails for the same cause";

  std::filesystem::remove_all(temp / "work" / "av0001.ldt");
  EXPECT_TRUE(doc->SelectScreen(1));
  EXPECT_EQ(ProgramNames(ReadList(temp / "work" / "av0001.ldt")).size(), 2u);
  EXPECT_NE(saved, ReadText(temp / "work" / "av0001.ldt"));
}

// A screen's playbill that does not load is renamed aside before a new one is made in its place.
TEST(PlaybillDocument, APlaybillThatDoesNotLoadIsKeptAside) {
  const struct {
    const char* name;
    std::string content;
    const char* reason;
  } cases[] = {
      {"truncated", "[PRO", "file too short for its header (4 bytes)"},
      {"garbage, read leniently as text", std::string(300, '\x5A'), "no program"},
      {"no program", "[SCREEN]\r\nTYPE=6\r\nWIDTH=64\r\nHEIGHT=32\r\n[/SCREEN]\r\n", "no program"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    auto doc = MakeDoc(temp, {Screen(1, 64, 32), Screen(2, 64, 64)});
    ASSERT_TRUE(doc->SelectScreen(0));
    const std::filesystem::path file = temp / "work" / "av0002.ldt";
    ASSERT_TRUE(WriteFileAtomically(file, c.content));

    ASSERT_TRUE(doc->SelectScreen(1));
    EXPECT_EQ(doc->CurrentScreenIndex(), 1);
    const std::vector<Status> notices = doc->TakeNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text(), kTextPlaybillKept);
    const std::string& detail = notices[0].detail();
    const std::string prefix = file.string() + ".damaged-";
    ASSERT_TRUE(detail.starts_with(prefix)) << detail;
    EXPECT_EQ(detail.substr(prefix.size() + 15), std::string(" (") + c.reason + ")") << detail;
    const std::filesystem::path kept = detail.substr(0, prefix.size() + 15);
    EXPECT_EQ(ReadText(kept), c.content) << "kept as it was";
    EXPECT_EQ(ProgramNames(ReadList(file)).size(), 1u) << "a new playbill in its place";
    EXPECT_TRUE(doc->TakeNotices().empty()) << "taken once";
  }
}

TEST(PlaybillDocument, TheScheduleFollowsTheProgramsAndIsSavedBesideThePlaybill) {
  TempFolder temp;
  auto doc = MakeDoc(temp, {Screen(1, 64, 32)});
  ASSERT_TRUE(doc->SelectScreen(0));
  ASSERT_TRUE(doc->AddProgram());
  CPlaySchedule& schedule = doc->Schedule();
  ASSERT_EQ(schedule.ProgramCount(), 2);
  ASSERT_TRUE(schedule.AddEntry(0, "+0123456", {2024, 1, 1}, {2099, 12, 31}, {8, 0, 0}, {20, 0, 0}, "11"));
  doc->Select(0);
  ASSERT_TRUE(doc->AddProgram());  // inserted as program 2, not playing
  ASSERT_TRUE(doc->MoveProgramUp());
  EXPECT_EQ(schedule.Entries()[0].substr(40), "011");
  ASSERT_TRUE(doc->Save());
  EXPECT_FALSE(schedule.IsModified());

  auto reopened = MakeDoc(temp, {Screen(1, 64, 32)});
  ASSERT_TRUE(reopened->SelectScreen(0));
  EXPECT_EQ(reopened->Schedule().Entries(), schedule.Entries());
  EXPECT_EQ(reopened->Schedule().ProgramCount(), 3);
  ASSERT_TRUE(reopened->Delete(ProgramRecordAt(reopened->Records(), 0)));
  EXPECT_EQ(reopened->Schedule().Entries()[0].substr(40), "11");
}

TEST(PlaybillDocument, TheScheduleEditorReplacesThePeriodsAsOneStep) {
  TempFolder temp;
  auto doc = MakeDoc(temp, {Screen(1, 64, 32)});
  ASSERT_TRUE(doc->SelectScreen(0));
  ASSERT_TRUE(doc->AddProgram());
  ASSERT_TRUE(doc->Save());
  const std::size_t steps = doc->History().UndoCount();
  const std::vector<ScheduleEntry> periods{*ParseEntry("1000+0123456202401012099123108000020000001")};
  ASSERT_TRUE(doc->ReplaceSchedulePeriods(periods));
  EXPECT_EQ(doc->Schedule().Entries(), std::vector<std::string>{"1000+0123456202401012099123108000020000001"});
  EXPECT_TRUE(doc->IsModified());
  EXPECT_TRUE(doc->Schedule().IsModified());
  EXPECT_EQ(doc->History().UndoCount(), steps + 1);

  // A period for another number of programs changes nothing, and is no step.
  const std::vector<ScheduleEntry> wrong{*ParseEntry("1000+0123456202401012099123108000020000001"),
                                         *ParseEntry("1000+01234562024010120991231080000200000011")};
  const Status refused = doc->ReplaceSchedulePeriods(wrong);
  EXPECT_EQ(refused.detail(), "period 2 does not fit a schedule of 2 programs");
  EXPECT_EQ(doc->Schedule().EntryCount(), 1);
  EXPECT_EQ(doc->History().UndoCount(), steps + 1);

  ASSERT_TRUE(doc->Undo());
  EXPECT_EQ(doc->Schedule().EntryCount(), 0);
}

TEST(PlaybillDocument, AScheduleThatCannotBeReadIsNeverWrittenOver) {
  TempFolder temp;
  auto doc = MakeDoc(temp, {Screen(1, 64, 32)});
  ASSERT_TRUE(doc->SelectScreen(0));
  ASSERT_TRUE(doc->AddProgram());
  ASSERT_TRUE(doc->Save());
  const std::filesystem::path schedule = temp / "work" / "av0001.rsh";

  // Dropped entries: the rest is read; the document says what was dropped, without a notice.
  temp.Write("work/av0001.rsh", "[RUNSCH]\r\nVERSION=1\r\nPRGCNT=2\r\nSCHCNT=2\r\n"
                                "ITEM0=1000+01234562024010120991231080000200000\r\n"
                                "ITEM1=1000+0123456202401012099123108000020000011\r\n");
  auto reopened = MakeDoc(temp, {Screen(1, 64, 32)});
  ASSERT_TRUE(reopened->SelectScreen(0));
  EXPECT_EQ(reopened->Schedule().EntryCount(), 1);
  EXPECT_EQ(reopened->ScheduleWarnings().dropped, 1u);
  EXPECT_EQ(reopened->ScheduleWarnings().firstReason, "ITEM0: length 40, expected 42");
  EXPECT_TRUE(reopened->TakeNotices().empty());

  // The screen's own schedule cannot be read: kept aside, the playbill opens with an empty schedule.
  std::filesystem::remove(schedule);
  temp.Write("work/av0001.rsh/periods", "kept");
  reopened = MakeDoc(temp, {Screen(1, 64, 32)});
  ASSERT_TRUE(reopened->SelectScreen(0));
  EXPECT_EQ(reopened->Selection().programCount, 2);
  EXPECT_EQ(reopened->Schedule().EntryCount(), 0);
  const std::vector<Status> notices = reopened->TakeNotices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].text(), kTextScheduleKept);
  const std::string& detail = notices[0].detail();
  ASSERT_TRUE(detail.starts_with(schedule.string() + ".damaged-")) << detail;
  EXPECT_EQ(ReadText(detail.substr(0, detail.find(" (")) + "/periods"), "kept");
  EXPECT_FALSE(std::filesystem::exists(schedule));

  // Another file's schedule that cannot be read: the file does not open, and nothing changes.
  ASSERT_TRUE(WritePlaybill(temp / "show.lpl", {P("Other"), W(), I()}, Screen(1, 64, 32)));
  temp.Write("show.rsh/periods", "");
  const Status opened = reopened->OpenFile(temp / "show.lpl");
  EXPECT_FALSE(opened);
  EXPECT_NE(opened.detail().find((temp / "show.rsh").string()), std::string::npos) << opened.detail();
  EXPECT_EQ(reopened->Selection().programCount, 2);
  EXPECT_TRUE(std::filesystem::exists(temp / "show.rsh" / "periods"));
}

TEST(PlaybillDocument, OpenAndSaveOtherFiles) {
  TempFolder temp;
  auto doc = MakeDoc(temp, {Screen(1, 64, 32)});
  ASSERT_TRUE(doc->SelectScreen(0));
  // A playbill made for a wider screen: its windows are fitted on opening.
  const PrgList wide = {P("Wide"), W(50, 0, 20, 16), I(), W(0, 0, 100, 40), I()};
  ASSERT_TRUE(WritePlaybill(temp / "wide.lpl", wide, Screen(9, 128, 64)));
  CPlaySchedule schedule;
  schedule.SetProgramCount(1);
  schedule.AddEntry(0, "+0", {2024, 1, 1}, {2099, 1, 1}, {0, 0, 0}, {0, 0, 0}, "1");
  ASSERT_TRUE(schedule.WriteSchedule(temp / "wide.rsh"));

  ASSERT_TRUE(doc->OpenFile(temp / "wide.lpl"));
  EXPECT_EQ(doc->Record(1).window.left, 36) << "44 with bit 3 cleared";
  EXPECT_EQ(doc->Record(3).window.width, 64);
  EXPECT_EQ(doc->Record(3).window.left, 0);
  EXPECT_EQ(doc->Record(3).window.height, 32);
  EXPECT_EQ(doc->Schedule().EntryCount(), 1);
  EXPECT_EQ(doc->DocumentPath(), temp / "wide.lpl");
  EXPECT_TRUE(doc->IsModified()) << "the screen's own file does not hold it yet";

  ASSERT_TRUE(doc->SaveToFile(temp / "copy.lpl"));
  EXPECT_EQ(Stored(ReadList(temp / "copy.lpl")), Stored(doc->Records()));
  EXPECT_EQ(ReadText(temp / "copy.rsh"), ReadText(temp / "wide.rsh")) << "the schedule goes with a new file";
  EXPECT_TRUE(doc->IsModified());
  ASSERT_TRUE(doc->Save());
  EXPECT_EQ(Stored(ReadList(temp / "work" / "av0001.ldt")), Stored(doc->Records()));
  EXPECT_EQ(ReadText(temp / "work" / "av0001.rsh"), ReadText(temp / "wide.rsh"));
  EXPECT_FALSE(doc->IsModified());

  // Files that give no program change nothing.
  const PrgList before = doc->Records();
  std::ofstream(temp / "empty.lpl") << std::string(40, 'x');
  EXPECT_FALSE(doc->OpenFile(temp / "empty.lpl"));
  EXPECT_FALSE(doc->OpenFile(temp / "missing.lpl"));
  EXPECT_EQ(doc->Records(), before);
}

TEST(PlaybillDocument, ExportWritesACopyWithItsSchedule) {
  TempFolder temp;
  auto doc = MakeDoc(temp, {Screen(1, 64, 64)});
  ASSERT_TRUE(doc->SelectScreen(0));
  ASSERT_TRUE(doc->AddProgram());
  doc->Schedule().AddEntry(1, "^0", {2024, 1, 1}, {2099, 1, 1}, {0, 0, 0}, {0, 0, 0}, "10");
  ASSERT_TRUE(ExportPlaybill(*doc, temp / "out.lpl"));
  EXPECT_EQ(doc->DocumentPath(), temp / "work" / "av0001.ldt");
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(ReadText(temp / "out.lpl"), ReadText(temp / "work" / "av0001.ldt"));
  EXPECT_EQ(ReadText(temp / "out.rsh"), ReadText(temp / "work" / "av0001.rsh"));
  tagScreenInfo screen;
  ASSERT_TRUE(ReadPlaybillScreen(temp / "out.lpl", screen));
  EXPECT_EQ(screen, Screen(1, 64, 64));
  EXPECT_FALSE(ExportPlaybill(*doc, temp / "missing" / "out.lpl"));
}

TEST(PlaybillDocument, ImportIntoTheCurrentScreen) {
  TempFolder temp;
  auto doc = MakeDoc(temp, {Screen(1, 64, 64, 0x01), Screen(2, 64, 32), Screen(3, 64, 64, 0x77, 7)});
  ASSERT_TRUE(WritePlaybill(temp / "show.lpl", {P("Imported"), W(), I(), P("Two"), W(), I()}, Screen(7, 64, 64)));
  CPlaySchedule schedule;
  schedule.SetProgramCount(2);
  schedule.AddEntry(0, "+0", {2024, 1, 1}, {2099, 1, 1}, {0, 0, 0}, {0, 0, 0}, "01");
  ASSERT_TRUE(schedule.WriteSchedule(temp / "show.rsh"));

  // A 64 x 64 screen of another colour mode takes it.
  ASSERT_TRUE(doc->SelectScreen(0));
  const Status imported = ImportPlaybill(*doc, temp / "show.lpl");
  EXPECT_TRUE(imported) << imported.detail();
  EXPECT_EQ(ProgramNames(doc->Records()), (std::vector<std::string>{"Imported", "Two"}));
  EXPECT_EQ(ProgramNames(ReadList(temp / "work" / "av0001.ldt")), ProgramNames(doc->Records()));
  EXPECT_EQ(ReadText(temp / "work" / "av0001.rsh"), ReadText(temp / "show.rsh"));
  EXPECT_FALSE(doc->IsModified());

  // A 64 x 32 screen, or another class, does not.
  for (int screen : {1, 2}) {
    ASSERT_TRUE(doc->SelectScreen(screen));
    const PrgList before = doc->Records();
    const Status refused = ImportPlaybill(*doc, temp / "show.lpl");
    EXPECT_FALSE(refused);
    EXPECT_EQ(ImportFailureText(refused), LoadText(kTextImportRefused) + "\n\n 64(w) x 64(h), Full color\n");
    EXPECT_EQ(doc->Records(), before);
  }

  // A file that holds no program is refused, and so is one that cannot be read.
  ASSERT_TRUE(doc->SelectScreen(0));
  std::ofstream(temp / "screen-only.lpl") << "[SCREEN]\r\nTYPE=6\r\nWIDTH=64\r\nHEIGHT=64\r\n[/SCREEN]\r\n";
  // Each refusal says its cause.
  EXPECT_EQ(ImportFailureText(ImportPlaybill(*doc, temp / "screen-only.lpl")),
            "Failed: no program \u2014 " + (temp / "screen-only.lpl").string());
  EXPECT_EQ(ImportFailureText(ImportPlaybill(*doc, temp / "missing.lpl")),
            "Failed: No such file or directory \u2014 " + (temp / "missing.lpl").string());
  EXPECT_EQ(ProgramNames(doc->Records()), (std::vector<std::string>{"Imported", "Two"}));
}

TEST(PlaybillDocument, ImportIntoSeveralScreens) {
  TempFolder temp;
  auto doc = MakeDoc(temp, {Screen(1, 64, 64), Screen(2, 64, 64, 0x03), Screen(3, 64, 64, 0x01), Screen(4, 64, 32)});
  const PrgList file = {P("Shared"), W(), I(), I(), W(0, 0, 8, 8), I()};
  ASSERT_TRUE(WritePlaybill(temp / "show.lpl", file, Screen(9, 64, 64)));
  CPlaySchedule schedule;
  schedule.SetProgramCount(1);
  schedule.AddEntry(0, "+0", {2024, 1, 1}, {2099, 1, 1}, {0, 0, 0}, {0, 0, 0}, "1");
  ASSERT_TRUE(schedule.WriteSchedule(temp / "show.rsh"));
  ASSERT_TRUE(doc->SelectScreen(0));
  const PrgList current = doc->Records();

  tagScreenInfo fileScreen;
  ASSERT_TRUE(ReadPlaybillScreen(temp / "show.lpl", fileScreen));
  EXPECT_EQ(ImportFailureText(CheckImportScreens(fileScreen, doc->Screens(), {1, 3})),
            LoadText(kTextImportRefused) + "\n\n 64(w) x 64(h), Full color\n");
  EXPECT_TRUE(CheckImportScreens(fileScreen, doc->Screens(), {0, 1, 2}).ok());

  // Screen 3's playbill cannot be written; the others are.
  std::filesystem::create_directories(temp / "work" / "av0003.ldt" / "x");
  const ScreensImport result = ImportToScreens(*doc, temp / "show.lpl", {1, 2});
  EXPECT_FALSE(result.currentChosen);
  EXPECT_EQ(result.failedScreens, (std::vector<int>{2}));
  EXPECT_EQ(FailedScreensText(doc->Screens(), result.failedScreens), "Failed: Korvan-M5[3]");
  EXPECT_EQ(Stored(ReadList(temp / "work" / "av0002.ldt")), Stored(ReadList(temp / "show.lpl")));
  EXPECT_EQ(ReadText(temp / "work" / "av0002.rsh"), ReadText(temp / "show.rsh"));
  EXPECT_EQ(doc->Records(), current) << "only other screens were chosen";
  EXPECT_TRUE(ImportToScreens(*doc, temp / "show.lpl", {0}).currentChosen);

  // A schedule beside the file that cannot be read: no screen gets the playbill without it.
  std::filesystem::remove(temp / "show.rsh");
  std::filesystem::create_directories(temp / "show.rsh" / "x");
  const std::string before = ReadText(temp / "work" / "av0002.ldt");
  const ScreensImport unreadable = ImportToScreens(*doc, temp / "show.lpl", {1});
  EXPECT_EQ(unreadable.failedScreens, (std::vector<int>{1}));
  ASSERT_EQ(unreadable.failures.size(), 1u);
  EXPECT_NE(unreadable.failures[0].detail().find((temp / "show.rsh").string()), std::string::npos)
      << unreadable.failures[0].detail();
  EXPECT_EQ(ReadText(temp / "work" / "av0002.ldt"), before);
}

}  // namespace
}  // namespace vantorel

// vantorel-cli "playbill" and "schedule": a playbill built, exported and imported entirely from
// the command line, as a user would.

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "app/text_table.h"
#include "platform/atomic_file.h"
#include "playbill/play_schedule.h"
#include "playbill/playbill_reader.h"
#include "playbill/playbill_writer.h"
#include "playbill/prg_list.h"
#include "support/cli_runner.h"
#include "support/test_files.h"

namespace vantorel {
namespace {

using test::ReadText;
using test::RunResult;

class PlaybillCliTest : public test::CliTest {
protected:
  // Runs a command that must succeed.
  std::string Ok(const std::string& arguments) const {
    const RunResult result = Run(arguments);
    EXPECT_EQ(result.exitCode, 0) << arguments << "\n" << result.err;
    return result.out;
  }
  // Runs a command that must fail, returning its message.
  std::string Refused(const std::string& arguments) const {
    const RunResult result = Run(arguments);
    EXPECT_EQ(result.exitCode, 1) << arguments << "\n" << result.out;
    return result.err;
  }
  std::filesystem::path Work(const std::string& name) const { return DataFolder() / "work" / name; }

  // The records of a playbill file in their stored form, whichever screen header it carries.
  static std::vector<std::uint8_t> StoredRecords(const std::filesystem::path& file) {
    PrgList list;
    int version = 110;
    EXPECT_TRUE(ReadPlaybill(file, list, version).ok()) << file;
    tagScreenInfo screen;
    screen.type = 6;
    return EncodePlaybill(list, screen, -1, "/").value_or(std::vector<std::uint8_t>());
  }
  // A 2 x 2 BMP picture.
  void WritePicture(const std::filesystem::path& file) const {
    const unsigned char bmp[] = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0,
                                 1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0, 0, 0};
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bmp), sizeof bmp);
  }
};

// A damaged playbill is kept beside the new one and the command says so, yet succeeds.
TEST_F(PlaybillCliTest, ADamagedPlaybillIsKeptAndNamed) {
  Ok("playbill show");
  const std::string damaged = ReadText(Work("av0001.ldt")).substr(0, 30);
  ASSERT_TRUE(WriteFileAtomically(Work("av0001.ldt"), damaged));
  const RunResult shown = Run("playbill show");
  EXPECT_EQ(shown.exitCode, 0) << shown.err;
  const std::string prefix = LoadText(kTextPlaybillKept) + ": " + Work("av0001.ldt").string() + ".damaged-";
  ASSERT_TRUE(shown.err.starts_with(prefix)) << shown.err;
  EXPECT_NE(shown.out.find("Program[1]"), std::string::npos) << shown.out;
  std::size_t copies = 0;
  for (const auto& entry : std::filesystem::directory_iterator(DataFolder() / "work")) {
    if (entry.path().filename().string().starts_with("av0001.ldt.damaged-")) {
      ++copies;
      EXPECT_EQ(ReadText(entry.path()), damaged);
    }
  }
  EXPECT_EQ(copies, 1u);
  EXPECT_EQ(Run("playbill show").err, "") << "the new playbill loads";

  // Damaged twice within a second: both copies are kept.
  for (const char* content : {"one damaged", "two damaged"}) {
    ASSERT_TRUE(WriteFileAtomically(Work("av0001.ldt"), std::string(content)));
    EXPECT_EQ(Run("playbill show").exitCode, 0);
  }
  std::vector<std::string> contents;
  for (const auto& entry : std::filesystem::directory_iterator(DataFolder() / "work")) {
    if (entry.path().filename().string().starts_with("av0001.ldt.damaged-")) contents.push_back(ReadText(entry.path()));
  }
  std::vector<std::string> expected = {damaged, "one damaged", "two damaged"};
  std::sort(contents.begin(), contents.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(contents, expected);
}

TEST_F(PlaybillCliTest, AFreshScreenShowsTheShippedCross) {
  const std::string out = Ok("playbill show");
  EXPECT_EQ(out.substr(0, out.find('\n')), "Screen 1: Korvan-M5[1], 48 x 48");
  EXPECT_NE(out.find("Clock[1]\n  Window[1]\tleft 16 top 0 width 16 height 16\n"), std::string::npos) << out;
  EXPECT_NE(out.find("    Welcome\tcell-text\tScroll left continuously\n"), std::string::npos) << out;
  EXPECT_TRUE(std::filesystem::exists(Work("av0001.ldt")));
  EXPECT_EQ(Refused("playbill --screen 2 show"), "there is no screen 2 (the list holds 1 screen)\n");
}

TEST_F(PlaybillCliTest, BuildExportAndImportIntoOtherScreens) {
  Ok("screens add --admin-password 50731 --id 2 --width 64 --height 64");
  Ok("screens add --admin-password 50731 --id 3 --width 64 --height 64 --color 'RG color'");
  Ok("screens add --admin-password 50731 --id 4 --width 64 --height 32");
  Ok("screens add --admin-password 50731 --id 5 --width 64 --height 64 --color Mono");
  const std::filesystem::path picture = Dir() / "sky.bmp";
  WritePicture(picture);

  // A playbill of three programs on screen 2.
  Ok("playbill --screen 2 new");
  Ok("playbill add-program --screen 2");
  Ok("playbill add-program --screen 2 --after 1");
  Ok("playbill layout 3 --program 2 --screen 2");
  Ok("playbill add-item --screen 2 --kind clock --to 2.3 --color green --font-height 16");
  Ok("playbill add-item --screen 2 --kind cell-text --text 'Open 24h' --color yellow --effect 'Scroll left' --to 2.1.1");
  Ok("playbill add-item --screen 2 --kind image-text --text 'Hello {world}' --to 1.1");
  Ok("playbill add-item --screen 2 --kind picture --media " + Quote(picture) + " --to 3.1 --time 5");
  Ok("playbill set-program 1 --name Morning --days 12345 --window 08:00-20:00 --screen 2");
  Ok("playbill set-background 3 " + Quote(picture) + " --screen 2");
  Ok("playbill move 3 up --screen 2");
  Ok("playbill delete 2.1.1 --screen 2");
  const std::string tree = Ok("playbill show --screen 2");
  EXPECT_EQ(tree,
            "Screen 2: Korvan-M5[2], 64 x 64\n"
            "Morning[1]\tdays _12345_ 08:00-20:00\n"
            "  Window[1]\tleft 0 top 0 width 64 height 64\n"
            "    Welcome\timage-text\tRandom\n"
            "    Hello {world}\timage-text\tRandom\n"
            "Program[2]\tbackground " + picture.string() + "\n"
            "  Window[1]\tleft 0 top 0 width 64 height 64\n"
            "    sky.bmp\tpicture\tRandom\n"
            "Program[3]\n"
            "  Window[1]\tleft 16 top 0 width 32 height 16\n"
            "    Welcome\timage-text\tRandom\n"
            "    Open 24h\tcell-text\tScroll left\n"
            "  Window[2]\tleft 0 top 16 width 16 height 32\n"
            "    Welcome\timage-text\tRandom\n"
            "  Window[3]\tleft 16 top 16 width 32 height 32\n"
            "    Welcome\timage-text\tRandom\n"
            "    [Clock]\tclock\tRandom\n"
            "  Window[4]\tleft 48 top 16 width 16 height 32\n"
            "    Welcome\timage-text\tRandom\n"
            "  Window[5]\tleft 16 top 48 width 32 height 16\n"
            "    Welcome\timage-text\tRandom\n");

  // Its schedule and the checks.
  Ok("schedule --screen 2 add --from 2025-01-01 --to 2099-12-31 --start 08:00 --end 20:00 --days 06 --mode --programs 1,3");
  EXPECT_EQ(Ok("schedule show --screen 2"),
            "Programs 3, attribute 0, periods 1\n1\t0\t^0_____6\t2025.01.01-2099.12.31\t08:00:00-20:00:00\t1, 3\n");
  EXPECT_EQ(Refused("schedule add --screen 2 --from 2025-01-01 --to 2020-12-31"), "The end date less than the begin date\n");
  EXPECT_EQ(Refused("schedule add --screen 2 --from 2020-01-01 --to 2020-12-31"), "The end date less than today\n");
  // Years the controller's one-byte year cannot hold.
  EXPECT_EQ(Refused("schedule add --screen 2 --from 1999-12-31 --to 2030-12-31"),
            "The year must lie between 2000 and 2099\n");
  EXPECT_EQ(Refused("schedule add --screen 2 --from 2100-01-01 --to 2100-12-31"),
            "The year must lie between 2000 and 2099\n");
  EXPECT_EQ(Ok("schedule check --screen 2"), "Some program plays at every moment of the week.\n");
  Ok("playbill set-program 2 --days all --window 00:00-12:00 --screen 2");
  Ok("playbill set-program 3 --days all --window 12:00-23:00 --screen 2");
  EXPECT_EQ(Refused("schedule check --screen 2"), "Warning: Sometimes there is not any program to be played.\n");
  // With the period (Sunday and Saturday, 08:00-20:00, programs 1 and 3) only program 3 plays, from 12:00.
  const std::string weekend = "............########....\n";
  const std::string none(24, '.');
  EXPECT_EQ(Ok("schedule hours --screen 2"),
            "Judged from the periods and the programs' own time windows.\n"
            "           0     6     12    18\n"
            "Sunday     " + weekend + "Monday     " + none + "\nTuesday    " + none + "\nWednesday  " + none +
            "\nThursday   " + none + "\nFriday     " + none + "\nSaturday   " + weekend +
            "Warning: Sometimes there is not any program to be played.\n");
  Ok("schedule rsf --screen 2 " + Quote(Dir() / "0002.rsf"));
  EXPECT_EQ(ReadText(Dir() / "0002.rsf").size(), 16u + 14u + 1u);

  // Export, then import into two other 64 x 64 screens of other colours.
  EXPECT_EQ(Ok("playbill export --screen 2 " + Quote(Dir() / "show")), "Exported Korvan-M5[2] to " + (Dir() / "show.lpl").string() + "\n");
  EXPECT_EQ(Refused("playbill import " + Quote(Dir() / "show.lpl") + " --screens 3,4"),
            "Fail to import for the screen properties recorded in playbill \nis different from current LED screen!\n\n"
            " 64(w) x 64(h), Full color\n\n");
  EXPECT_FALSE(std::filesystem::exists(Work("av0003.ldt"))) << "a refused import changes no screen";
  EXPECT_EQ(Ok("playbill import " + Quote(Dir() / "show.lpl") + " --screens 3,5"),
            "Imported into screen 3: Korvan-M5[3]\nImported into screen 5: Korvan-M5[5]\n");
  EXPECT_EQ(Refused("playbill --screen 4 import " + Quote(Dir() / "show.lpl")),
            "Fail to import for the screen properties recorded in playbill \nis different from current LED screen!\n\n"
            " 64(w) x 64(h), Full color\n\n");

  // Every copy holds the same playbill and schedule.
  const auto original = StoredRecords(Work("av0002.ldt"));
  for (const char* name : {"av0003", "av0005"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(StoredRecords(Work(std::string(name) + ".ldt")), original);
    EXPECT_EQ(ReadText(Work(std::string(name) + ".rsh")), ReadText(Work("av0002.rsh")));
  }
  EXPECT_EQ(StoredRecords(Dir() / "show.lpl"), original);
  EXPECT_EQ(ReadText(Dir() / "show.rsh"), ReadText(Work("av0002.rsh")));
  const std::string source = Ok("playbill show --screen 2");
  const std::string imported = Ok("playbill show --screen 3");
  EXPECT_EQ(imported.substr(imported.find('\n')), source.substr(source.find('\n')));
  EXPECT_EQ(Ok("schedule show --screen 5"), Ok("schedule show --screen 2"));

  // The imported file holds media paths that still name the picture.
  PrgList list;
  int version = 110;
  ASSERT_TRUE(ReadPlaybill(Work("av0005.ldt"), list, version).ok());
  EXPECT_EQ(list[ProgramRecordAt(list, 1)].program.backgrd.str(), picture.string());
}

// Periods of a schedule file that are not whole are dropped, and the commands say so on stderr.
TEST_F(PlaybillCliTest, DroppedPeriodsAreNamed) {
  Ok("playbill show");
  ASSERT_TRUE(WriteFileAtomically(Work("av0001.rsh"), std::string("[RUNSCH]\r\nVERSION=1\r\nPRGCNT=1\r\nSCHCNT=2\r\n"
                                                                  "ITEM1=1000+01234562024010120991231080000200000\r\n")));
  const RunResult shown = Run("schedule show");
  EXPECT_EQ(shown.exitCode, 0);
  EXPECT_EQ(shown.out, "Programs 2, attribute 0, periods 0\n") << "in step with the playbill";
  EXPECT_EQ(shown.err, Work("av0001.rsh").string() + ": 2 entries dropped (ITEM0: missing)\n");
  EXPECT_EQ(Ok("schedule hours"),
            "No periods: judged from the programs' own time windows.\n"
            "           0     6     12    18\n"
            "Sunday     ########################\nMonday     ########################\n"
            "Tuesday    ########################\nWednesday  ########################\n"
            "Thursday   ########################\nFriday     ########################\n"
            "Saturday   ########################\n");
}

// Cell text is in the screen's font code page: GB2312 on the default screen, one cell a character.
TEST_F(PlaybillCliTest, CellTextTakesTheScreensCodePage) {
  const std::string out = Ok("playbill add-item --kind cell-text --to 1.1 --text '\u20ACAB \u4E2D\u6587'");
  EXPECT_NE(out.find("    \u20ACAB \u4E2D\u6587\tcell-text"), std::string::npos) << out;
  PrgList list;
  int version = 0;
  ASSERT_TRUE(ReadPlaybill(Work("av0001.ldt"), list, version).ok());
  const auto added = std::find_if(list.begin(), list.end(), [](const tagPrgItem& record) {
    return record.IsItem() && record.item.richTxt && record.item.richTxt->CellText() == "\xA2\xE3" "AB \xD6\xD0\xCE\xC4";
  });
  ASSERT_NE(added, list.end());
  const auto bytes = added->item.richTxt->StoredBytes(kKindCellText);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
            std::string("\x06\x00\x03\x12\xA2\xE3\x12\0A\x12\0B\x12\0 \x12\xD6\xD0\x12\xCE\xC4", 21))
      << "the euro sign as a pair: the A after it stays a cell of its own";
  EXPECT_EQ(Refused("playbill add-item --kind cell-text --text '\uD55C'"),
            "--text: the screen's font code page (GB2312) has no \"\uD55C\"\n");
  EXPECT_EQ(Refused("playbill add-item --kind cell-text --text " + std::string(6000, 'x')), "--text: at most 5459 characters\n");
}

TEST_F(PlaybillCliTest, RefusedEdits) {
  Ok("playbill delete 2");
  EXPECT_EQ(Refused("playbill delete 1"), "the only program cannot be deleted\n");
  EXPECT_EQ(Refused("playbill delete 1.1"), "windows are changed through layouts, not deleted one by one\n");
  EXPECT_EQ(Refused("playbill delete 1.9.1"), "program 1 has no window 9\n");
  EXPECT_EQ(Refused("playbill delete x"), "'x' is no address: use P, P.W or P.W.I with 1-based numbers\n");
  EXPECT_EQ(Refused("playbill move 1 up"), "program 1 is already the first one\n");
  EXPECT_EQ(Refused("playbill add-item --kind toaster"),
            "unknown item kind 'toaster'; kinds: picture, text-file, document, video, clock, cell-text, animation, "
            "image-text, sensor, time-counter, work-counter (or 1-11)\n");
  EXPECT_EQ(Refused("playbill add-item --kind picture"), "--media FILE is needed for picture items\n");
  EXPECT_EQ(Refused("playbill add-item --kind picture --media /no/such.bmp"), "--media: no such file: /no/such.bmp\n");
  EXPECT_EQ(Refused("playbill set-background 1 " + Quote(VANTOREL_SOURCE_DIR "/README.md")),
            "cannot use " VANTOREL_SOURCE_DIR "/README.md as a background: it cannot be decoded or its path is longer than 260 bytes\n");
  EXPECT_EQ(Refused("schedule remove 1"), "there is no period 1 (the schedule has 0)\n");
}

}  // namespace
}  // namespace vantorel

// The play schedule: entry strings, program columns, the ".rsh" file, the controller's ".rsf"
// form and the period editor's rules.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/status_text.h"
#include "playbill/period_rules.h"
#include "playbill/play_schedule.h"
#include "support/temp_folder.h"
#include "support/record_builders.h"

namespace vantorel {
namespace {

using test::TempFolder;

const ScheduleDate kJan1{2024, 1, 1};
const ScheduleDate kDec31{2030, 12, 31};
const ScheduleTime kEight{8, 0, 0};
const ScheduleTime kEightPm{20, 0, 0};

// A schedule of `programCount` programs holding one entry per flag string.
CPlaySchedule ScheduleOf(int programCount, const std::vector<std::string>& flags) {
  CPlaySchedule schedule;
  EXPECT_TRUE(schedule.SetProgramCount(programCount));
  for (const std::string& programs : flags) {
    EXPECT_TRUE(schedule.AddEntry(0, "+0123456", kJan1, kDec31, kEight, kEightPm, programs));
  }
  return schedule;
}

std::string Programs(const CPlaySchedule& schedule, int entry = 0) { return schedule.Entries().at(entry).substr(40); }

TEST(ScheduleEntry, WeekdayFieldAndMask) {
  const struct {
    std::uint8_t mask;
    const char* field;
  } cases[] = {{0xC1, "^0_____6"}, {0x7F, "+0123456"}, {0x2A, "+_1_3_5_"}, {0x80, "^_______"}, {0x00, "+_______"}};
  for (const auto& c : cases) {
    EXPECT_EQ(WeekdayField(c.mask), c.field);
    EXPECT_EQ(WeekdayMaskOf(c.field), c.mask) << c.field;
  }
  // Digits count wherever they stand, "^" only at the start; other characters are ignored.
  EXPECT_EQ(WeekdayMaskOf("+6543210"), 0x7F);
  EXPECT_EQ(WeekdayMaskOf("x^9_7__0"), 0x01);
  EXPECT_EQ(WeekdayMaskOf("^0"), 0x81);
}

TEST(ScheduleEntry, MakeAndParse) {
  const auto entry = MakeEntry(3, "^0", {2024, 2, 29}, {2099, 12, 31}, {7, 5, 0}, {23, 59, 0}, "101");
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(*entry, "1300^0______2024022920991231070500235900101");
  EXPECT_EQ(entry->size(), 43u);
  const auto parts = ParseEntry(*entry);
  ASSERT_TRUE(parts.has_value());
  EXPECT_EQ(parts->type, 3);
  EXPECT_EQ(parts->weekdays, "^0______");
  EXPECT_EQ(parts->weekdayMask, 0x81);
  EXPECT_EQ(parts->startDate.day, 29);
  EXPECT_EQ(parts->endDate.year, 2099);
  EXPECT_EQ(parts->startTime.minute, 5);
  EXPECT_EQ(parts->endTime.hour, 23);
  EXPECT_EQ(parts->programs, "101");
  EXPECT_EQ(DateRangeText(*parts), "2024.02.29-2099.12.31");
  EXPECT_EQ(TimeRangeText(*parts), "07:05:00-23:59:00");
  EXPECT_EQ(ProgramsText(*parts), "1, 3");

  // What no entry string can hold is refused.
  EXPECT_FALSE(MakeEntry(10, "+", kJan1, kDec31, kEight, kEightPm, ""));
  EXPECT_FALSE(MakeEntry(0, "+", {10000, 1, 1}, kDec31, kEight, kEightPm, ""));
  EXPECT_FALSE(MakeEntry(0, "+", kJan1, {2030, -1, 1}, kEight, kEightPm, ""));
  EXPECT_FALSE(MakeEntry(0, "+", kJan1, kDec31, {100, 0, 0}, kEightPm, ""));
  EXPECT_FALSE(MakeEntry(0, "+", kJan1, kDec31, kEight, kEightPm, "12"));
  // Weekday fields with blanks or control characters would not read back.
  EXPECT_FALSE(MakeEntry(0, "+0 2", kJan1, kDec31, kEight, kEightPm, ""));
  EXPECT_FALSE(MakeEntry(0, "+0\n", kJan1, kDec31, kEight, kEightPm, ""));
  // A long weekday field is cut to 8 characters.
  EXPECT_EQ(MakeEntry(0, "+0123456789", kJan1, kDec31, kEight, kEightPm, "")->substr(4, 8), "+0123456");

  // Parsing: unset dates show as x; a type that is no digit is 0; damaged numbers do not parse.
  const auto zeros = ParseEntry("1x00+_______0000000000000000000000000000");
  ASSERT_TRUE(zeros.has_value());
  EXPECT_EQ(zeros->type, 0);
  EXPECT_EQ(DateRangeText(*zeros), "xxxx.xx.xx-xxxx.xx.xx");
  EXPECT_EQ(ProgramsText(*zeros), "");
  EXPECT_FALSE(ParseEntry("0000+_______0000000000000000000000000000"));
  EXPECT_FALSE(ParseEntry("1000+_______00000000000000000000000000"));
  EXPECT_FALSE(ParseEntry("1000+_______2024o101203012310800002000000"));
}

TEST(ScheduleEntry, ProgramFlagsFromNumbers) {
  const struct {
    const char* text;
    int programs;
    std::optional<std::string> flags;
  } rows[] = {
      {"all", 3, "111"}, {"none", 3, "000"}, {"1,3", 3, "101"}, {" 2 , 2 ", 3, "010"}, {"3", 3, "001"},
      {"4", 3, std::nullopt}, {"0", 3, std::nullopt}, {"1,", 3, std::nullopt}, {"", 3, std::nullopt},
      {"one", 3, std::nullopt}, {"-1", 3, std::nullopt}, {"all", 0, ""}, {"1", 0, std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(ProgramFlagsOf(row.text, row.programs), row.flags) << row.text;
}

TEST(PlaySchedule, ProgramColumnsFollowThePlaybill) {
  CPlaySchedule schedule = ScheduleOf(3, {"101", "011"});
  schedule.SetModified(false);
  schedule.InsertProgram(0, false);
  EXPECT_EQ(Programs(schedule, 0), "0101");
  EXPECT_EQ(Programs(schedule, 1), "0011");
  EXPECT_EQ(schedule.ProgramCount(), 4);
  EXPECT_TRUE(schedule.IsModified());
  schedule.InsertProgram(4, true);
  EXPECT_EQ(Programs(schedule), "01011");
  schedule.InsertProgram(99, false);  // past the end: appended
  EXPECT_EQ(Programs(schedule), "010110");
  schedule.RemoveProgram(1);
  EXPECT_EQ(Programs(schedule), "00110");
  schedule.SwapProgram(2, true);
  EXPECT_EQ(Programs(schedule), "00110");  // equal flags
  schedule.SwapProgram(3, true);
  EXPECT_EQ(Programs(schedule), "00101");
  schedule.SwapProgram(3, false);
  EXPECT_EQ(Programs(schedule), "00011");

  // Refused: moving the first up, the last down, removing what is not there.
  for (const auto& refused : std::vector<std::function<void()>>{
           [&] { schedule.SwapProgram(0, false); }, [&] { schedule.SwapProgram(4, true); },
           [&] { schedule.RemoveProgram(5); }, [&] { schedule.RemoveProgram(-1); }, [&] { schedule.InsertProgram(-1, true); }}) {
    refused();
    EXPECT_EQ(Programs(schedule), "00011");
    EXPECT_EQ(schedule.ProgramCount(), 5);
  }
  EXPECT_EQ(schedule.Entries().at(1).size(), 45u);
}

TEST(PlaySchedule, EntriesNeedTheRightProgramCount) {
  CPlaySchedule schedule = ScheduleOf(2, {"10"});
  EXPECT_FALSE(schedule.AddEntry(0, "+", kJan1, kDec31, kEight, kEightPm, "1"));
  EXPECT_FALSE(schedule.SetProgramCount(3)) << "entries exist";
  EXPECT_TRUE(schedule.RemoveEntry(0));
  EXPECT_FALSE(schedule.RemoveEntry(0));
  EXPECT_TRUE(schedule.SetProgramCount(3));
  EXPECT_FALSE(schedule.GetEntry(0));
  schedule.AddEntry(1, "+", kJan1, kDec31, kEight, kEightPm, "111");
  schedule.Clear();
  EXPECT_EQ(schedule.EntryCount(), 0);
  EXPECT_EQ(schedule.ProgramCount(), 3);
}

TEST(PlaySchedule, TheEditorReplacesEveryEntry) {
  CPlaySchedule schedule = ScheduleOf(2, {"10", "01"});
  schedule.SetAttribute(7);
  const std::vector<ScheduleEntry> periods{*ParseEntry("1300^0______2024022920991231070500235900101"),
                                           *ParseEntry("1000+_1_____2024010120301231080000200000011")};
  schedule.SetModified(false);
  ASSERT_TRUE(schedule.ReplaceEntries(3, periods));
  EXPECT_EQ(schedule.ProgramCount(), 3);
  EXPECT_EQ(schedule.Attribute(), 7);
  EXPECT_EQ(schedule.Entries(), (std::vector<std::string>{"1300^0______2024022920991231070500235900101",
                                                          "1000+_1_____2024010120301231080000200000011"}));
  EXPECT_TRUE(schedule.IsModified());
  // No periods: an empty schedule of the playbill's programs.
  ASSERT_TRUE(schedule.ReplaceEntries(1, {}));
  EXPECT_EQ(schedule.EntryCount(), 0);
  EXPECT_EQ(schedule.ProgramCount(), 1);

  // A period for another program count is refused and nothing changes.
  schedule = ScheduleOf(2, {"10"});
  const std::vector<ScheduleEntry> mixed{periods[0], *ParseEntry("1000+_1_____202401012030123108000020000001")};
  const Status refused = schedule.ReplaceEntries(3, mixed);
  EXPECT_FALSE(refused);
  EXPECT_EQ(refused.detail(), "period 2 does not fit a schedule of 3 programs");
  EXPECT_EQ(schedule.Entries(), ScheduleOf(2, {"10"}).Entries());
  EXPECT_EQ(schedule.ProgramCount(), 2);
}

TEST(PeriodRules, AddingACheckedPeriod) {
  const CivilDay today{2025, 6, 15};
  ScheduleEntry period = *ParseEntry("1200^0_____62025010120991231080000200000101");
  const struct {
    const char* name;
    std::function<void(ScheduleEntry&)> change;
    int scheduleColumns;  // -1: no entry yet
    TextId text;
    std::string detail;
  } rows[] = {
      {"accepted", [](ScheduleEntry&) {}, -1, kNoTextId, ""},
      {"accepted beside others", [](ScheduleEntry&) {}, 3, kNoTextId, ""},
      {"end before start", [](ScheduleEntry& p) { p.endDate = {2024, 12, 31}; }, -1, kTextEndBeforeStart, ""},
      {"end before today", [](ScheduleEntry& p) { p.endDate = {2025, 6, 14}; }, -1, kTextEndBeforeToday, ""},
      {"year past 2099", [](ScheduleEntry& p) { p.endDate = {2100, 1, 1}; }, -1, kTextYearOutOfRange, ""},
      {"no day", [](ScheduleEntry& p) { p.weekdayMask = 0; }, -1, kTextFailed,
       "the period is not valid: months 1-12 and days 1-31 set at both ends or at neither, hours 0-23, minutes 0-59, "
       "at least one day or the mode flag"},
      {"columns for another count", [](ScheduleEntry&) {}, 2, kTextFailed,
       "the schedule has columns for 2 programs, the playbill 3: remove its periods first"},
      {"flags for another count", [](ScheduleEntry& p) { p.programs = "1"; }, -1, kTextFailed,
       "the period does not fit the schedule"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CPlaySchedule schedule;
    if (row.scheduleColumns >= 0) {
      schedule = ScheduleOf(row.scheduleColumns, {std::string(static_cast<std::size_t>(row.scheduleColumns), '1')});
    }
    const int before = schedule.EntryCount();
    ScheduleEntry changed = period;
    row.change(changed);
    const Status added = AddCheckedPeriod(schedule, 3, changed, today);
    EXPECT_EQ(added.text(), row.text);
    EXPECT_EQ(added.detail(), row.detail);
    EXPECT_EQ(schedule.EntryCount(), before + (added ? 1 : 0));
    if (added) {
      EXPECT_EQ(schedule.Entries().back(), "1200^0_____62025010120991231080000200000101");
    }
  }
}

TEST(PlaySchedule, ScheduleFileWrittenAndRead) {
  TempFolder temp;
  const auto file = temp / "av0001.rsh";
  CPlaySchedule schedule = ScheduleOf(3, {"101", "010"});
  schedule.SetAttribute(5);
  ASSERT_TRUE(schedule.WriteSchedule(file));
  EXPECT_EQ(temp.Read("av0001.rsh"),
            "[RUNSCH]\r\nVERSION=1\r\nPRGCNT=3\r\nSCHCNT=2\r\nATTRIB=5\r\n"
            "ITEM0=1000+01234562024010120301231080000200000101\r\n"
            "ITEM1=1000+01234562024010120301231080000200000010\r\n");

  CPlaySchedule read;
  read.InsertProgram(0, true);
  const Expected<ReadWarnings> warnings = read.ReadSchedule(file);
  ASSERT_TRUE(warnings);
  EXPECT_TRUE(warnings->empty());
  EXPECT_FALSE(read.IsModified());
  EXPECT_EQ(read.ProgramCount(), 3);
  EXPECT_EQ(read.Attribute(), 5);
  EXPECT_EQ(read.Entries(), schedule.Entries());

  // A missing file is an empty schedule, without a warning.
  const Expected<ReadWarnings> missing = read.ReadSchedule(temp / "none.rsh");
  ASSERT_TRUE(missing);
  EXPECT_TRUE(missing->empty());
  EXPECT_EQ(read.EntryCount(), 0);
  EXPECT_EQ(read.ProgramCount(), 0);

  // One that is there but cannot be read is a failure that says why; the schedule is empty.
  ASSERT_TRUE(read.ReadSchedule(file));
  std::filesystem::create_directories(temp / "folder.rsh");
  const Expected<ReadWarnings> unreadable = read.ReadSchedule(temp / "folder.rsh");
  ASSERT_FALSE(unreadable);
  EXPECT_NE(unreadable.status().detail().find(temp / "folder.rsh"), std::string::npos) << unreadable.status().detail();
  EXPECT_EQ(read.EntryCount(), 0);
}

TEST(PlaySchedule, WritingTheScheduleFile) {
  const std::string entry3 = "1000+01234562024010120301231080000200000101";
  const struct {
    const char* name;
    int programs;
    std::vector<std::string> entries;
    const char* folder;   // where the file goes, below the test's folder
    bool ok;
    bool fileAfter;       // an old file stands there before the write
    std::string detail;   // of the failure, before " — <path>"
  } rows[] = {
      {"written", 3, {entry3, entry3}, "", true, true, ""},
      {"no program: nothing to store", 0, {std::string(40, '1')}, "", true, false, ""},
      {"no entry: nothing to store", 3, {}, "", true, false, ""},
      {"a missing entry", 3, {entry3, ""}, "", false, false, "ITEM1: missing"},
      {"an entry for another count", 3, {entry3.substr(0, 42)}, "", false, false, "ITEM0: length 42, expected 43"},
      {"an entry not marked valid", 3, {"0" + entry3.substr(1)}, "", false, false, "ITEM0: does not start with \"1\""},
      {"an entry with a blank", 3, {entry3.substr(0, 20) + " " + entry3.substr(21)}, "", false, false,
       "ITEM0: holds a blank, a control character or a byte beyond ASCII"},
      {"a folder that is not there", 3, {entry3}, "missing", false, false, "No such file or directory"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TempFolder temp;
    const auto file = temp / row.folder / "av0001.rsh";
    if (!*row.folder) temp.Write("av0001.rsh", "[RUNSCH]\r\nVERSION=1\r\n");
    const Status written = WriteScheduleFile(file, row.programs, 0, row.entries);
    EXPECT_EQ(written.ok(), row.ok);
    EXPECT_EQ(std::filesystem::exists(file), row.fileAfter);
    if (!row.ok) {
      EXPECT_EQ(StatusMessage(written), "Failed: " + row.detail + " \u2014 " + file.string());
    }
  }

  // A write that fails leaves the old file as it was.
  TempFolder temp;
  const std::string longName = std::string(248, 's') + ".rsh";  // no room for the temporary file's name
  std::ofstream(temp / longName) << "old";
  EXPECT_FALSE(WriteScheduleFile(temp / longName, 3, 0, std::vector<std::string>{entry3}));
  EXPECT_EQ(temp.Read(longName), "old");
}

TEST(PlaySchedule, ScheduleFilesFromElsewhere) {
  const std::string entry3 = "1000+01234562024010120301231080000200000101";
  const struct {
    std::string text;
    int programs;
    std::vector<std::string> entries;
    std::size_t dropped;
    std::string firstReason;
  } cases[] = {
      // Names without regard to case, spaces, quotes, LF line ends, other sections.
      {"[Other]\nITEM0=x\n[runsch]\nversion = 1\nPrgCnt=3\nschcnt=2\nITEM1=\"" + entry3 + "\"\nITEM0=" + entry3 + "\n", 3,
       {entry3, entry3}, 0, ""},
      // The first of two equal keys counts.
      {"[RUNSCH]\nVERSION=1\nPRGCNT=3\nSCHCNT=1\nITEM0=" + entry3 + "\nITEM0=bad\n", 3, {entry3}, 0, ""},
      // Entries of the wrong length, not starting with "1", or missing are dropped.
      {"[RUNSCH]\nVERSION=1\nPRGCNT=3\nSCHCNT=4\nITEM0=" + entry3 + "1\nITEM1=0" + entry3.substr(1) + "\nITEM3=" + entry3 + "\n",
       3, {entry3}, 3, "ITEM0: length 44, expected 43"},
      {"[RUNSCH]\nVERSION=1\nPRGCNT=3\nSCHCNT=2\nITEM0=" + entry3 + "\n", 3, {entry3}, 1, "ITEM1: missing"},
      // Control characters inside a quoted entry: dropped, since they would not read back once written.
      {"[RUNSCH]\nVERSION=1\nPRGCNT=3\nSCHCNT=2\nITEM0=\"" + entry3.substr(0, 42) + "\r\"\nITEM1=\"" +
           entry3.substr(0, 20) + std::string(1, '\0') + entry3.substr(21) + "\"\n",
       3, {}, 2, "ITEM0: holds a blank, a control character or a byte beyond ASCII"},
      {"[RUNSCH]\nVERSION=2\nPRGCNT=3\nSCHCNT=1\nITEM0=" + entry3 + "\n", 0, {}, 1, "VERSION 2: only version 1 is read"},
      {"[RUNSCH]\nPRGCNT=3\nSCHCNT=1\nITEM0=" + entry3 + "\n", 0, {}, 1, "VERSION 0: only version 1 is read"},
      // Counts of 0 store nothing: an empty schedule, nothing dropped.
      {"[RUNSCH]\nVERSION=1\nPRGCNT=0\nSCHCNT=1\nITEM0=1000+0123456202401012030123108000020000\n", 0, {}, 0, ""},
      {"[RUNSCH]\nVERSION=1\nPRGCNT=3\nSCHCNT=0\nITEM0=" + entry3 + "\n", 0, {}, 0, ""},
      {"[RUNSCH]\nVERSION=1\nPRGCNT=-3\nSCHCNT=1\n", 0, {}, 1, "PRGCNT -3: out of range 0..65535"},
      {"[RUNSCH]\nVERSION=1\nPRGCNT=65536\nSCHCNT=1\n", 0, {}, 1, "PRGCNT 65536: out of range 0..65535"},
      {"[RUNSCH]\nVERSION=1\nPRGCNT=3\nSCHCNT=99999999999\nITEM0=" + entry3 + "\n", 0, {}, 1,
       "SCHCNT 2147483647: out of range 0..65535"},
      // A file without the section is no schedule, and no damage.
      {"[OTHER]\nVERSION=1\n", 0, {}, 0, ""},
      {"", 0, {}, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    CPlaySchedule schedule;
    const ReadWarnings warnings = schedule.ReadScheduleText(c.text);
    EXPECT_EQ(schedule.ProgramCount(), c.programs);
    EXPECT_EQ(schedule.Entries(), c.entries);
    EXPECT_EQ(warnings.dropped, c.dropped);
    EXPECT_EQ(warnings.firstReason, c.firstReason);
  }
}

TEST(PlaySchedule, ControllerFormByteForByte) {
  CPlaySchedule schedule;
  schedule.SetProgramCount(10);
  schedule.SetAttribute(0x21);
  ASSERT_TRUE(schedule.AddEntry(2, WeekdayField(0xC1), {2024, 3, 9}, {2125 % 10000, 12, 31}, {8, 30, 0}, {20, 15, 0},
                                "1000000011"));
  const std::vector<std::uint8_t> expected = {
      0x52, 0x53, 0x01, 0x00, 0x00, 0x0A, 0x00, 0x01, 0x00, 0x10, 0x00, 0x00, 0x21, 0x02, 0x00, 0x00,
      0x21, 0xC1, 24, 3, 9, 25, 12, 31, 8, 30, 0, 20, 15, 0,
      0x80, 0xC0};
  EXPECT_EQ(schedule.ControllerScheduleBytes(), expected);

  TempFolder temp;
  const auto file = temp / "0001.rsf";
  ASSERT_TRUE(schedule.WriteControllerSchedule(file));
  EXPECT_EQ(temp.ReadBytes("0001.rsf"), expected);

  // The entry count says how many entries follow: an entry that does not parse is left out.
  schedule.ReadScheduleText("[RUNSCH]\nVERSION=1\nPRGCNT=2\nSCHCNT=2\nITEM0=1000+0123456202401012030123108000020000011\n"
                            "ITEM1=1000+012345620240101203012310800002000xx01\n");
  ASSERT_EQ(schedule.EntryCount(), 2);
  const auto form = schedule.ControllerScheduleBytes();
  ASSERT_TRUE(form.has_value());
  EXPECT_EQ(form->size(), 16u + 14u + 1u);
  EXPECT_EQ((*form)[7], 1);
  EXPECT_EQ((*form)[13], 1) << "2 programs need one byte of bits";
  EXPECT_EQ(form->back(), 0xC0);

  // An empty schedule removes the old file; a file that cannot be made says why.
  CPlaySchedule empty;
  EXPECT_FALSE(empty.ControllerScheduleBytes());
  EXPECT_TRUE(empty.WriteControllerSchedule(file));
  EXPECT_FALSE(std::filesystem::exists(file));
  const Status failed = schedule.WriteControllerSchedule(temp / "missing" / "0001.rsf");
  EXPECT_FALSE(failed);
  EXPECT_EQ(failed.detail(), "No such file or directory \u2014 " + (temp / "missing" / "0001.rsf").string());
  // The old run schedule is gone before the new one is written: a failed write leaves none to send.
  const std::string longName = std::string(248, 'r') + ".rsf";  // no room for the temporary file's name
  std::ofstream(temp / longName) << "old";
  ASSERT_TRUE(std::filesystem::exists(temp / longName));
  EXPECT_FALSE(schedule.WriteControllerSchedule(temp / longName));
  EXPECT_FALSE(std::filesystem::exists(temp / longName));
}

TEST(PeriodRules, OkButtonAndMessages) {
  const CivilDay today{2025, 6, 15};
  const PeriodFields good{2025, 1, 1, 2025, 12, 31, 8, 0, 20, 0, 0x7F};
  const auto with = [&good](auto change) {
    PeriodFields fields = good;
    change(fields);
    return fields;
  };
  const struct {
    const char* name;
    PeriodFields fields;
    PeriodVerdict verdict;
  } cases[] = {
      {"good", good, {true, 0}},
      {"ends today", with([](PeriodFields& f) { f.endMonth = 6, f.endDay = 15; }), {true, 0}},
      {"mode flag only", with([](PeriodFields& f) { f.weekdayMask = 0x80; }), {true, 0}},
      {"month 13", with([](PeriodFields& f) { f.endMonth = 13; }), {false, 0}},
      {"day 32", with([](PeriodFields& f) { f.startDay = 32; }), {false, 0}},
      {"hour 24", with([](PeriodFields& f) { f.endHour = 24; }), {false, 0}},
      {"minute 60", with([](PeriodFields& f) { f.startMinute = 60; }), {false, 0}},
      {"one year unset", with([](PeriodFields& f) { f.startYear = 0; }), {false, 0}},
      {"one month unset", with([](PeriodFields& f) { f.endMonth = 0; }), {false, 0}},
      {"end before start", with([](PeriodFields& f) { f.startMonth = 7, f.endMonth = 6, f.endDay = 30; }), {false, 415}},
      {"end in the year before", with([](PeriodFields& f) { f.startYear = 2026, f.endYear = 2025; }), {false, 415}},
      {"end before today", with([](PeriodFields& f) { f.endMonth = 6, f.endDay = 14; }), {false, 416}},
      {"past 2099", with([](PeriodFields& f) { f.endYear = 2100; }), {false, kTextYearOutOfRange}},
      {"start before 2000", with([](PeriodFields& f) { f.startYear = 1999; }), {false, kTextYearOutOfRange}},
      {"start in 2100, before it ends", with([](PeriodFields& f) { f.startYear = 2100, f.endYear = 2101; }),
       {false, kTextYearOutOfRange}},
      {"first and last year", with([](PeriodFields& f) { f.startYear = 2000, f.endYear = 2099; }), {true, 0}},
      {"no weekday", with([](PeriodFields& f) { f.weekdayMask = 0; }), {false, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckPeriod(c.fields, today), c.verdict) << c.name;

  EXPECT_EQ(NewPeriodPrograms(3, 0), "111");
  EXPECT_EQ(NewPeriodPrograms(3, 1), "000");
  EXPECT_EQ(NewPeriodPrograms(0, 0), "");
}

}  // namespace
}  // namespace vantorel

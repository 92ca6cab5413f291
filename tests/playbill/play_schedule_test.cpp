// The play schedule: entry strings, program columns, the ".rsh" file, the controller's ".rsf"
// form, the play coverage check and the period editor's rules.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "playbill/period_rules.h"
#include "playbill/play_coverage.h"
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

TEST(PlaySchedule, ScheduleFileWrittenAndRead) {
  TempFolder temp;
  const auto file = temp / "av0001.rsh";
  CPlaySchedule schedule = ScheduleOf(3, {"101", "010"});
  schedule.SetAttribute(5);
  ASSERT_EQ(schedule.WriteSchedule(file), 0);
  std::string text;
  ASSERT_TRUE(ReadWholeFile(file, text));
  EXPECT_EQ(text,
            "[RUNSCH]\r\nVERSION=1\r\nPRGCNT=3\r\nSCHCNT=2\r\nATTRIB=5\r\n"
            "ITEM0=1000+01234562024010120301231080000200000101\r\n"
            "ITEM1=1000+01234562024010120301231080000200000010\r\n");

  CPlaySchedule read;
  read.InsertProgram(0, true);
  EXPECT_EQ(read.ReadSchedule(file), 0);
  EXPECT_FALSE(read.IsModified());
  EXPECT_EQ(read.ProgramCount(), 3);
  EXPECT_EQ(read.Attribute(), 5);
  EXPECT_EQ(read.Entries(), schedule.Entries());

  // An empty schedule leaves no file, also where one was.
  CPlaySchedule empty;
  EXPECT_EQ(empty.WriteSchedule(file), 0);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(empty.WriteSchedule(file), 0);
  EXPECT_EQ(empty.ReadSchedule(file), 0);
  EXPECT_EQ(empty.EntryCount(), 0);
}

TEST(PlaySchedule, ScheduleFilesFromElsewhere) {
  const std::string entry3 = "1000+01234562024010120301231080000200000101";
  const struct {
    std::string text;
    int programs;
    std::vector<std::string> entries;
  } cases[] = {
      // Names without regard to case, spaces, quotes, LF line ends, other sections.
      {"[Other]\nITEM0=x\n[runsch]\nversion = 1\nPrgCnt=3\nschcnt=2\nITEM1=\"" + entry3 + "\"\nITEM0=" + entry3 + "\n", 3,
       {entry3, entry3}},
      // The first of two equal keys counts.
      {"[RUNSCH]\nVERSION=1\nPRGCNT=3\nSCHCNT=1\nITEM0=" + entry3 + "\nITEM0=bad\n", 3, {entry3}},
      // Entries of the wrong length, not starting with "1", or missing are dropped.
      {"[RUNSCH]\nVERSION=1\nPRGCNT=3\nSCHCNT=4\nITEM0=" + entry3 + "1\nITEM1=0" + entry3.substr(1) + "\nITEM3=" + entry3 + "\n",
       3, {entry3}},
      // Control characters inside a quoted entry: dropped, since they would not read back once written.
      {"[RUNSCH]\nVERSION=1\nPRGCNT=3\nSCHCNT=2\nITEM0=\"" + entry3.substr(0, 42) + "\r\"\nITEM1=\"" +
           entry3.substr(0, 20) + std::string(1, '\0') + entry3.substr(21) + "\"\n",
       3, {}},
      {"[RUNSCH]\nVERSION=2\nPRGCNT=3\nSCHCNT=1\nITEM0=" + entry3 + "\n", 0, {}},
      {"[RUNSCH]\nPRGCNT=3\nSCHCNT=1\nITEM0=" + entry3 + "\n", 0, {}},
      {"[RUNSCH]\nVERSION=1\nPRGCNT=0\nSCHCNT=1\nITEM0=1000+0123456202401012030123108000020000\n", 0, {}},
      {"[RUNSCH]\nVERSION=1\nPRGCNT=3\nSCHCNT=0\nITEM0=" + entry3 + "\n", 0, {}},
      {"[RUNSCH]\nVERSION=1\nPRGCNT=-3\nSCHCNT=1\n", 0, {}},
      {"[RUNSCH]\nVERSION=1\nPRGCNT=65536\nSCHCNT=1\n", 0, {}},
      {"[RUNSCH]\nVERSION=1\nPRGCNT=3\nSCHCNT=99999999999\nITEM0=" + entry3 + "\n", 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    CPlaySchedule schedule;
    schedule.ReadScheduleText(c.text);
    EXPECT_EQ(schedule.ProgramCount(), c.programs);
    EXPECT_EQ(schedule.Entries(), c.entries);
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
  ASSERT_EQ(schedule.WriteControllerSchedule(file), 0);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(file, bytes));
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), expected);

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

  CPlaySchedule empty;
  EXPECT_FALSE(empty.ControllerScheduleBytes());
  EXPECT_EQ(empty.WriteControllerSchedule(file), 0);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(schedule.WriteControllerSchedule(temp / "missing" / "0001.rsf"), -1);
}

tagPrgItem Timed(std::uint16_t flags, int start, int end) {
  tagPrgItem program = test::P();
  program.program.timeSch = {flags, static_cast<std::uint16_t>(start), static_cast<std::uint16_t>(end)};
  return program;
}

TEST(PlayCoverage, SomeProgramPlaysAtEveryMoment) {
  constexpr int kH = 256;  // one hour in hour*256+minute
  const std::uint16_t everyDay = 0x17F;
  const struct {
    const char* name;
    PrgList list;
    bool covered;
  } cases[] = {
      {"08:00-20:00 only", {Timed(everyDay, 8 * kH, 20 * kH)}, false},
      {"start equals end: whole day", {Timed(everyDay, 8 * kH, 8 * kH)}, true},
      {"a program without time window", {Timed(everyDay, 8 * kH, 20 * kH), Timed(0x7F, 8 * kH, 20 * kH)}, true},
      {"day and night", {Timed(everyDay, 8 * kH, 20 * kH), Timed(everyDay, 20 * kH, 8 * kH)}, true},
      {"overlapping", {Timed(everyDay, 0, 12 * kH + 30), Timed(everyDay, 12 * kH, 0)}, true},
      {"a minute missing", {Timed(everyDay, 0, 12 * kH), Timed(everyDay, 12 * kH + 1, 0)}, false},
      {"past midnight ending at 00:00", {Timed(everyDay, 6 * kH, 0), Timed(everyDay, 0, 6 * kH)}, true},
      {"Sunday missing", {Timed(0x17E, 0, 0)}, false},
      {"Sunday apart", {Timed(0x17E, 0, 0), Timed(0x101, 5 * kH, 5 * kH)}, true},
      {"no program", {}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckPlayCoverage(c.list), c.covered) << c.name;

  // After 255 timed programs the check gives up and says yes.
  PrgList many(255, Timed(everyDay, 8 * kH, 9 * kH));
  EXPECT_FALSE(CheckPlayCoverage(many));
  many.push_back(Timed(everyDay, 8 * kH, 9 * kH));
  EXPECT_TRUE(CheckPlayCoverage(many));
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

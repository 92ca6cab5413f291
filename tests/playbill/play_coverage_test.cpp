// When something plays in the week: the play coverage check of the send workflow and the hour grid
// of the schedule editor, by the programs' own time windows and with the schedule's periods.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playbill/play_coverage.h"
#include "support/record_builders.h"

namespace vantorel {
namespace {

constexpr int kH = 256;  // one hour in hour*256+minute
constexpr std::uint16_t kEveryDay = 0x17F;
constexpr std::uint16_t kNoWindow = 0x07F;

tagPrgItem Timed(std::uint16_t flags, int start, int end) {
  tagPrgItem program = test::P();
  program.program.timeSch = {flags, static_cast<std::uint16_t>(start), static_cast<std::uint16_t>(end)};
  return program;
}

// The grid as text: one line per day, "#" for an hour that is covered, "." for one that is not.
std::string Picture(const WeekHours& hours) {
  std::string text;
  for (const auto& day : hours) {
    for (std::size_t hour = 0; hour < 24; ++hour) text += day[hour] ? '#' : '.';
    text += '\n';
  }
  return text;
}

// One line per day of hours `from` to `to` (exclusive) covered on the days of `days`.
std::string Expected(std::uint8_t days, std::size_t from, std::size_t to) {
  std::string text;
  for (std::size_t day = 0; day < 7; ++day) {
    for (std::size_t hour = 0; hour < 24; ++hour) text += (days & (1u << day)) && hour >= from && hour < to ? '#' : '.';
    text += '\n';
  }
  return text;
}

const std::string kNoHours = std::string(24, '.') + "\n";

ScheduleEntry Period(std::uint8_t days, ScheduleTime start, ScheduleTime end, std::string programs) {
  ScheduleEntry period;
  period.weekdayMask = days;
  period.weekdays = WeekdayField(days);
  period.startDate = {2025, 1, 1};
  period.endDate = {2099, 12, 31};
  period.startTime = start;
  period.endTime = end;
  period.programs = std::move(programs);
  return period;
}

TEST(PlayCoverage, SomeProgramPlaysAtEveryMoment) {
  const struct {
    const char* name;
    PrgList list;
    bool covered;
  } cases[] = {
      {"08:00-20:00 only", {Timed(kEveryDay, 8 * kH, 20 * kH)}, false},
      {"start equals end: whole day", {Timed(kEveryDay, 8 * kH, 8 * kH)}, true},
      {"a program without time window", {Timed(kEveryDay, 8 * kH, 20 * kH), Timed(kNoWindow, 8 * kH, 20 * kH)}, true},
      {"day and night", {Timed(kEveryDay, 8 * kH, 20 * kH), Timed(kEveryDay, 20 * kH, 8 * kH)}, true},
      {"overlapping", {Timed(kEveryDay, 0, 12 * kH + 30), Timed(kEveryDay, 12 * kH, 0)}, true},
      {"a minute missing", {Timed(kEveryDay, 0, 12 * kH), Timed(kEveryDay, 12 * kH + 1, 0)}, false},
      {"past midnight ending at 00:00", {Timed(kEveryDay, 6 * kH, 0), Timed(kEveryDay, 0, 6 * kH)}, true},
      {"Sunday missing", {Timed(0x17E, 0, 0)}, false},
      {"Sunday apart", {Timed(0x17E, 0, 0), Timed(0x101, 5 * kH, 5 * kH)}, true},
      {"to 23:59 only", {Timed(kEveryDay, 0, 23 * kH + 59)}, false},
      // Stored times beyond the day end with it.
      {"to 25:00", {Timed(kEveryDay, 0, 25 * kH)}, true},
      {"no program", {}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckPlayCoverage(c.list), c.covered) << c.name;
    // The grid and the check never disagree.
    EXPECT_EQ(CoversWholeWeek(TimeWindowHours(c.list)), c.covered) << c.name;
  }

  // After 255 timed programs the check gives up and says yes.
  PrgList many(255, Timed(kEveryDay, 8 * kH, 9 * kH));
  EXPECT_FALSE(CheckPlayCoverage(many));
  many.push_back(Timed(kEveryDay, 8 * kH, 9 * kH));
  EXPECT_TRUE(CheckPlayCoverage(many));
  EXPECT_TRUE(CoversWholeWeek(TimeWindowHours(many)));
}

TEST(PlayCoverage, HoursByTheProgramsTimeWindows) {
  const struct {
    const char* name;
    PrgList list;
    std::string picture;
  } rows[] = {
      {"Mon-Fri 08:00-18:00", {Timed(0x13E, 8 * kH, 18 * kH)}, Expected(0x3E, 8, 18)},
      // Only hours played through count: 08:30-17:30 leaves 08 and 17 open.
      {"half hours", {Timed(0x13E, 8 * kH + 30, 17 * kH + 30)}, Expected(0x3E, 9, 17)},
      {"two halves of one hour", {Timed(0x101, 8 * kH, 8 * kH + 30), Timed(0x101, 8 * kH + 30, 9 * kH)},
       Expected(0x01, 8, 9)},
      {"past midnight on the same day", {Timed(0x102, 22 * kH, 2 * kH)},
       kNoHours + "##" + std::string(20, '.') + "##\n" + kNoHours + kNoHours + kNoHours + kNoHours + kNoHours},
      {"whole day on Saturday", {Timed(0x140, 5 * kH, 5 * kH)}, Expected(0x40, 0, 24)},
      {"programs without a window play always", {test::W(), Timed(kNoWindow, 8 * kH, 9 * kH)}, Expected(0x7F, 0, 24)},
      {"no day", {Timed(0x100, 8 * kH, 9 * kH)}, Expected(0, 0, 0)},
  };
  for (const auto& row : rows) EXPECT_EQ(Picture(TimeWindowHours(row.list)), row.picture) << row.name;
}

TEST(PlayCoverage, HoursWithTheSchedulesPeriods) {
  const PrgList list = {Timed(kNoWindow, 0, 0), Timed(0x17F, 12 * kH, 14 * kH), Timed(0x101, 0, 0)};
  const ScheduleTime eight{8, 0, 0};
  const ScheduleTime six{18, 0, 0};
  const struct {
    const char* name;
    std::vector<ScheduleEntry> periods;
    std::string picture;
  } rows[] = {
      {"Mon-Fri 08:00-18:00 with an always-playing program", {Period(0x3E, eight, six, "100")}, Expected(0x3E, 8, 18)},
      {"a program's own window narrows the period", {Period(0x3E, eight, six, "010")}, Expected(0x3E, 12, 14)},
      {"a program whose days miss the period's", {Period(0x3E, eight, six, "001")}, Expected(0, 0, 0)},
      {"no program named", {Period(0x7F, eight, six, "000")}, Expected(0, 0, 0)},
      {"flags beyond the playbill name nothing", {Period(0x7F, eight, six, "0001")}, Expected(0, 0, 0)},
      {"start equal to end: the whole day", {Period(0x01, eight, eight, "100")}, Expected(0x01, 0, 24)},
      {"the mode flag alone: no day", {Period(0x80, eight, six, "100")}, Expected(0, 0, 0)},
      {"periods that meet", {Period(0x7F, {0, 0, 0}, {12, 0, 0}, "100"), Period(0x7F, {12, 0, 0}, {0, 0, 0}, "100")},
       Expected(0x7F, 0, 24)},
      {"periods a minute apart", {Period(0x01, {0, 0, 0}, {12, 0, 0}, "100"), Period(0x01, {12, 1, 0}, {0, 0, 0}, "100")},
       std::string(12, '#') + "." + std::string(11, '#') + "\n" + Expected(0, 0, 0).substr(25)},
  };
  for (const auto& row : rows) EXPECT_EQ(Picture(ScheduledHours(list, row.periods)), row.picture) << row.name;

  // Without periods the editor judges by the time windows alone.
  EXPECT_EQ(PlayingHours(list, {}), TimeWindowHours(list));
  const std::vector<ScheduleEntry> periods{Period(0x3E, eight, six, "010")};
  EXPECT_EQ(PlayingHours(list, periods), ScheduledHours(list, periods));
}

}  // namespace
}  // namespace vantorel

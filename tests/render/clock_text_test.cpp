// Clock texts in every date format, the calendar arithmetic under them, and the counters.

#include <gtest/gtest.h>

#include "render/faces/clock_text.h"
#include "render/faces/counter_text.h"
#include "render/faces/date_time.h"
#include "render/font_style.h"

namespace vantorel {
namespace {

using namespace clock_style;

constexpr DateTime kWednesday = {2026, 12, 9, 14, 5, 7};
constexpr std::uint16_t kTime = kHour | kMinute | kSecond | kTwentyFourHour;
constexpr std::uint16_t kAll = kYear | kMonth | kDay | kWeekday | kTime;

std::string OneLine(const DateTime& moment, std::uint16_t style, int codePage = kCodePageAscii) {
  const auto lines = ClockText(moment, {}, style, codePage);
  return lines.size() == 1 ? lines.front() : "(" + std::to_string(lines.size()) + " lines)";
}

TEST(ClockText, EveryDateFormatWithAndWithoutFields) {
  struct Row {
    int format;
    std::uint16_t fields;
    const char* expected;
  };
  const Row rows[] = {
      {0, kAll, "2026.12.09 Wed 14:05:07"},
      {1, kAll, "Wed,09/12/2026 14:05:07"},
      {2, kAll, "2026-12-09 Wed. 14:05:07"},
      {3, kAll, "Wednesday,09 December 2026 14:05:07"},
      {4, kAll, "Wed,Dec 09,2026 14:05:07"},
      {5, kAll, "Wednesday,December 09,2026 14:05:07"},
      {6, kAll, "Wed,12/09/2026 14:05:07"},
      {7, kAll, "2026/12/09,Wed. 14:05:07"},
      // Without the year.
      {0, kAll & ~kYear, "12.09 Wed 14:05:07"},
      {1, kAll & ~kYear, "Wed,09/12 14:05:07"},
      {2, kAll & ~kYear, "12-09 Wed. 14:05:07"},
      {3, kAll & ~kYear, "Wednesday,09 December 14:05:07"},
      {4, kAll & ~kYear, "Wed,Dec 09 14:05:07"},
      {6, kAll & ~kYear, "Wed,12/09 14:05:07"},
      {7, kAll & ~kYear, "12/09,Wed. 14:05:07"},
      // Year and day: the month drops with its separator.
      {0, kYear | kDay | kTime, "2026. .09 14:05:07"},
      {1, kYear | kDay | kTime, "09/2026 14:05:07"},
      {2, kYear | kDay | kTime, "2026-09 14:05:07"},
      {3, kYear | kMonth | kTime, "December 2026 14:05:07"},
      {4, kYear | kDay | kTime, "09,2026 14:05:07"},
      {7, kYear | kMonth | kTime, "2026/12 14:05:07"},
      // Year and month in format 0, a single field, the two-digit year.
      {0, kYear | kMonth, "2026.12."},
      {0, kMonth | kDay, "12.09"},
      {1, kMonth, "12"},
      {0, kYear | kMonth | kDay | kTwoDigitYear, "26.12.09"},
      {7, kYear | kTwoDigitYear | kWeekday, "26,Wed."},
      // Without the weekday, and the weekday alone.
      {1, kYear | kMonth | kDay, "09/12/2026"},
      {4, kMonth | kDay, "Dec 09"},
      {1, kWeekday | kTime, "Wed 14:05:07"},
      {2, kWeekday, "Wed."},
      {3, kWeekday | kDay, "Wednesday,09"},
      // Time fields alone.
      {1, kMinute | kTwentyFourHour, "05"},
      {1, kMinute | kSecond | kTwentyFourHour, "05:07"},
      {1, kHour | kSecond | kTwentyFourHour, "14:07"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(OneLine(kWednesday, WithFormat(row.fields, row.format)), row.expected)
        << "format " << row.format << " fields " << std::hex << row.fields;
  }
}

TEST(ClockText, FormatZeroInEachCodePage) {
  struct Row {
    int codePage;
    std::uint16_t fields;
    const char* expected;
  };
  const Row rows[] = {
      {kCodePageGb2312, kAll, "2026年12月09日 星期三 14:05:07"},
      {kCodePageBig5, kAll, "2026年12月09日 星期三 14:05:07"},
      {kCodePageShiftJis, kAll, "2026年12月09日 (水) 14:05:07"},
      {kCodePageShiftJis, kWeekday | kTime, "水曜日 14:05:07"},
      {kCodePageKsc5601, kAll, "2026년12월09일 수요일 14:05:07"},
      {kCodePageAsciiEx, kAll, "2026.12.09 Wed 14:05:07"},
      {kCodePageGb2312, kYear | kTwoDigitYear | kMonth, "26年12月"},
      {kCodePageGb2312, kHour | kMinute, "下午  2:05"},
      {kCodePageShiftJis, kHour | kMinute, "午後  2:05"},
      {kCodePageKsc5601, kHour | kMinute, "PM  2:05"},
      {kCodePageAscii, kHour | kMinute, "PM  2:05"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(OneLine(kWednesday, WithFormat(row.fields, 0), row.codePage), row.expected) << "code page " << row.codePage;
  }
}

TEST(ClockText, TwelveHourClock) {
  struct Row {
    std::uint16_t hour;
    std::uint16_t minute;
    const char* expected;
  };
  const Row rows[] = {{0, 30, "12:30 AM"}, {11, 59, "11:59 AM"}, {12, 0, "12:00 PM"}, {13, 5, " 1:05 PM"}, {23, 1, "11:01 PM"}};
  for (const Row& row : rows) {
    const DateTime moment = {2026, 1, 1, row.hour, row.minute, 0};
    EXPECT_EQ(OneLine(moment, WithFormat(kHour | kMinute, 1)), row.expected);
  }
  EXPECT_EQ(OneLine({2026, 1, 1, 0, 30, 0}, WithFormat(kHour | kMinute, 0), kCodePageGb2312), "上午 12:30");
  // A date without a time has no marker.
  EXPECT_EQ(OneLine(kWednesday, WithFormat(kDay | kMonth, 1)), "09/12");
}

TEST(ClockText, MultiLineGivesThePrefixTheDateAndTheTimeALineEach) {
  const std::uint16_t style = WithFormat(kAll | kMultiLine, 0);
  EXPECT_EQ(ClockText(kWednesday, "Now", style, kCodePageAscii),
            (std::vector<std::string>{"Now", "2026.12.09 Wed", "14:05:07"}));
  EXPECT_EQ(ClockText(kWednesday, "", WithFormat(kTime | kMultiLine, 0), kCodePageAscii),
            (std::vector<std::string>{"14:05:07"}));
  EXPECT_EQ(ClockText(kWednesday, "Now ", WithFormat(kTime, 0), kCodePageAscii),
            (std::vector<std::string>{"Now 14:05:07"}));
}

TEST(ClockText, DateFormatSamplesShowTodayInEachFormat) {
  EXPECT_EQ(DateFormatSample(1, kWednesday, kCodePageAscii), "Wed,09/12/2026 14:05");
  EXPECT_EQ(DateFormatSample(0, kWednesday, kCodePageAscii), "2026.12.09 Wed 14:05");
  EXPECT_EQ(DateFormatSample(0, kWednesday, kCodePageGb2312), "简体中文");
  EXPECT_EQ(DateFormatSample(0, kWednesday, kCodePageShiftJis), "日本語");
}

TEST(Calendar, TimeDifferencesCarryAcrossMonthsYearsAndLeapDays) {
  struct Row {
    DateTime from;
    int minutes;
    DateTime expected;
  };
  const Row rows[] = {
      {{2026, 1, 31, 23, 30, 0}, 45, {2026, 2, 1, 0, 15, 0}},
      {{2026, 12, 31, 23, 59, 30}, 1, {2027, 1, 1, 0, 0, 30}},
      {{2024, 2, 28, 23, 0, 0}, 60, {2024, 2, 29, 0, 0, 0}},
      {{2023, 2, 28, 23, 0, 0}, 60, {2023, 3, 1, 0, 0, 0}},
      {{2100, 2, 28, 12, 0, 0}, 1440, {2100, 3, 1, 12, 0, 0}},
      {{2000, 2, 28, 12, 0, 0}, 1440, {2000, 2, 29, 12, 0, 0}},
      {{2026, 3, 1, 0, 10, 0}, -20, {2026, 2, 28, 23, 50, 0}},
      {{2027, 1, 1, 0, 0, 0}, -1, {2026, 12, 31, 23, 59, 0}},
      {{2024, 3, 1, 0, 0, 0}, -1440, {2024, 2, 29, 0, 0, 0}},
      {{2026, 6, 15, 8, 0, 0}, 480 + 1440 * 3, {2026, 6, 18, 16, 0, 0}},
      {{2026, 6, 15, 8, 0, 0}, 0, {2026, 6, 15, 8, 0, 0}},
  };
  for (const Row& row : rows) {
    const DateTime moved = AddMinutes(row.from, row.minutes);
    EXPECT_EQ(moved, row.expected) << row.from.year << "-" << row.from.month << "-" << row.from.day << " + "
                                   << row.minutes << " gives " << moved.year << "-" << moved.month << "-" << moved.day
                                   << " " << moved.hour << ":" << moved.minute;
  }
}

TEST(Calendar, ZellersRuleAgreesWithTheDayCountOverFourHundredYears) {
  EXPECT_EQ(WeekdayOf(2026, 12, 9), 3);
  EXPECT_EQ(WeekdayOf(2000, 1, 1), 6);
  EXPECT_EQ(WeekdayOf(2024, 2, 29), 4);
  EXPECT_EQ(WeekdayOf(2100, 3, 1), 1);
  for (int year = 1900; year < 2300; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= DaysInMonth(year, month); ++day) {
        const std::int64_t number = DayNumber(year, month, day);
        ASSERT_EQ(WeekdayOf(year, month, day), static_cast<int>(((number % 7) + 11) % 7)) << year << "-" << month << "-" << day;
        const DateTime back = DateTimeOfSeconds(number * 86400 + 3661);
        ASSERT_EQ(back, (DateTime{static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month),
                                  static_cast<std::uint16_t>(day), 1, 1, 1}));
      }
    }
  }
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
}

TEST(Calendar, MomentsReadFromText) {
  EXPECT_EQ(ParseDateTime("2026-12-09 10:10:30"), (DateTime{2026, 12, 9, 10, 10, 30}));
  EXPECT_EQ(ParseDateTime("2024-02-29 00:00"), (DateTime{2024, 2, 29, 0, 0, 0}));
  for (const char* wrong : {"", "2026-12-09", "2023-02-29 00:00", "2026-13-01 00:00", "2026-12-09 24:00", "2026-12-09 10:60",
                            "2026-12-09 10:10:60", "2026-12-09 10:10:30 ", "x2026-12-09 10:10", "1899-12-31 00:00"}) {
    EXPECT_FALSE(ParseDateTime(wrong)) << '"' << wrong << '"';
  }
}

TEST(CounterText, PlaceholdersCountDownAndUp) {
  const DateTime now = {2026, 12, 9, 10, 0, 0};
  const DateTime ahead = {2026, 12, 11, 13, 4, 5};  // 2 days 3 hours 4 minutes 5 seconds on
  const char* every = "{!d}d {!h+} {!h}:{!h2}:{!m}:{!m2}:{!s}:{!s2}";
  struct Row {
    const char* name;
    DateTime target;
    const char* pattern;
    bool countUp;
    const char* expected;
  };
  const Row rows[] = {
      {"count down", ahead, every, false, "2d 51 3:03:4:04:5:05"},
      {"passed count-down shows zeros", now, every, false, "0d 0 0:00:0:00:0:00"},
      {"count-down a second past", {2026, 12, 9, 9, 59, 59}, every, false, "0d 0 0:00:0:00:0:00"},
      {"count up from a start ahead shows zeros", ahead, every, true, "0d 0 0:00:0:00:0:00"},
      {"count up", {2026, 12, 9, 5, 0, 0}, "{!h2}h", true, "05h"},
      {"across a month end", {2026, 11, 30, 23, 0, 0}, "{!d} {!h}", true, "8 11"},
      {"empty template shows the days", ahead, "", false, "2"},
      {"leading line end dropped", ahead, "\n{!d}", false, "2"},
      {"leading CR LF dropped", ahead, "\r\n{!d}", false, "2"},
      {"later line ends kept", ahead, "A\n{!d}", false, "A\n2"},
      {"braces that start no placeholder", ahead, "{x}{!q}{!d", false, "{x}{!q}{!d"},
      {"placeholder after a stray brace", ahead, "{{!d}", false, "{2"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(CounterText(row.target, now, row.pattern, row.countUp), row.expected) << row.name;
  }
}

TEST(WorkCount, WorkingDaysAndHours) {
  const DateTime monday = {2026, 12, 7, 0, 0, 0};
  struct Row {
    const char* name;
    DateTime start;
    std::uint8_t mask;
    bool hours;
    DateTime now;
    std::int64_t expected;
  };
  const Row rows[] = {
      {"starting tomorrow", {2026, 12, 10, 0, 0, 0}, 0x3E, false, {2026, 12, 9, 12, 0, 0}, 0},
      {"the start day itself", monday, 0x3E, false, {2026, 12, 7, 12, 0, 0}, 0},
      {"Monday to Wednesday", monday, 0x3E, false, {2026, 12, 9, 12, 0, 0}, 2},
      {"a whole week", monday, 0x3E, false, {2026, 12, 14, 12, 0, 0}, 5},
      {"a weekend only", {2026, 12, 5, 0, 0, 0}, 0x3E, false, {2026, 12, 7, 12, 0, 0}, 0},
      {"every day", {2026, 11, 30, 0, 0, 0}, 0x7F, false, {2026, 12, 9, 12, 0, 0}, 9},
      {"weekends only, three weeks", {2026, 11, 16, 0, 0, 0}, 0x41, false, {2026, 12, 7, 0, 0, 0}, 6},
      {"no working day", monday, 0x00, false, {2026, 12, 30, 12, 0, 0}, 0},
      {"hours before the start hour", monday, 0x3E, true, {2026, 12, 9, 8, 0, 0}, 16},
      {"hours during the day", monday, 0x3E, true, {2026, 12, 9, 10, 30, 0}, 18},
      {"hours capped at the day", monday, 0x3E, true, {2026, 12, 9, 23, 0, 0}, 24},
      {"hours on a Sunday", monday, 0x3E, true, {2026, 12, 13, 15, 0, 0}, 40},
  };
  for (const Row& row : rows) {
    WorkCounterSettings settings;
    settings.start = row.start;
    settings.workingDays = row.mask;
    settings.countHours = row.hours;
    settings.hoursPerDay = 8;
    settings.workStartHour = 8;
    EXPECT_EQ(WorkCount(settings, row.now), row.expected) << row.name;
  }
}

}  // namespace
}  // namespace vantorel

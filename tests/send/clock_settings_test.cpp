#include "send/clock_settings.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/text_ids.h"

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ClockBlock, SecondMinuteHourWeekdayDayMonthYearOfHundred) {
  struct Row {
    const char* name;
    DateTime moment;
    Bytes expected;
  };
  const Row rows[] = {
      {"wednesday", {2026, 12, 9, 21, 40, 5}, {5, 40, 21, 3, 9, 12, 26}},
      {"saturday of 2000", {2000, 1, 1, 0, 0, 0}, {0, 0, 0, 6, 1, 1, 0}},
      {"leap day", {2024, 2, 29, 23, 59, 59}, {59, 59, 23, 4, 29, 2, 24}},
      {"sunday is 0", {2023, 1, 1, 12, 0, 0}, {0, 0, 12, 0, 1, 1, 23}},
      {"last day of 2099", {2099, 12, 31, 1, 2, 3}, {3, 2, 1, 4, 31, 12, 99}},
      {"2100 is year 0, not a leap year", {2100, 3, 1, 0, 0, 0}, {0, 0, 0, 1, 1, 3, 0}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto block = ClockBlock(row.moment);
    EXPECT_EQ(Bytes(block.begin(), block.end()), row.expected);
  }
}

TEST(ClockText, YearFromByteSixThenMonthDayHourMinuteSecond) {
  struct Row {
    const char* name;
    Bytes answer;
    const char* expected;  // null: Failed
  };
  const Row rows[] = {
      {"plain", {5, 40, 21, 3, 9, 12, 26}, "2026-12-09 21:40:05 "},
      {"weekday byte is not shown", {0, 0, 0, 6, 1, 1, 0}, "2000-01-01 00:00:00 "},
      {"longer answer: the first seven bytes", {1, 2, 3, 4, 5, 6, 7, 99, 99}, "2007-06-05 03:02:01 "},
      {"bytes as they came", {99, 61, 25, 9, 32, 13, 255}, "2255-13-32 25:61:99 "},
      {"six bytes", {5, 40, 21, 3, 9, 12}, nullptr},
      {"one byte", {5}, nullptr},
      {"nothing", {}, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Expected<std::string> text = ClockText(row.answer);
    if (row.expected == nullptr) {
      ASSERT_FALSE(text.ok());
      EXPECT_EQ(text.status().text(), kTextFailed);
    } else {
      ASSERT_TRUE(text.ok()) << text.status().detail();
      EXPECT_EQ(*text, row.expected);
    }
  }
}

TEST(ClockText, ABlockReadsBackAsTheMomentItSet) {
  const DateTime moments[] = {{2026, 12, 9, 21, 40, 5}, {2000, 2, 29, 0, 0, 0}, {2063, 7, 4, 13, 14, 15}};
  for (const DateTime& moment : moments) {
    const auto block = ClockBlock(moment);
    const Expected<DateTime> back = ClockOfAnswer(block);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(*back, moment);
  }
}

TEST(ClockDrift, SecondsAheadOfTheComputerAcrossDaysAndYears) {
  struct Row {
    const char* name;
    DateTime controller;
    DateTime computer;
    std::int64_t expected;
  };
  const Row rows[] = {
      {"same", {2026, 12, 9, 21, 40, 5}, {2026, 12, 9, 21, 40, 5}, 0},
      {"ahead", {2026, 12, 9, 21, 40, 10}, {2026, 12, 9, 21, 40, 5}, 5},
      {"behind an hour", {2026, 12, 9, 20, 40, 5}, {2026, 12, 9, 21, 40, 5}, -3600},
      {"over midnight of a year", {2027, 1, 1, 0, 0, 1}, {2026, 12, 31, 23, 59, 59}, 2},
      {"a leap day behind", {2024, 2, 28, 12, 0, 0}, {2024, 3, 1, 12, 0, 0}, -2 * 86400},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto block = ClockBlock(row.controller);
    const Expected<std::int64_t> drift = ClockDriftSeconds(block, row.computer);
    ASSERT_TRUE(drift.ok()) << drift.status().detail();
    EXPECT_EQ(*drift, row.expected);
  }
}

TEST(ClockDrift, AnswerThatIsNoRealMomentOrShortHasNoDrift) {
  const DateTime now{2026, 12, 9, 21, 40, 5};
  const Bytes answers[] = {{0, 0, 0, 0, 1, 13, 26}, {0, 0, 24, 0, 1, 1, 26}, {0, 60, 0, 0, 1, 1, 26},
                           {0, 0, 0, 0, 30, 2, 26}, {0, 0, 0, 0, 0, 1, 26},  {0, 0, 0, 0, 1, 1}};
  for (const Bytes& answer : answers) {
    EXPECT_FALSE(ClockDriftSeconds(answer, now).ok());
  }
}

}  // namespace
}  // namespace vantorel

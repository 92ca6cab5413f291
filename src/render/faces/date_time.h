#pragma once
// The date-time value of clocks and counters, and the Gregorian calendar arithmetic they need.
//
// Plain values and pure functions (CurrentLocalTime reads the clock): safe on any thread.

#include <cstdint>
#include <optional>
#include <string_view>

namespace vantorel {

struct DateTime {
  std::uint16_t year = 2000;
  std::uint16_t month = 1;  // 1..12
  std::uint16_t day = 1;    // 1..31
  std::uint16_t hour = 0;   // 0..23
  std::uint16_t minute = 0;
  std::uint16_t second = 0;

  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// Divisible by 4 and not by 100, or divisible by 400.
constexpr bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Days of `month` (1..12) in `year`.
int DaysInMonth(int year, int month);

// Zeller's rule: 0 = Sunday ... 6 = Saturday.
int WeekdayOf(int year, int month, int day);

// Days from 1 January 1970 to the date (negative before it).
std::int64_t DayNumber(int year, int month, int day);

// Seconds from 1 January 1970 00:00:00 to `moment`, and back.
std::int64_t SecondsOf(const DateTime& moment);
DateTime DateTimeOfSeconds(std::int64_t seconds);

// `moment` moved by `minutes` (either sign), carried into day, month and year.
DateTime AddMinutes(const DateTime& moment, int minutes);

// "YYYY-MM-DD hh:mm:ss" (seconds optional), or nothing when it is not a real moment.
std::optional<DateTime> ParseDateTime(std::string_view text);

// The computer's local time now (read, never set).
DateTime CurrentLocalTime();

}  // namespace vantorel

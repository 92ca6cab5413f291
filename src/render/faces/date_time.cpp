#include "render/faces/date_time.h"

#include <cstdio>
#include <ctime>
#include <algorithm>
#include <string>

namespace vantorel {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Floor division, for dates before 1970.
constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 30;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int WeekdayOf(int year, int month, int day) {
  if (month < 3) {
    month += 12;
    --year;
  }
  const int w = (day + (13 * month + 8) / 5 + year + year / 4 - year / 100 + year / 400) % 7;
  return w < 0 ? w + 7 : w;
}

// The civil-from-days algorithm of the proleptic Gregorian calendar (eras of 400 years).
std::int64_t DayNumber(int year, int month, int day) {
  const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
  const std::int64_t era = FloorDiv(y, 400);
  const std::int64_t yearOfEra = y - era * 400;
  const std::int64_t monthFromMarch = month > 2 ? month - 3 : month + 9;
  const std::int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

std::int64_t SecondsOf(const DateTime& moment) {
  return DayNumber(moment.year, moment.month, moment.day) * kSecondsPerDay + moment.hour * 3600 + moment.minute * 60 +
         moment.second;
}

DateTime DateTimeOfSeconds(std::int64_t seconds) {
  const std::int64_t days = FloorDiv(seconds, kSecondsPerDay);
  const std::int64_t inDay = seconds - days * kSecondsPerDay;
  const std::int64_t z = days + 719468;
  const std::int64_t era = FloorDiv(z, 146097);
  const std::int64_t dayOfEra = z - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
  const std::int64_t day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;
  const std::int64_t month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
  const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  DateTime moment;
  moment.year = static_cast<std::uint16_t>(year);
  moment.month = static_cast<std::uint16_t>(month);
  moment.day = static_cast<std::uint16_t>(day);
  moment.hour = static_cast<std::uint16_t>(inDay / 3600);
  moment.minute = static_cast<std::uint16_t>(inDay / 60 % 60);
  moment.second = static_cast<std::uint16_t>(inDay % 60);
  return moment;
}

DateTime AddMinutes(const DateTime& moment, int minutes) {
  if (minutes == 0) return moment;
  return DateTimeOfSeconds(SecondsOf(moment) + static_cast<std::int64_t>(minutes) * 60);
}

std::optional<DateTime> ParseDateTime(std::string_view text) {
  const std::string copy(text);
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  int consumed = 0;
  const int fields = std::sscanf(copy.c_str(), "%4d-%2d-%2d %2d:%2d%n:%2d%n", &year, &month, &day, &hour, &minute,
                                 &consumed, &second, &consumed);
  if (fields < 5 || consumed != static_cast<int>(copy.size())) return std::nullopt;
  if (year < 1900 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour < 0 || hour > 23 ||
      minute < 0 || minute > 59 || second < 0 || second > 59) {
    return std::nullopt;
  }
  return DateTime{static_cast<std::uint16_t>(year),   static_cast<std::uint16_t>(month),
                  static_cast<std::uint16_t>(day),    static_cast<std::uint16_t>(hour),
                  static_cast<std::uint16_t>(minute), static_cast<std::uint16_t>(second)};
}

DateTime CurrentLocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {static_cast<std::uint16_t>(local.tm_year + 1900), static_cast<std::uint16_t>(local.tm_mon + 1),
          static_cast<std::uint16_t>(local.tm_mday),        static_cast<std::uint16_t>(local.tm_hour),
          static_cast<std::uint16_t>(local.tm_min),         static_cast<std::uint16_t>(std::min(local.tm_sec, 59))};
}

}  // namespace vantorel

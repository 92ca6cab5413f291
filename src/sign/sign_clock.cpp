#include "sign/sign_clock.h"

namespace vantorel {
namespace {

// Seconds of the computer's local wall clock, counted as if it were UTC (no daylight jumps in
// the arithmetic).
std::int64_t LocalSeconds(std::time_t now) {
  std::tm local{};
  localtime_r(&now, &local);
  return static_cast<std::int64_t>(timegm(&local));
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::array<std::uint8_t, 7> SignClockBlock(std::int64_t offsetSeconds, std::time_t now) {
  const std::time_t shown = static_cast<std::time_t>(LocalSeconds(now) + offsetSeconds);
  std::tm fields{};
  gmtime_r(&shown, &fields);
  return {static_cast<std::uint8_t>(fields.tm_sec % 60), static_cast<std::uint8_t>(fields.tm_min),
          static_cast<std::uint8_t>(fields.tm_hour),     static_cast<std::uint8_t>(fields.tm_wday),
          static_cast<std::uint8_t>(fields.tm_mday),     static_cast<std::uint8_t>(fields.tm_mon + 1),
          static_cast<std::uint8_t>((fields.tm_year + 1900) % 100)};
}

std::optional<std::int64_t> SignClockOffset(std::span<const std::uint8_t> block, std::time_t now) {
  if (block.size() != 7) return std::nullopt;
  const int second = block[0], minute = block[1], hour = block[2], day = block[4], month = block[5];
  const int year = 2000 + block[6];
  if (second > 59 || minute > 59 || hour > 23 || block[3] > 6 || month < 1 || month > 12 || block[6] > 99 ||
      day < 1 || day > DaysInMonth(year, month)) {
    return std::nullopt;
  }
  std::tm fields{};
  fields.tm_sec = second, fields.tm_min = minute, fields.tm_hour = hour;
  fields.tm_mday = day, fields.tm_mon = month - 1, fields.tm_year = year - 1900;
  return static_cast<std::int64_t>(timegm(&fields)) - LocalSeconds(now);
}

}  // namespace vantorel

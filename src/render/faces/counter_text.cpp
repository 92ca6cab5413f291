#include "render/faces/counter_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>

namespace vantorel {
namespace {

struct Span {
  std::int64_t days = 0;
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
};

Span SpanOf(std::int64_t seconds) {
  Span span;
  if (seconds <= 0) return span;
  span.days = seconds / 86400;
  span.hours = static_cast<int>(seconds / 3600 % 24);
  span.minutes = static_cast<int>(seconds / 60 % 60);
  span.seconds = static_cast<int>(seconds % 60);
  return span;
}

std::string Number(std::int64_t value, bool twoDigits) {
  char text[32];
  std::snprintf(text, sizeof text, twoDigits ? "%02lld" : "%lld", static_cast<long long>(value));
  return text;
}

// The value of a placeholder at the start of `rest`, and its length; 0 when none starts there.
std::size_t Placeholder(std::string_view rest, const Span& span, std::string& value) {
  struct Entry {
    std::string_view name;
    std::int64_t Span::*days;
    int Span::*part;
    bool twoDigits;
  };
  // Longer names first, so that "{!h+}" and "{!h2}" are not read as "{!h".
  static constexpr std::array<Entry, 8> kEntries = {{
      {"{!h+}", nullptr, nullptr, false},
      {"{!h2}", nullptr, &Span::hours, true},
      {"{!m2}", nullptr, &Span::minutes, true},
      {"{!s2}", nullptr, &Span::seconds, true},
      {"{!d}", &Span::days, nullptr, false},
      {"{!h}", nullptr, &Span::hours, false},
      {"{!m}", nullptr, &Span::minutes, false},
      {"{!s}", nullptr, &Span::seconds, false},
  }};
  for (const Entry& entry : kEntries) {
    if (!rest.starts_with(entry.name)) continue;
    if (entry.days) {
      value = Number(span.*entry.days, false);
    } else if (entry.part) {
      value = Number(span.*entry.part, entry.twoDigits);
    } else {
      value = Number(span.days * 24 + span.hours, false);
    }
    return entry.name.size();
  }
  return 0;
}

}  // namespace

std::string CounterText(const DateTime& target, const DateTime& now, std::string_view pattern, bool countUp) {
  const std::int64_t difference = countUp ? SecondsOf(now) - SecondsOf(target) : SecondsOf(target) - SecondsOf(now);
  const Span span = SpanOf(difference);
  if (pattern.empty()) return Number(span.days, false);
  if (pattern.front() == '\n' || pattern.front() == '\r') {
    pattern.remove_prefix(pattern.starts_with("\r\n") ? 2 : 1);
  }
  std::string text;
  while (!pattern.empty()) {
    std::string value;
    if (const std::size_t length = pattern.front() == '{' ? Placeholder(pattern, span, value) : 0) {
      text += value;
      pattern.remove_prefix(length);
    } else {
      text += pattern.front();
      pattern.remove_prefix(1);
    }
  }
  return text;
}

std::int64_t WorkCount(const WorkCounterSettings& settings, const DateTime& now) {
  if (SecondsOf(settings.start) > SecondsOf(now)) return 0;
  const std::uint8_t mask = settings.workingDays & 0x7F;
  const std::int64_t days = DayNumber(now.year, now.month, now.day) -
                            DayNumber(settings.start.year, settings.start.month, settings.start.day);
  // The working days before today: whole weeks, then the days left over from the start's weekday.
  std::int64_t working = days / 7 * std::popcount(mask);
  const int startWeekday = WeekdayOf(settings.start.year, settings.start.month, settings.start.day);
  for (std::int64_t d = 0; d < days % 7; ++d) {
    if ((mask >> ((startWeekday + d) % 7)) & 1) ++working;
  }
  if (!settings.countHours) return working;
  std::int64_t hours = working * settings.hoursPerDay;
  const bool workingToday = ((mask >> WeekdayOf(now.year, now.month, now.day)) & 1) != 0;
  if (workingToday && now.hour > settings.workStartHour) {
    hours += std::min(now.hour - settings.workStartHour, settings.hoursPerDay);
  }
  return hours;
}

}  // namespace vantorel

#include "playbill/play_coverage.h"

#include <algorithm>
#include <vector>

namespace vantorel {
namespace {

constexpr int kMaxProgramsLookedAt = 255;
constexpr int kUnitsPerHour = 256;               // times are hour*256+minute
constexpr int kEndOfDay = 24 * kUnitsPerHour;    // 24:00

// One flag per unit of a day: unit u stands for the moments from u to u+1. A period [start, end]
// sets the units start..end-1, so two periods that meet (08:00-12:00, 12:00-20:00) leave no gap and
// one that starts a minute later (12:01) leaves one, as the check merges them.
using DayUnits = std::bitset<kEndOfDay>;
using WeekUnits = std::array<DayUnits, 7>;

DayUnits Range(int start, int end) {
  start = std::clamp(start, 0, kEndOfDay);
  end = std::clamp(end, 0, kEndOfDay);
  if (start >= end) return {};
  DayUnits units;
  units.set();
  return (units >> static_cast<std::size_t>(kEndOfDay - (end - start))) << static_cast<std::size_t>(start);
}

// A daily window: start equal to end the whole day, an end before the start past midnight (both
// parts on the same day).
DayUnits DailyWindow(int start, int end) {
  if (start == end) return DayUnits().set();
  if (start < end) return Range(start, end);
  return Range(0, end) | Range(start, kEndOfDay);
}

WeekUnits OnDays(std::uint8_t days, const DayUnits& window) {
  WeekUnits week;
  for (std::size_t day = 0; day < 7; ++day) {
    if (days & (1u << day)) week[day] = window;
  }
  return week;
}

WeekUnits WholeWeek() { return OnDays(0x7F, DayUnits().set()); }

// When a program plays by its own time window.
WeekUnits ProgramUnits(const tagProgramPart& program) {
  const auto& timeSch = program.timeSch;
  if (!(timeSch[0] & kTimeWindowFlag)) return WholeWeek();
  return OnDays(static_cast<std::uint8_t>(timeSch[0] & 0x7F), DailyWindow(timeSch[1], timeSch[2]));
}

void Add(WeekUnits& into, const WeekUnits& more) {
  for (std::size_t day = 0; day < 7; ++day) into[day] |= more[day];
}

WeekHours HoursOf(const WeekUnits& units) {
  const DayUnits wholeHour = Range(0, kUnitsPerHour);
  WeekHours hours;
  for (std::size_t day = 0; day < 7; ++day) {
    for (std::size_t hour = 0; hour < 24; ++hour) {
      hours[day][hour] = ((units[day] >> (hour * kUnitsPerHour)) & wholeHour) == wholeHour;
    }
  }
  return hours;
}

int TimeUnits(const ScheduleTime& time) { return time.hour * kUnitsPerHour + time.minute; }

}  // namespace

WeekHours TimeWindowHours(const PrgList& list) {
  WeekUnits covered;
  int looked = 0;
  for (const tagPrgItem& record : list) {
    if (!record.IsProgram()) continue;
    // Past this many, the check stops looking and takes the week as covered.
    if ((record.program.timeSch[0] & kTimeWindowFlag) && ++looked > kMaxProgramsLookedAt) return HoursOf(WholeWeek());
    Add(covered, ProgramUnits(record.program));
  }
  return HoursOf(covered);
}

WeekHours ScheduledHours(const PrgList& list, std::span<const ScheduleEntry> periods) {
  std::vector<WeekUnits> programs;
  for (const tagPrgItem& record : list) {
    if (record.IsProgram()) programs.push_back(ProgramUnits(record.program));
  }
  WeekUnits covered;
  for (const ScheduleEntry& period : periods) {
    WeekUnits playing;
    for (std::size_t program = 0; program < programs.size(); ++program) {
      if (period.Plays(program)) Add(playing, programs[program]);
    }
    const DayUnits window = DailyWindow(TimeUnits(period.startTime), TimeUnits(period.endTime));
    const WeekUnits inPeriod = OnDays(period.weekdayMask & 0x7F, window);
    for (std::size_t day = 0; day < 7; ++day) covered[day] |= inPeriod[day] & playing[day];
  }
  return HoursOf(covered);
}

WeekHours PlayingHours(const PrgList& list, std::span<const ScheduleEntry> periods) {
  return periods.empty() ? TimeWindowHours(list) : ScheduledHours(list, periods);
}

bool CoversWholeWeek(const WeekHours& hours) {
  return std::all_of(hours.begin(), hours.end(), [](const std::bitset<24>& day) { return day.all(); });
}

bool CheckPlayCoverage(const PrgList& list) { return CoversWholeWeek(TimeWindowHours(list)); }

}  // namespace vantorel

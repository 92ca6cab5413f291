#include "playbill/period_rules.h"

#include <ctime>

#include "app/text_format.h"

namespace vantorel {
namespace {

constexpr int kFirstYear = 2000;
constexpr int kLastYear = 2099;

// Dates compared in calendar order: (year * 12 + month) * 31 + day never puts a later date first,
// which year * 365 + month * 31 + day does across the turn of a year (December 31 counts more
// than January 1 of the next year).
int DayNumber(int year, int month, int day) { return (year * 12 + month) * 31 + day; }

// Both set or both 0.
bool SetAlike(int start, int end) { return (start == 0) == (end == 0); }

}  // namespace

PeriodVerdict CheckPeriod(const PeriodFields& f, const CivilDay& today) {
  const auto inRange = [](int value, int high) { return value >= 0 && value <= high; };
  if (!inRange(f.startMonth, 12) || !inRange(f.endMonth, 12) || !inRange(f.startDay, 31) || !inRange(f.endDay, 31) ||
      !inRange(f.startHour, 23) || !inRange(f.endHour, 23) || !inRange(f.startMinute, 59) ||
      !inRange(f.endMinute, 59)) {
    return {};
  }
  if (!SetAlike(f.startYear, f.endYear) || !SetAlike(f.startMonth, f.endMonth) || !SetAlike(f.startDay, f.endDay)) {
    return {};
  }
  // The controller's form keeps the year modulo 100: another century would come back wrong.
  const auto yearStored = [](int year) { return year == 0 || (year >= kFirstYear && year <= kLastYear); };
  if (!yearStored(f.startYear) || !yearStored(f.endYear)) return {false, kTextYearOutOfRange};
  const int end = DayNumber(f.endYear, f.endMonth, f.endDay);
  if (end < DayNumber(f.startYear, f.startMonth, f.startDay)) return {false, kTextEndBeforeStart};
  if (end < DayNumber(today.year, today.month, today.day)) return {false, kTextEndBeforeToday};
  if (f.weekdayMask == 0) return {};
  return {true, 0};
}

PeriodFields FieldsOf(const ScheduleEntry& p) {
  return {p.startDate.year, p.startDate.month, p.startDate.day, p.endDate.year, p.endDate.month, p.endDate.day,
          p.startTime.hour, p.startTime.minute, p.endTime.hour, p.endTime.minute, p.weekdayMask};
}

Status AddCheckedPeriod(CPlaySchedule& schedule, int programCount, const ScheduleEntry& period, const CivilDay& today) {
  if (schedule.EntryCount() == 0) schedule.SetProgramCount(programCount);
  if (schedule.ProgramCount() != programCount) {
    return Status::Failure(kTextFailed, FormatText("the schedule has columns for %d programs, the playbill %d: remove its periods first",
                                                   schedule.ProgramCount(), programCount));
  }
  const PeriodVerdict verdict = CheckPeriod(FieldsOf(period), today);
  if (verdict.messageId != 0) return Status::Failure(verdict.messageId);
  if (!verdict.okEnabled) {
    return Status::Failure(kTextFailed, "the period is not valid: months 1-12 and days 1-31 set at both ends or at neither, "
                                        "hours 0-23, minutes 0-59, at least one day or the mode flag");
  }
  if (!schedule.AddEntry(period)) return Status::Failure(kTextFailed, "the period does not fit the schedule");
  return Status::Ok();
}

CivilDay Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string NewPeriodPrograms(int programCount, int runschBlank) {
  return std::string(static_cast<std::size_t>(programCount > 0 ? programCount : 0), runschBlank == 0 ? '1' : '0');
}

}  // namespace vantorel

#pragma once
// The rules of the period editor (one schedule entry): when its OK button is enabled, and which
// message it shows inside the dialog when a date is wrong.

#include <cstdint>
#include <string>

#include "app/text_ids.h"
#include "platform/status.h"
#include "playbill/play_schedule.h"
#include "playbill/schedule_entry.h"

namespace vantorel {

// The editor's fields; seconds are always 0. A date part of 0 means "not set".
struct PeriodFields {
  int startYear = 0;
  int startMonth = 0;
  int startDay = 0;
  int endYear = 0;
  int endMonth = 0;
  int endDay = 0;
  int startHour = 0;
  int startMinute = 0;
  int endHour = 0;
  int endMinute = 0;
  std::uint8_t weekdayMask = 0;  // days and the mode flag
};

struct CivilDay {
  int year = 0;
  int month = 0;
  int day = 0;
};

struct PeriodVerdict {
  bool okEnabled = false;
  int messageId = 0;  // 415, 416, 5056 or 0 for no message

  friend bool operator==(const PeriodVerdict&, const PeriodVerdict&) = default;
};

// The checks in the editor's order: fields in range (months 0..12, days 0..31, hours up to 23,
// minutes up to 59); year, month and day each set at both ends or at neither; set years within
// 2000..2099 (5056); the end date not before the start date (415) nor before `today` (416),
// compared in calendar order; at least one weekday or the mode flag.
PeriodVerdict CheckPeriod(const PeriodFields& fields, const CivilDay& today);

// The fields of a period's parts.
PeriodFields FieldsOf(const ScheduleEntry& period);

// Appends `period` to the schedule of a playbill of `programCount` programs as the period editor
// would accept it. Refused with the editor's message (415, 416, 5056) or, when OK would merely stay
// disabled, with what is wrong; a schedule without entries first takes the playbill's program
// count, and one whose columns are for another count is refused.
Status AddCheckedPeriod(CPlaySchedule& schedule, int programCount, const ScheduleEntry& period, const CivilDay& today);

// Today in the local time zone.
CivilDay Today();

// The program flags a new period starts with: all programs when the option "Runsch Blank" is 0,
// none otherwise.
std::string NewPeriodPrograms(int programCount, int runschBlank);

}  // namespace vantorel

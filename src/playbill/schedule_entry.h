#pragma once
// One period of a play schedule, kept as an entry string of exactly 40 + program count characters:
//
//   0     "1" (a valid entry)
//   1     entry type, a digit
//   2-3   "00"
//   4-11  weekday field: "^" (mode flag set) or "+", then per day 0..6 (Sunday first) its digit or "_"
//   12-27 start and end date, "%04d%02d%02d%04d%02d%02d"
//   28-39 start and end time, "%02d%02d%02d%02d%02d%02d"
//   40-   per program in playbill order "1" (plays in this period) or "0"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantorel {

inline constexpr std::size_t kEntryFixedChars = 40;
inline constexpr std::uint8_t kWeekdayModeFlag = 0x80;

struct ScheduleDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

struct ScheduleTime {
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The parsed parts of an entry.
struct ScheduleEntry {
  int type = 0;
  std::string weekdays;          // the 8-character weekday field
  std::uint8_t weekdayMask = 0;  // bit d: day d (0 = Sunday) selected; bit 7: the mode flag
  ScheduleDate startDate;
  ScheduleDate endDate;
  ScheduleTime startTime;
  ScheduleTime endTime;
  std::string programs;          // "1" or "0" per program

  bool Plays(std::size_t program) const { return program < programs.size() && programs[program] == '1'; }
};

// "^0_____6" for Sunday and Saturday with the mode flag.
std::string WeekdayField(std::uint8_t mask);
// Bit 7 for "^" at the start, plus bit d for every digit d of "0".."6" that follows; the field is
// read as its first 8 characters.
std::uint8_t WeekdayMaskOf(std::string_view field);

// The entry string of a period; nothing when a number does not fit its digits (negative or too
// long), the type is not 0..9, the weekday field holds a blank, a control character or a byte
// beyond ASCII, or `programs` holds other characters than "0" and "1". A weekday field shorter
// than 8 characters is padded with "_".
std::optional<std::string> MakeEntry(int type, std::string_view weekdays, ScheduleDate startDate, ScheduleDate endDate,
                                     ScheduleTime startTime, ScheduleTime endTime, std::string_view programs);

// The parts of an entry that starts with "1" and has digits wherever its dates and times are;
// nothing otherwise. A type that is not a digit reads as 0.
std::optional<ScheduleEntry> ParseEntry(std::string_view entry);

// The program flags of "1,3" (1-based program numbers, blanks allowed around them), "all" or
// "none", one "1" or "0" per program; nothing when a number names no program.
std::optional<std::string> ProgramFlagsOf(std::string_view text, int programCount);

// What the schedule editor shows: "2024.01.31-2024.12.31" (a year of 0 or less as "xxxx", a month or
// day as "xx"), "08:00:00-20:00:00", and the 1-based numbers of the programs that play, "1, 3".
std::string DateRangeText(const ScheduleEntry& entry);
std::string TimeRangeText(const ScheduleEntry& entry);
std::string ProgramsText(const ScheduleEntry& entry);

}  // namespace vantorel

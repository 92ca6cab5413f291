#pragma once
// When something plays in the week. The send workflow checks after making a screen's data that
// some program plays at every moment, judged from the programs' own time windows (TIMESCH), not
// from the schedule's periods; a gap is only a warning. The schedule editor shows the same as a
// grid of hours, with the periods it edits taken into account.

#include <array>
#include <bitset>
#include <span>

#include "playbill/prg_item.h"
#include "playbill/schedule_entry.h"

namespace vantorel {

// TIMESCH: bit 8 of the first value = the program plays only in its time window, bits 0..6 its
// days (bit 0 = Sunday); the second and third value are start and end as hour*256+minute.
inline constexpr std::uint16_t kTimeWindowFlag = 0x100;

// Per day of the week (0 = Sunday .. 6 = Saturday) one flag per hour 0..23, set when something
// plays through the whole of that hour.
using WeekHours = std::array<std::bitset<24>, 7>;

// The hours the programs' own time windows cover, as the play coverage check sees them: every
// hour when some program has no time window, or once more than 255 programs with one were looked
// at. Start equal to end is the whole day; an end before the start runs past midnight, its two
// parts counted on the same day; times beyond 24:00 count as 24:00.
WeekHours TimeWindowHours(const PrgList& list);

// The hours the schedule's periods cover: an hour counts when, at every moment of it, some period
// takes in that weekday (bits 0..6 of its mask) and that time of day, and one of the programs it
// names plays then by its own time window. A period's times are read as a time window's (start
// equal to end the whole day, an end before the start past midnight; seconds are not looked at);
// its date range, type and mode flag are not looked at: the grid is a week in which every period
// is in force. Program flags beyond the playbill's programs name nothing.
WeekHours ScheduledHours(const PrgList& list, std::span<const ScheduleEntry> periods);

// What the schedule editor shows: with periods ScheduledHours, without TimeWindowHours (what the
// send workflow's check judges by).
WeekHours PlayingHours(const PrgList& list, std::span<const ScheduleEntry> periods);

bool CoversWholeWeek(const WeekHours& hours);

// True when a program without a time window exists (among the first 256 looked at), or when
// the time windows together cover all seven days from 00:00 to 24:00: CoversWholeWeek of
// TimeWindowHours, so that the check and the grid never disagree.
bool CheckPlayCoverage(const PrgList& list);

}  // namespace vantorel

#pragma once
// Whether some program plays at every moment of the week, judged from the programs' own time
// windows (TIMESCH), not from the schedule's periods. Checked after making a screen's data; a
// gap is only a warning.

#include "playbill/prg_item.h"

namespace vantorel {

// TIMESCH: bit 8 of the first value = the program plays only in its time window, bits 0..6 its
// days (bit 0 = Sunday); the second and third value are start and end as hour*256+minute.
inline constexpr std::uint16_t kTimeWindowFlag = 0x100;

// True when a program without a time window exists (among the first 256 looked at), or when
// the time windows together cover all seven days from 00:00 to 24:00.
bool CheckPlayCoverage(const PrgList& list);

}  // namespace vantorel

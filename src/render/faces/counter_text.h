#pragma once
// The texts of the counter faces: the time counter's template with its placeholders filled in,
// and the work counter's count of working days or hours.
//
// Pure functions: safe on any thread.

#include <cstdint>
#include <string>
#include <string_view>

#include "playbill/item_builder.h"  // kDefaultCounterTemplate
#include "render/faces/date_time.h"

namespace vantorel {


// The time counter's text at `now`: counting down to `target`, or up from it. Placeholders:
// {!d} days, {!h+} total hours, {!h} / {!h2} hours, {!m} / {!m2} minutes, {!s} / {!s2} seconds
// (the 2 forms with two digits). A passed count-down, or a count-up whose start is still ahead,
// shows zeros. An empty template shows the days; a leading line end is dropped. Line ends split
// the text into lines for the face.
std::string CounterText(const DateTime& target, const DateTime& now, std::string_view pattern, bool countUp);

// The work counter's settings: the start date (TCBASE), the working weekdays (bit 0 Sunday ...
// bit 6 Saturday), hours per working day, days or hours, and the hour the working day starts.
struct WorkCounterSettings {
  DateTime start;
  std::uint8_t workingDays = 0x3E;  // Monday to Friday
  int hoursPerDay = 8;
  bool countHours = false;
  int workStartHour = 8;
};

// The working days (or hours) from the start to `now`; 0 while the start is ahead. The face adds
// the base value (TIMEADJ).
std::int64_t WorkCount(const WorkCounterSettings& settings, const DateTime& now);

}  // namespace vantorel

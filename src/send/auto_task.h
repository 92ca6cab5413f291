#pragma once
// The "Auto task manager" values: the automatic power on/off times and the hourly brightness.
//
// Power schedule, 4 bytes: on hour, on minute, off hour, off minute. A schedule with an hour above
// 23 or a minute above 59 is not enabled and shows the computer's time; one whose on and off
// times are equal is not enabled either; any other is enabled. A schedule that is not enabled is
// written as four bytes 0xFF.
//
// Brightness, 24 bytes, one per hour: 0-31, above 31 automatic (needs a light sensor). A slider
// shows 31 − value (32 for automatic), a number field the value (-1 for automatic); a number field
// below 0 or above 31 is written as 255.
//
// Pure functions, safe on any thread.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"
#include "render/faces/date_time.h"

namespace vantorel {

inline constexpr std::size_t kPowerScheduleSize = 4;
inline constexpr std::size_t kBrightnessHours = 24;
inline constexpr int kMaxBrightness = 31;
inline constexpr int kAutomaticBrightnessField = -1;
inline constexpr int kAutomaticBrightnessSlider = 32;
inline constexpr std::uint8_t kAutomaticBrightnessByte = 255;

struct ClockTime {
  int hour = 0;
  int minute = 0;
  friend bool operator==(const ClockTime&, const ClockTime&) = default;
};

struct PowerSchedule {
  bool enabled = false;
  ClockTime on;
  ClockTime off;
  friend bool operator==(const PowerSchedule&, const PowerSchedule&) = default;
};

// The schedule a controller answered, as the dialog shows it; `now` fills both times when the
// answer holds no real times. kTextFailed when fewer than 4 bytes came.
Expected<PowerSchedule> PowerScheduleOfAnswer(std::span<const std::uint8_t> answer, ClockTime now);
// The 4 bytes written for `schedule`: the times when enabled, else 0xFF 0xFF 0xFF 0xFF.
std::array<std::uint8_t, kPowerScheduleSize> PowerScheduleBytes(const PowerSchedule& schedule);
// "hh:mm" (0-23, 0-59), or nothing.
std::optional<ClockTime> ParseClockTime(std::string_view text);
// "07:30"
std::string ClockTimeText(ClockTime time);

// A controller's brightness byte as a slider position and as a number field.
int BrightnessSliderOf(std::uint8_t value);
int BrightnessFieldOf(std::uint8_t value);
// A slider position back to a number field (32 = automatic = -1).
int BrightnessFieldOfSlider(int slider);
// A number field as the byte written (255 outside 0-31).
std::uint8_t BrightnessByteOf(int field);

// The number fields of a brightness answer; kTextFailed when fewer than 24 bytes came.
Expected<std::array<int, kBrightnessHours>> BrightnessFieldsOfAnswer(std::span<const std::uint8_t> answer);
// The 24 bytes written for the number fields.
std::array<std::uint8_t, kBrightnessHours> BrightnessBytes(const std::array<int, kBrightnessHours>& fields);

// The 24 hourly fields from the values a user gives: one value for every hour, six for the
// four-hour groups 0-4 ... 20-24, or 24, one per hour. A value is a number (-1 automatic) or
// "auto". kTextFailed for any other count or a value that is not a number.
Expected<std::array<int, kBrightnessHours>> BrightnessFieldsOf(const std::vector<std::string>& values);
// The fields as one line: "0-4: 31 31 31 31 | 4-8: ..." with "auto" for automatic hours.
std::string BrightnessText(const std::array<int, kBrightnessHours>& fields);

// The brightness cells of the dialog: the four-hour groups 0-4 ... 20-24 (cells 0-5) and every
// hour ("ALL", cell kAllHoursCell).
inline constexpr std::size_t kHoursPerBrightnessGroup = 4;
inline constexpr std::size_t kBrightnessGroups = kBrightnessHours / kHoursPerBrightnessGroup;
inline constexpr std::size_t kAllHoursCell = kBrightnessGroups;
inline constexpr std::size_t kBrightnessCells = kAllHoursCell + 1;
// The field all hours of `cell` share, or nothing when they differ.
std::optional<int> BrightnessOfCell(const std::array<int, kBrightnessHours>& fields, std::size_t cell);
// The first hour of `cell` (its slider stands at that hour's field when its hours differ).
std::size_t FirstHourOfCell(std::size_t cell);
// Sets every hour of `cell` to `field`.
void SetBrightnessOfCell(std::array<int, kBrightnessHours>& fields, std::size_t cell, int field);

}  // namespace vantorel

#include "send/auto_task.h"

#include <charconv>

#include "app/text_format.h"
#include "app/text_ids.h"
#include "platform/byte_reader.h"

namespace vantorel {

namespace {

constexpr std::uint8_t kScheduleOff = 0xFF;

bool IsRealTime(int hour, int minute) { return hour <= 23 && minute <= 59; }

std::optional<int> ParseNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The hours of a brightness cell, [first, end).
struct HourRange {
  std::size_t first;
  std::size_t end;
};

HourRange HoursOfCell(std::size_t cell) {
  if (cell == kAllHoursCell) return {0, kBrightnessHours};
  return {cell * kHoursPerBrightnessGroup, (cell + 1) * kHoursPerBrightnessGroup};
}

}  // namespace

Expected<PowerSchedule> PowerScheduleOfAnswer(std::span<const std::uint8_t> answer, ClockTime now) {
  ByteReader in(answer);
  const int onHour = in.U8();
  const int onMinute = in.U8();
  const int offHour = in.U8();
  const int offMinute = in.U8();
  if (!in.ok()) return Status::Failure(kTextFailed, "power schedule answer: " + in.Where());
  PowerSchedule schedule;
  if (!IsRealTime(onHour, onMinute) || !IsRealTime(offHour, offMinute)) {
    schedule.on = now;
    schedule.off = now;
    return schedule;
  }
  schedule.on = {onHour, onMinute};
  schedule.off = {offHour, offMinute};
  schedule.enabled = schedule.on != schedule.off;
  return schedule;
}

std::array<std::uint8_t, kPowerScheduleSize> PowerScheduleBytes(const PowerSchedule& schedule) {
  if (!schedule.enabled) return {kScheduleOff, kScheduleOff, kScheduleOff, kScheduleOff};
  return {static_cast<std::uint8_t>(schedule.on.hour), static_cast<std::uint8_t>(schedule.on.minute),
          static_cast<std::uint8_t>(schedule.off.hour), static_cast<std::uint8_t>(schedule.off.minute)};
}

std::optional<ClockTime> ParseClockTime(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon > 2 || text.size() - colon != 3) return std::nullopt;
  const std::optional<int> hour = ParseNumber(text.substr(0, colon));
  const std::optional<int> minute = ParseNumber(text.substr(colon + 1));
  if (!hour || !minute || *hour < 0 || *minute < 0 || !IsRealTime(*hour, *minute)) return std::nullopt;
  return ClockTime{*hour, *minute};
}

std::string ClockTimeText(ClockTime time) { return FormatText("%02d:%02d", time.hour, time.minute); }

int BrightnessSliderOf(std::uint8_t value) { return value <= kMaxBrightness ? kMaxBrightness - value : kAutomaticBrightnessSlider; }

int BrightnessFieldOf(std::uint8_t value) { return value <= kMaxBrightness ? value : kAutomaticBrightnessField; }

int BrightnessFieldOfSlider(int slider) {
  if (slider < 0 || slider > kMaxBrightness) return kAutomaticBrightnessField;
  return kMaxBrightness - slider;
}

std::uint8_t BrightnessByteOf(int field) {
  return field < 0 || field > kMaxBrightness ? kAutomaticBrightnessByte : static_cast<std::uint8_t>(field);
}

Expected<std::array<int, kBrightnessHours>> BrightnessFieldsOfAnswer(std::span<const std::uint8_t> answer) {
  ByteReader in(answer);
  std::array<int, kBrightnessHours> fields{};
  for (int& field : fields) field = BrightnessFieldOf(in.U8());
  if (!in.ok()) return Status::Failure(kTextFailed, "brightness answer: " + in.Where());
  return fields;
}

std::array<std::uint8_t, kBrightnessHours> BrightnessBytes(const std::array<int, kBrightnessHours>& fields) {
  std::array<std::uint8_t, kBrightnessHours> bytes{};
  for (std::size_t hour = 0; hour < kBrightnessHours; ++hour) bytes[hour] = BrightnessByteOf(fields[hour]);
  return bytes;
}

Expected<std::array<int, kBrightnessHours>> BrightnessFieldsOf(const std::vector<std::string>& values) {
  const std::size_t count = values.size();
  if (count != 1 && count != kBrightnessGroups && count != kBrightnessHours) {
    return Status::Failure(kTextFailed, FormatText("%zu brightness values: give 1 (every hour), 6 (0-4, 4-8, ... 20-24) "
                                                   "or 24 (one per hour)", count));
  }
  std::array<int, kBrightnessHours> fields{};
  for (std::size_t hour = 0; hour < kBrightnessHours; ++hour) {
    const std::string& text = values[hour * count / kBrightnessHours];
    const std::optional<int> value = text == "auto" ? std::optional<int>(kAutomaticBrightnessField) : ParseNumber(text);
    if (!value) return Status::Failure(kTextFailed, "brightness \"" + text + "\": 0 to 31, or -1 or auto for automatic");
    fields[hour] = *value;
  }
  return fields;
}

std::string BrightnessText(const std::array<int, kBrightnessHours>& fields) {
  std::string text;
  for (std::size_t hour = 0; hour < kBrightnessHours; ++hour) {
    if (hour % kHoursPerBrightnessGroup == 0) {
      if (hour > 0) text += "  ";
      text += FormatText("%zu-%zu:", hour, hour + kHoursPerBrightnessGroup);
    }
    text += fields[hour] == kAutomaticBrightnessField ? std::string(" auto") : FormatText(" %d", fields[hour]);
  }
  return text;
}

std::optional<int> BrightnessOfCell(const std::array<int, kBrightnessHours>& fields, std::size_t cell) {
  const HourRange hours = HoursOfCell(cell);
  for (std::size_t hour = hours.first + 1; hour < hours.end; ++hour) {
    if (fields[hour] != fields[hours.first]) return std::nullopt;
  }
  return fields[hours.first];
}

std::size_t FirstHourOfCell(std::size_t cell) { return HoursOfCell(cell).first; }

void SetBrightnessOfCell(std::array<int, kBrightnessHours>& fields, std::size_t cell, int field) {
  const HourRange hours = HoursOfCell(cell);
  for (std::size_t hour = hours.first; hour < hours.end; ++hour) fields[hour] = field;
}

}  // namespace vantorel

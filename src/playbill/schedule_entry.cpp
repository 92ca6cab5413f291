#include "playbill/schedule_entry.h"

#include <algorithm>

#include "app/text_format.h"
#include "screen/ascii_text.h"

namespace vantorel {
namespace {

constexpr std::size_t kWeekdayOffset = 4;
constexpr std::size_t kWeekdayChars = 8;
constexpr std::size_t kDateOffset = 12;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool Fits(int value, int digits) {
  int limit = 1;
  for (int i = 0; i < digits; ++i) limit *= 10;
  return value >= 0 && value < limit;
}

std::optional<int> ReadDigits(std::string_view text, std::size_t offset, std::size_t count) {
  int value = 0;
  for (char c : text.substr(offset, count)) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string DatePart(int value, int width) {
  if (value <= 0) return std::string(static_cast<std::size_t>(width), 'x');
  return FormatText("%0*d", width, value);
}

std::string DateText(const ScheduleDate& date) {
  return DatePart(date.year, 4) + "." + DatePart(date.month, 2) + "." + DatePart(date.day, 2);
}

}  // namespace

std::string WeekdayField(std::uint8_t mask) {
  std::string field(1, (mask & kWeekdayModeFlag) ? '^' : '+');
  for (int day = 0; day < 7; ++day) field += (mask & (1u << day)) ? static_cast<char>('0' + day) : '_';
  return field;
}

std::uint8_t WeekdayMaskOf(std::string_view field) {
  field = field.substr(0, kWeekdayChars);
  std::uint8_t mask = field.starts_with('^') ? kWeekdayModeFlag : 0;
  for (char c : field.substr(std::min<std::size_t>(1, field.size()))) {
    if (c >= '0' && c <= '6') mask = static_cast<std::uint8_t>(mask | (1u << (c - '0')));
  }
  return mask;
}

std::optional<std::string> MakeEntry(int type, std::string_view weekdays, ScheduleDate startDate, ScheduleDate endDate,
                                     ScheduleTime startTime, ScheduleTime endTime, std::string_view programs) {
  const bool datesFit = Fits(startDate.year, 4) && Fits(startDate.month, 2) && Fits(startDate.day, 2) &&
                        Fits(endDate.year, 4) && Fits(endDate.month, 2) && Fits(endDate.day, 2);
  const bool timesFit = Fits(startTime.hour, 2) && Fits(startTime.minute, 2) && Fits(startTime.second, 2) &&
                        Fits(endTime.hour, 2) && Fits(endTime.minute, 2) && Fits(endTime.second, 2);
  const bool flagsValid = programs.find_first_not_of("01") == std::string_view::npos;
  std::string field(weekdays.substr(0, kWeekdayChars));
  // A blank or a control character would not read back from the schedule file.
  const bool fieldValid = std::all_of(field.begin(), field.end(), [](char c) { return c > ' ' && c < 0x7F; });
  if (!Fits(type, 1) || !datesFit || !timesFit || !flagsValid || !fieldValid) return std::nullopt;

  field.resize(kWeekdayChars, '_');
  return FormatText("1%d00", type) + field +
         FormatText("%04d%02d%02d%04d%02d%02d", startDate.year, startDate.month, startDate.day, endDate.year,
                    endDate.month, endDate.day) +
         FormatText("%02d%02d%02d%02d%02d%02d", startTime.hour, startTime.minute, startTime.second, endTime.hour,
                    endTime.minute, endTime.second) +
         std::string(programs);
}

std::optional<ScheduleEntry> ParseEntry(std::string_view entry) {
  if (entry.size() < kEntryFixedChars || entry[0] != '1') return std::nullopt;
  // Dates (year, month, day twice), then times (hour, minute, second twice).
  static constexpr std::size_t kWidths[] = {4, 2, 2, 4, 2, 2, 2, 2, 2, 2, 2, 2};
  int numbers[12] = {};
  std::size_t offset = kDateOffset;
  for (std::size_t i = 0; i < 12; ++i) {
    const std::size_t width = kWidths[i];
    const auto value = ReadDigits(entry, offset, width);
    if (!value) return std::nullopt;
    numbers[i] = *value;
    offset += width;
  }
  ScheduleEntry parts;
  parts.type = IsDigit(entry[1]) ? entry[1] - '0' : 0;
  parts.weekdays = std::string(entry.substr(kWeekdayOffset, kWeekdayChars));
  parts.weekdayMask = WeekdayMaskOf(parts.weekdays);
  parts.startDate = {numbers[0], numbers[1], numbers[2]};
  parts.endDate = {numbers[3], numbers[4], numbers[5]};
  parts.startTime = {numbers[6], numbers[7], numbers[8]};
  parts.endTime = {numbers[9], numbers[10], numbers[11]};
  parts.programs = std::string(entry.substr(kEntryFixedChars));
  return parts;
}

std::optional<std::string> ProgramFlagsOf(std::string_view text, int programCount) {
  const auto count = static_cast<std::size_t>(std::max(programCount, 0));
  if (text == "all") return std::string(count, '1');
  std::string flags(count, '0');
  if (text == "none") return flags;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t comma = std::min(text.find(',', pos), text.size());
    const auto number = ParseCode(TrimSpaces(text.substr(pos, comma - pos)));
    if (!number || *number < 1 || *number > count) return std::nullopt;
    flags[*number - 1] = '1';
    pos = comma + 1;
  }
  return flags;
}

std::string DateRangeText(const ScheduleEntry& entry) { return DateText(entry.startDate) + "-" + DateText(entry.endDate); }

std::string TimeRangeText(const ScheduleEntry& entry) {
  const ScheduleTime& s = entry.startTime;
  const ScheduleTime& e = entry.endTime;
  return FormatText("%02d:%02d:%02d-%02d:%02d:%02d", s.hour, s.minute, s.second, e.hour, e.minute, e.second);
}

std::string ProgramsText(const ScheduleEntry& entry) {
  std::string text;
  for (std::size_t program = 0; program < entry.programs.size(); ++program) {
    if (!entry.Plays(program)) continue;
    text += text.empty() ? FormatText("%zu", program + 1) : FormatText(", %zu", program + 1);
  }
  return text;
}

}  // namespace vantorel

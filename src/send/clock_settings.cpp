#include "send/clock_settings.h"

#include "app/text_format.h"
#include "app/text_ids.h"
#include "platform/byte_reader.h"

namespace vantorel {

std::array<std::uint8_t, kClockBlockSize> ClockBlock(const DateTime& moment) {
  return {static_cast<std::uint8_t>(moment.second),
          static_cast<std::uint8_t>(moment.minute),
          static_cast<std::uint8_t>(moment.hour),
          static_cast<std::uint8_t>(WeekdayOf(moment.year, moment.month, moment.day)),
          static_cast<std::uint8_t>(moment.day),
          static_cast<std::uint8_t>(moment.month),
          static_cast<std::uint8_t>(moment.year % 100)};
}

Expected<DateTime> ClockOfAnswer(std::span<const std::uint8_t> answer) {
  ByteReader in(answer);
  DateTime moment;
  moment.second = in.U8();
  moment.minute = in.U8();
  moment.hour = in.U8();
  in.Skip(1);  // day of week
  moment.day = in.U8();
  moment.month = in.U8();
  moment.year = static_cast<std::uint16_t>(2000 + in.U8());
  if (!in.ok()) return Status::Failure(kTextFailed, "clock answer: " + in.Where());
  return moment;
}

Expected<std::string> ClockText(std::span<const std::uint8_t> answer) {
  const Expected<DateTime> moment = ClockOfAnswer(answer);
  if (!moment) return moment.status();
  return FormatText("%04d-%02d-%02d %02d:%02d:%02d ", moment->year, moment->month, moment->day, moment->hour,
                    moment->minute, moment->second);
}

Expected<std::int64_t> ClockDriftSeconds(std::span<const std::uint8_t> answer, const DateTime& computer) {
  const Expected<DateTime> moment = ClockOfAnswer(answer);
  if (!moment) return moment.status();
  const DateTime& m = *moment;
  if (m.month < 1 || m.month > 12 || m.day < 1 || m.day > DaysInMonth(m.year, m.month) || m.hour > 23 ||
      m.minute > 59 || m.second > 59) {
    return Status::Failure(kTextFailed, FormatText("clock answer is no real moment: %04d-%02d-%02d %02d:%02d:%02d",
                                                   m.year, m.month, m.day, m.hour, m.minute, m.second));
  }
  return SecondsOf(m) - SecondsOf(computer);
}

}  // namespace vantorel

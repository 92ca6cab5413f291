#pragma once
// The controller's clock as the "Time & Temperature" dialog sets and shows it.
//
// Clock block (set and read alike), 7 bytes: second, minute, hour, day of week (0 = Sunday), day,
// month, year modulo 100. A read clock is shown "YYYY-MM-DD hh:mm:ss " (the year byte + 2000).
//
// Pure functions, safe on any thread.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "platform/status.h"
#include "render/faces/date_time.h"

namespace vantorel {

inline constexpr std::size_t kClockBlockSize = 7;

// The block that sets the controller's clock to `moment` (its weekday worked out from the date).
std::array<std::uint8_t, kClockBlockSize> ClockBlock(const DateTime& moment);

// The moment of a clock answer (year = byte 6 + 2000); kTextFailed when fewer than 7 bytes came.
// The bytes are taken as they are: a controller that reports month 13 is shown month 13.
Expected<DateTime> ClockOfAnswer(std::span<const std::uint8_t> answer);

// "%04d-%02d-%02d %02d:%02d:%02d " of a clock answer (with its trailing blank), or kTextFailed.
Expected<std::string> ClockText(std::span<const std::uint8_t> answer);

// Seconds the controller's clock runs ahead of `computer` (negative when behind); both are local
// times. Nothing when the answer is short or not a real moment.
Expected<std::int64_t> ClockDriftSeconds(std::span<const std::uint8_t> answer, const DateTime& computer);

}  // namespace vantorel

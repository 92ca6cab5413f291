#pragma once
// The virtual sign's clock: an offset in seconds from this computer's local time, so that setting
// the sign's clock never touches the machine's. Nothing here keeps state.

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <span>

namespace vantorel {

// The 7-byte clock block (second, minute, hour, day of week with 0 = Sunday, day, month, year
// modulo 100) the sign shows at computer time `now`.
std::array<std::uint8_t, 7> SignClockBlock(std::int64_t offsetSeconds, std::time_t now);

// The offset that makes the sign show `block` at computer time `now`; nothing when a field is
// outside its range (the day of week is not checked: the sign works it out from the date).
std::optional<std::int64_t> SignClockOffset(std::span<const std::uint8_t> block, std::time_t now);

}  // namespace vantorel

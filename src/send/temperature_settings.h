#pragma once
// The controller's temperature sensor as the "Time & Temperature" dialog reads and adjusts it.
//
// Temperature answer, 6 bytes: byte 0 bit 0 = a sensor is there; bytes 1-2 Celsius and 3-4
// Fahrenheit (bit 7 of the first byte the minus sign, then (first AND 0x7F) × 16 + (second >> 4)
// degrees and (second AND 0x0F) tenths); byte 5 the adjustment (bit 7 Fahrenheit, bit 6 minus,
// bits 0-5 its size). Shown "25.3C ( 77.5F ) [ +2C ]".
//
// Pure functions, safe on any thread.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace vantorel {

inline constexpr std::size_t kTemperatureAnswerSize = 6;
inline constexpr std::uint8_t kTemperatureSelector = 3;
inline constexpr std::size_t kTemperatureAdjustBlockSize = 6;
inline constexpr int kMaxTemperatureAdjust = 0x3F;

// "%s%d.%dC ( %s%d.%dF ) [ %s%d%s ]", or the empty text when bit 0 of byte 0 is clear (no
// sensor: nothing is shown). kTextFailed when the sensor bit is set and fewer than 6 bytes came,
// or when no byte came at all.
Expected<std::string> TemperatureText(std::span<const std::uint8_t> answer);

// The adjustment byte: bit 7 for Fahrenheit, bit 6 for a negative value, the size in bits 0-5.
// kTextFailed (detail names the range) when |degrees| is above 63.
Expected<std::uint8_t> TemperatureAdjustValue(int degrees, bool fahrenheit);

// An adjustment as a user writes it: "+2", "-3", "4", with an optional unit "C" or "F" (case
// ignored, Celsius when none): "-3F".
Expected<std::uint8_t> ParseTemperatureAdjust(std::string_view text);

// The block of the temperature adjustment: 0, 4, 0, 0, the adjustment byte, 0.
std::array<std::uint8_t, kTemperatureAdjustBlockSize> TemperatureAdjustBlock(std::uint8_t adjustment);

}  // namespace vantorel

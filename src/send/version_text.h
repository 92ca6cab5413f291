#pragma once
// The firmware version a controller reports, as the settings dialogs show it.
//
// A version answer holds six version bytes at 2-7. When byte 1 is 98 they are the BIOS, LOGIC and
// APP versions, two bytes each, one number per nibble (high nibble first); otherwise each byte's
// low nibble is one number.
//
// Pure functions, safe on any thread.

#include <cstdint>
#include <span>
#include <string>

#include "platform/status.h"

namespace vantorel {

// Byte 1 of a version answer that marks the nibble form.
inline constexpr std::uint8_t kVersionNibbleForm = 98;
inline constexpr std::size_t kVersionAnswerSize = 8;

// The numbers alone: "1.2.3.4-5.6.7.8-9.10.11.12" (byte 1 = 98) or "1.2-3.4-5.6"; kTextFailed
// when fewer than 8 bytes came.
Expected<std::string> VersionNumbers(std::span<const std::uint8_t> answer);

// What "Read version" shows: two line breaks, then the numbers.
Expected<std::string> VersionText(std::span<const std::uint8_t> answer);

// The "Version information" message of the "Auto task manager": with byte 1 = 98
// "<title>:\nBIOS:\t1.2.3.4\nLOGIC:\t5.6.7.8\nAPP:\t9.10.11.12", otherwise
// "(<title>: 1.2-3.4-5.6)  ". `title` is the text "Version information".
Expected<std::string> VersionInformationText(std::span<const std::uint8_t> answer, const std::string& title);

}  // namespace vantorel

#pragma once
// Small text helpers shared by the screen readers: trimming, letter-case-blind comparison and the
// lenient decimal conversion of stored values (leading digits; none gives 0).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vantorel {

std::string_view TrimSpaces(std::string_view text);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// A whole text that is an unsigned number, decimal or "0x" hexadecimal; nothing else.
std::optional<std::uint32_t> ParseCode(std::string_view text);

struct LeadingNumber {
  std::int32_t value = 0;  // saturates at the 32-bit limits
  std::size_t end = 0;     // position after the last character read
  bool hasDigits = false;
};

// Reads optional white space, an optional sign and decimal digits from `text` at `pos`.
LeadingNumber ReadLeadingNumber(std::string_view text, std::size_t pos = 0);
inline std::int32_t DecimalValue(std::string_view text) { return ReadLeadingNumber(text).value; }

}  // namespace vantorel

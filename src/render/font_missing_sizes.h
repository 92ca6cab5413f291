#pragma once
// Which font sizes lack their file: the answer behind the face lists and the font-library
// settings check. Masks have bit s for size index s.

#include <cstdint>
#include <filesystem>
#include <string>

namespace vantorel {

// The sizes of `mask` whose dot-font file of `baseName` and `face` does not open.
std::uint16_t MissingFontSizes(const std::filesystem::path& folder, std::uint16_t mask, const std::string& baseName,
                               int face);
// ASCII face `face`: with "asc.fmd" present the five sizes up to 32 dots count as present; the
// larger ones are checked one by one.
std::uint16_t MissingAsciiSizes(const std::filesystem::path& folder, std::uint16_t mask, int face);
// Extended ASCII: the sizes that "ascii.ovf" holds count as present; without a readable file every
// requested size is missing.
std::uint16_t MissingAsciiExSizes(const std::filesystem::path& folder, std::uint16_t mask);

}  // namespace vantorel

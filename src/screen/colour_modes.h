#pragma once
// Colour mode codes: bits 0-2 are the colour planes (1 red, 2 green, 4 blue), bits 4-6 the grey
// depth g, giving 2 << g grey levels. 0x77 is full colour.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantorel {

inline constexpr std::uint16_t kColourMono = 0x01;
inline constexpr std::uint16_t kColourRg = 0x03;
inline constexpr std::uint16_t kColourRgb = 0x07;
inline constexpr std::uint16_t kColourMonoGrey = 0x71;
inline constexpr std::uint16_t kColourRgGrey = 0x73;
inline constexpr std::uint16_t kColourFull = 0x77;

// Text id of the name of a known colour mode code, or 0.
int ColourModeNameTextId(std::uint16_t colour);
// Name of the colour mode; codes without a name are shown as "0x%02X".
std::string ColourModeName(std::uint16_t colour);
int GreyLevels(std::uint16_t colour);
// Factor of the pixel limit of some models: 1 with the green plane, else 2; plus 1 without blue.
int ColourFactor(std::uint16_t colour);
// A colour mode given as a number (decimal or 0x hexadecimal) or as a known name (any letter case).
std::optional<std::uint16_t> ParseColourMode(std::string_view text);

}  // namespace vantorel

#pragma once
// "Auto detect" of the "Font setting" dialog: the font settings a controller reports in its
// running information (selector 2): byte 1 the character set (the screen's FONTLIB), bytes 3-4
// and 5-6 (high byte first) the ASCII and extended font size sets (ASCSIZEM, EXTSIZEM).
//
// Pure functions, safe on any thread.

#include <cstdint>
#include <span>
#include <string>

#include "platform/status.h"

namespace vantorel {

struct tagScreenInfo;

inline constexpr std::uint8_t kRunningInfoFontSelector = 2;

struct FontSettings {
  std::uint16_t characterSet = 0;
  std::uint16_t asciiSizes = 0;
  std::uint16_t extendedSizes = 0;
  friend bool operator==(const FontSettings&, const FontSettings&) = default;
};

// kTextFailed when fewer than 7 bytes came.
Expected<FontSettings> FontSettingsOfRunningInfo(std::span<const std::uint8_t> answer);

// Stores the settings in the screen definition (FONTLIB, ASCSIZEM, EXTSIZEM).
void ApplyFontSettings(const FontSettings& settings, tagScreenInfo& screen);

// "Character set 1, ASCII font sizes 0x001D, extended font sizes 0x001C"
std::string FontSettingsText(const FontSettings& settings);

}  // namespace vantorel

#include "screen/colour_modes.h"

#include <algorithm>
#include <array>

#include "app/text_format.h"
#include "app/text_table.h"
#include "screen/ascii_text.h"

namespace vantorel {
namespace {

struct NamedMode {
  std::uint16_t code;
  int textId;
};

// Code 0 is how old lists stored full colour.
constexpr std::array<NamedMode, 7> kNamedModes = {{
    {kColourMono, 185},
    {kColourRg, 186},
    {kColourRgb, 187},
    {kColourMonoGrey, 513},
    {kColourRgGrey, 514},
    {kColourFull, 162},
    {0, 162},
}};


}  // namespace

int ColourModeNameTextId(std::uint16_t colour) {
  for (const NamedMode& mode : kNamedModes) {
    if (mode.code == colour) return mode.textId;
  }
  return 0;
}

std::string ColourModeName(std::uint16_t colour) {
  const int textId = ColourModeNameTextId(colour);
  return textId != 0 ? LoadText(textId) : FormatText("0x%02X", colour);
}

int GreyLevels(std::uint16_t colour) { return 2 << ((colour >> 4) & 7); }

int ColourFactor(std::uint16_t colour) { return ((colour & 2) ? 1 : 2) + ((colour & 4) ? 0 : 1); }

std::optional<std::uint16_t> ParseColourMode(std::string_view text) {
  if (const auto code = ParseCode(text)) {
    if (*code > 0xFFFF) return std::nullopt;
    return static_cast<std::uint16_t>(*code);
  }
  // Names: the first code with the name wins, so "Full color" is 0x77 rather than 0.
  for (const NamedMode& mode : kNamedModes) {
    if (EqualsIgnoringAsciiCase(LoadText(mode.textId), text)) return mode.code;
  }
  return std::nullopt;
}

}  // namespace vantorel

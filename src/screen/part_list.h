#pragma once
// Part lists of cross-shaped signs: canvas rectangles that carry no LEDs, kept in a screen's
// special string as "p:x,y,w,h;x,y,w,h;...". A special string starting with "r" marks a screen
// mounted rotated left 90 degrees.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantorel {

inline constexpr int kMaxParts = 100;

struct PartRect {
  std::int16_t x = 0;
  std::int16_t y = 0;
  std::uint16_t width = 0;
  std::uint16_t height = 0;

  friend bool operator==(const PartRect&, const PartRect&) = default;
};

// The rectangles of `special` (empty when it does not begin with "p:"), at most 100; reading
// stops at the first invalid entry.
std::vector<PartRect> ParsePartList(std::string_view special);

// The rectangles the canvas blanks out: those of the part list with both sides non-zero.
std::vector<PartRect> CanvasParts(std::string_view special);

// Whether the special string marks a screen rotated left 90 degrees.
bool IsRotated(std::string_view special);

// The four-corner part list of a W x H sign: from the first matching line of `defaultPartsFile`
// ("default.parts"), else from the built-in rule; nothing when no default exists.
std::optional<std::string> DefaultPartList(int width, int height, const std::filesystem::path& defaultPartsFile);

}  // namespace vantorel

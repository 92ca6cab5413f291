#include "screen/part_list.h"

#include <cstdio>
#include <fstream>

#include "app/text_format.h"

namespace vantorel {
namespace {

// One entry "x,y,w,h;" read from `text` at `pos`. Characters other than digits, "," and ";" are
// skipped; a "," before the entry's first digit does not count. False for an invalid entry.
bool ReadEntry(std::string_view text, std::size_t& pos, PartRect& rect) {
  std::uint32_t numbers[4] = {};
  int index = 0;
  bool seenDigit = false;
  bool lastWasDigit = false;
  const auto store = [&] {
    // Only the low 16 bits of each number are kept (unsigned arithmetic wraps harmlessly).
    rect.x = static_cast<std::int16_t>(static_cast<std::uint16_t>(numbers[0]));
    rect.y = static_cast<std::int16_t>(static_cast<std::uint16_t>(numbers[1]));
    rect.width = static_cast<std::uint16_t>(numbers[2]);
    rect.height = static_cast<std::uint16_t>(numbers[3]);
    return true;
  };
  while (pos < text.size()) {
    const char c = text[pos++];
    if (c >= '0' && c <= '9') {
      numbers[index] = numbers[index] * 10u + static_cast<std::uint32_t>(c - '0');
      seenDigit = lastWasDigit = true;
      continue;
    }
    lastWasDigit = false;
    if (c == ';') return index == 3 && store();
    if (c == ',' && seenDigit) {
      if (index == 3) return store();  // a "," after the fourth number ends the entry as well
      ++index;
    }
  }
  // The text ended: the entry counts only when it ended right after digits of the fourth number.
  return index == 3 && lastWasDigit && store();
}

bool IsSide(long value) { return value >= 0 && value <= 0xFFFF; }

// Side of the built-in corner block for a sign dimension; 0 means the sign is too small.
long BuiltInCornerSide(long dimension) {
  if (dimension < 17) return 0;
  return dimension < 33 ? 8 : 16;
}

std::string CornerList(long width, long height, long upperW, long upperH, long lowerW, long lowerH) {
  return FormatText("p:%ld,%ld,%ld,%ld;%ld,%ld,%ld,%ld;%ld,%ld,%ld,%ld;%ld,%ld,%ld,%ld;", 0L, 0L, upperW, upperH,
                    width - upperW, 0L, upperW, upperH, 0L, height - lowerH, lowerW, lowerH, width - lowerW,
                    height - lowerH, lowerW, lowerH);
}

}  // namespace

std::vector<PartRect> ParsePartList(std::string_view special) {
  std::vector<PartRect> parts;
  if (!special.starts_with("p:")) return parts;
  std::size_t pos = 2;
  PartRect rect;
  while (pos < special.size() && parts.size() < static_cast<std::size_t>(kMaxParts) && ReadEntry(special, pos, rect)) {
    parts.push_back(rect);
  }
  return parts;
}

std::vector<PartRect> CanvasParts(std::string_view special) {
  std::vector<PartRect> parts = ParsePartList(special);
  std::erase_if(parts, [](const PartRect& rect) { return rect.width == 0 || rect.height == 0; });
  return parts;
}

bool IsRotated(std::string_view special) { return special.starts_with('r'); }

std::optional<std::string> DefaultPartList(int width, int height, const std::filesystem::path& defaultPartsFile) {
  std::ifstream in(defaultPartsFile, std::ios::binary);
  std::string line;
  while (in && std::getline(in, line)) {
    if (!line.starts_with('=')) continue;
    long w = 0, h = 0, upperW = 0, upperH = 0, lowerW = 0, lowerH = 0;
    if (std::sscanf(line.c_str(), "=%ld,%ld:%ld,%ld;%ld,%ld", &w, &h, &upperW, &upperH, &lowerW, &lowerH) != 6) {
      continue;
    }
    // Block sides outside the 16-bit range cannot describe a sign; such lines are ignored.
    if (!IsSide(upperW) || !IsSide(upperH) || !IsSide(lowerW) || !IsSide(lowerH)) continue;
    if (w == width && h == height) return CornerList(width, height, upperW, upperH, lowerW, lowerH);
  }
  const long sideW = BuiltInCornerSide(width);
  const long sideH = BuiltInCornerSide(height);
  if (sideW == 0 || sideH == 0) return std::nullopt;
  return CornerList(width, height, sideW, sideH, sideW, sideH);
}

}  // namespace vantorel

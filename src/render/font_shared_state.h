#pragma once
// State that all font library objects of the process share: the image of "asc.fmd", the
// extended-ASCII face table with its width cache, and the count of live font objects. It is
// released with the last font object.

#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

namespace vantorel {

inline constexpr std::size_t kWidthCacheSize = 16384;

// One extended-ASCII face, as found in its ".ovf" file.
struct ExtAsciiFace {
  bool loaded = false;
  int glyphCount = 0;                        // 96 (codes 32..127) or 224 (codes 32..255)
  std::array<std::int64_t, 8> blockOffset{};  // per size index; 0 = size absent
  std::array<int, 8> widthTable{};           // offset of the size's widths in the cache, -1 = not cached
};

struct FontSharedState {
  std::mutex lock;
  int instances = 0;
  bool ascLoaded = false;
  std::vector<std::uint8_t> ascImage;
  std::array<ExtAsciiFace, 8> faces{};
  std::vector<std::uint8_t> widthCache;  // kWidthCacheSize bytes while an extended-ASCII library lives
};

FontSharedState& SharedFontState();

}  // namespace vantorel

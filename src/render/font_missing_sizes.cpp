#include "render/font_missing_sizes.h"

#include <fstream>

#include "render/font_file_cache.h"
#include "render/font_style.h"
#include "render/ovf_header.h"

namespace vantorel {
namespace {

bool Opens(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  return std::ifstream(path, std::ios::binary).is_open();
}

constexpr std::uint16_t kSizesUpTo32 = 0x1F;

}  // namespace

std::uint16_t MissingFontSizes(const std::filesystem::path& folder, std::uint16_t mask, const std::string& baseName,
                               int face) {
  std::uint16_t missing = 0;
  for (int s = 0; s < kFontSizeCount; ++s) {
    const auto bit = static_cast<std::uint16_t>(1u << s);
    if ((mask & bit) != 0 && !Opens(folder / DotFontFileName(baseName, s, face))) missing |= bit;
  }
  return missing;
}

std::uint16_t MissingAsciiSizes(const std::filesystem::path& folder, std::uint16_t mask, int face) {
  if (Opens(folder / DotFontFileName("asc", 0, 0))) mask &= static_cast<std::uint16_t>(~kSizesUpTo32);
  return MissingFontSizes(folder, mask, "asc", face);
}

std::uint16_t MissingAsciiExSizes(const std::filesystem::path& folder, std::uint16_t mask) {
  std::uint16_t present = 0;
  const auto cache = CFontFileCache::ForFolder(folder);
  if (const auto file = cache->File(FontFileKind::kAsciiOvf, 0, 0)) {
    if (const auto record = UsableOvfFace((*file)->bytes)) present = record->sizeMask & 0xFF;
  }
  return static_cast<std::uint16_t>(mask & ~present & 0xFF);
}

}  // namespace vantorel

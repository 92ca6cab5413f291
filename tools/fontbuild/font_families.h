#pragma once
// The font files the program ships, family by family:
//   asc     asc.fmd (8..32 dots) and asc40/48/56.fmd, codes 32..126
//   ascii   ascii.ovf, proportional, code page 1252, all eight sizes
//   gb gbex big hkscs ksc sjis   <base>12.fmd .. <base>56.fmd
// Each returns report lines (sources used and glyph counts per file).

#include <filesystem>
#include <string>
#include <vector>

#include "cell_font.h"

namespace vantorel::fontbuild {

// Every family name, in build order.
const std::vector<std::string>& FamilyNames();
// Builds `family` into `folder`; throws on failure.
std::vector<std::string> BuildFamily(const std::string& family, const FontFiles& files,
                                     const std::filesystem::path& folder);

}  // namespace vantorel::fontbuild

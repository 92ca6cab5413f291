#pragma once
// The glyphs of one cell size, from an ordered list of source fonts: the first font that has a
// character draws it. The first font sets the baseline that all of them share.

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cell_layout.h"
#include "glyph_source.h"

namespace vantorel::fontbuild {

// Source font files by role name ("unifont", "zenhei" ...).
using FontFiles = std::map<std::string, std::filesystem::path>;

class CCellFont {
public:
  // `reference` characters size outline fonts and centre the ink vertically; `gap` dots stay free
  // on the right of the widest reference ink (and below the tallest for square cells).
  CCellFont(const CFreeType& freeType, const FontFiles& files, const std::vector<std::string>& roles, int width,
            int height, std::span<const char32_t> reference, int gap);

  const CellShape& Shape() const { return m_shape; }
  std::optional<RenderedGlyph> Render(char32_t codePoint) const;
  // Which source fonts were used, with their pixel sizes, for the build report.
  std::string Describe() const;

private:
  std::vector<std::unique_ptr<CGlyphSource>> m_sources;
  std::vector<std::string> m_descriptions;
  CellShape m_shape;
};

}  // namespace vantorel::fontbuild

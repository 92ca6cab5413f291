#pragma once
// The glyphs of one cell size, from an ordered list of source fonts: the first font that has a
// character with ink draws it (a glyph without ink for a character that is not blank counts as
// missing). A compatibility ideograph that no font draws takes its standard form. Hangul
// syllables all come from the first font that holds every one of them, when one does. The first
// font sets the baseline that all of them share.

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
  // `inkless`, when given, counts the source glyphs passed over for having no ink.
  std::optional<RenderedGlyph> Render(char32_t codePoint, int* inkless = nullptr) const;
  // Which source fonts were used, with their pixel sizes, for the build report.
  std::string Describe() const;

private:
  std::optional<RenderedGlyph> RenderFrom(char32_t codePoint, int* inkless) const;

  std::vector<std::unique_ptr<CGlyphSource>> m_sources;
  const CGlyphSource* m_hangulSource = nullptr;  // the first source holding every Hangul syllable
  std::vector<std::string> m_descriptions;
  CellShape m_shape;
};

}  // namespace vantorel::fontbuild

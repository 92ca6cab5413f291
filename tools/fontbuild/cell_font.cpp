#include "cell_font.h"

#include <stdexcept>

#include "character_forms.h"

namespace vantorel::fontbuild {
namespace {

InkExtent MeasureReference(const CGlyphSource& source, std::span<const char32_t> reference) {
  std::vector<RenderedGlyph> glyphs;
  for (const char32_t codePoint : reference) {
    if (auto glyph = source.Render(codePoint)) glyphs.push_back(std::move(*glyph));
  }
  return MeasureInk(glyphs);
}

// Sets `source` to the largest pixel size at which the reference ink fits the cell with its gap.
int FitPixelSize(CGlyphSource& source, int width, int height, std::span<const char32_t> reference, int gap) {
  const bool square = width == height;
  for (int pixels = height * 2; pixels > 4; --pixels) {
    source.SetPixelSize(pixels);
    const InkExtent ink = MeasureReference(source, reference);
    const int inkHeight = ink.above + ink.below;
    if (ink.width <= width - gap && ink.advance <= width && inkHeight <= height - (square ? gap : 0)) return pixels;
  }
  throw std::runtime_error("no pixel size of " + source.Name() + " fits a cell of " + std::to_string(width) + " x " +
                           std::to_string(height));
}

}  // namespace

CCellFont::CCellFont(const CFreeType& freeType, const FontFiles& files, const std::vector<std::string>& roles,
                     int width, int height, std::span<const char32_t> reference, int gap) {
  m_shape.width = width;
  m_shape.height = height;
  for (const std::string& role : roles) {
    const auto file = files.find(role);
    if (file == files.end()) throw std::runtime_error("no font file given for " + role);
    auto probe = std::make_unique<CGlyphSource>(freeType, file->second, height);
    // Thin outline strokes look faint on large LED cells: square cells from 40 dots up get bolder.
    if (!probe->IsBitmap() && width == height && height >= 40) probe->SetEmbolden(height * 64 / 40);
    const int pixels = probe->IsBitmap() ? height : FitPixelSize(*probe, width, height, reference, gap);
    if (m_sources.empty()) {
      // A bitmap font made for this cell height keeps its own baseline; anything else is centred.
      const bool native = probe->IsBitmap() && probe->Ascent() + probe->Descent() == height;
      m_shape.baseline = native ? probe->Ascent() : CentredBaseline(MeasureReference(*probe, reference), height);
    }
    m_descriptions.push_back(probe->Name() + (probe->IsBitmap() ? "" : " at " + std::to_string(pixels) + " px"));
    if (!m_hangulSource && probe->HoldsAll(kFirstHangulSyllable, kLastHangulSyllable)) m_hangulSource = probe.get();
    m_sources.push_back(std::move(probe));
  }
}

std::optional<RenderedGlyph> CCellFont::RenderFrom(char32_t codePoint, int* inkless) const {
  const bool blank = IsBlankCharacter(codePoint);
  for (const auto& source : m_sources) {
    if (m_hangulSource && IsHangulSyllable(codePoint) && source.get() != m_hangulSource) continue;
    auto glyph = source->Render(codePoint);
    if (!glyph) continue;
    if (blank || !glyph->Blank()) return glyph;
    if (inkless) ++*inkless;
  }
  return std::nullopt;
}

std::optional<RenderedGlyph> CCellFont::Render(char32_t codePoint, int* inkless) const {
  if (auto glyph = RenderFrom(codePoint, inkless)) return glyph;
  if (const auto standard = StandardForm(codePoint)) return RenderFrom(*standard, inkless);
  return std::nullopt;
}

std::string CCellFont::Describe() const {
  std::string text;
  for (const std::string& description : m_descriptions) text += (text.empty() ? "" : ", ") + description;
  return text;
}

}  // namespace vantorel::fontbuild

#pragma once
// One source font at one pixel size, read with FreeType: bitmap fonts (PCF) at their own strike,
// outline fonts rendered monochrome with hinting at an exact pixel size.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantorel::fontbuild {

class CUnicodeEncoder;

// A rendered glyph: `width` x `rows` dots (1 byte each, 1 = lit); its top-left dot lies `left`
// dots right of the pen and `top` dots above the baseline.
struct RenderedGlyph {
  int left = 0;
  int top = 0;
  int width = 0;
  int rows = 0;
  int advance = 0;
  std::vector<std::uint8_t> dots;

  bool Lit(int x, int y) const { return dots[static_cast<std::size_t>(y * width + x)] != 0; }
  bool Blank() const;
};

class CFreeType {
public:
  CFreeType();
  ~CFreeType();
  CFreeType(const CFreeType&) = delete;
  CFreeType& operator=(const CFreeType&) = delete;
  FT_Library Handle() const { return m_library; }

private:
  FT_Library m_library = nullptr;
};

class CGlyphSource {
public:
  // The font is read into memory first (gzip-packed files unpacked), since FreeType's own gzip
  // reader starts over from the beginning for every glyph. `pixelSize` is ignored for bitmap
  // fonts, which have a single strike. Throws when the font cannot be opened.
  CGlyphSource(const CFreeType& freeType, const std::filesystem::path& file, int pixelSize);
  ~CGlyphSource();
  CGlyphSource(const CGlyphSource&) = delete;
  CGlyphSource& operator=(const CGlyphSource&) = delete;

  // Changes the pixel size of an outline font.
  void SetPixelSize(int pixelSize);
  // Thickens the strokes of an outline font by `dots` (in 1/64 dot) before rendering.
  void SetEmbolden(long sixtyFourths) { m_embolden = sixtyFourths; }

  // The glyph of `codePoint`, or nothing when the font lacks it.
  std::optional<RenderedGlyph> Render(char32_t codePoint) const;
  // Whether the font has a glyph for every code point of [first, last].
  bool HoldsAll(char32_t first, char32_t last) const;

  bool IsBitmap() const;
  // Line metrics of the chosen size, in dots.
  int Ascent() const;
  int Descent() const;
  std::string Name() const;

private:
  // The font's own character code of a code point (Unicode for most fonts).
  std::optional<FT_ULong> CharCode(char32_t codePoint) const;
  FT_UInt GlyphIndex(char32_t codePoint) const;

  std::vector<std::uint8_t> m_bytes;  // the whole font, unpacked: FreeType reads it from memory
  FT_Face m_face = nullptr;
  std::filesystem::path m_file;
  long m_embolden = 0;
  // Bitmap fonts in a national double-byte encoding (GB 2312, JIS X 0208, KS C 5601) are indexed
  // by the two bytes of the character's EUC code without their high bits.
  std::unique_ptr<CUnicodeEncoder> m_nativeEncoder;
};

}  // namespace vantorel::fontbuild

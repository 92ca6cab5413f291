#pragma once
// Double-byte font libraries: a byte of 128 or more starts a two-byte code (lead x 256 + trail);
// bytes below 128 are ASCII. Double-byte glyphs fill a square cell of the nominal height.

#include "render/font_lib_ascii.h"

namespace vantorel {

class CFontLib_Asia : public CFontLib_ASCII {
public:
  CFontLib_Asia(std::filesystem::path folder, int codePage) : CFontLib_ASCII(std::move(folder), codePage) {}

  int CharWidth(std::uint16_t code, FontStyle style) const override;
  int CharHeight(std::uint16_t code, FontStyle style) const override;
  bool DrawString(QImage& surface, int rightLimit, int x, int y, std::string_view text, FontStyle style,
                  QRgb foreground) const override;
  int StringWidth(std::string_view text, FontStyle style) const override;

  // Position of a double-byte code in the library's main font file, -1 when it has none.
  virtual int CodeToIndex(std::uint16_t code) const = 0;

protected:
  // A glyph at `index` of the `kind` files, sizes 12 to 56 dots: from the style's face file, or from
  // the face-0 file when that face has no file. Returns the byte count before inversion.
  int FileGlyph(GlyphBuffer& glyph, FontFileKind kind, int index, FontStyle style) const;
  // The face name rule of the double-byte libraries, `baseName` being the main file's base name.
  bool DoubleByteFaceName(std::string& name, int face, std::uint16_t ascMask, std::uint16_t dbMask,
                          const char* baseName) const;
  // Inversion as the style asks.
  int Finish(GlyphBuffer& glyph, int count, FontStyle style) const;
};

// One built-in 8 x 8 glyph of the GB2312 and BIG5 libraries.
struct BuiltInGlyph {
  std::uint16_t gb2312;
  std::uint16_t big5;
  std::array<std::uint8_t, 8> rows;
};
// The fourteen characters drawn at 8 dots without any font file (calendar and clock words).
std::span<const BuiltInGlyph> BuiltInGlyphs();
// Copies the built-in glyph of `code` (GB2312 or BIG5 numbering); returns 8, or 0 when there is none.
int BuiltInGlyph8(GlyphBuffer& glyph, std::uint16_t code, bool big5);

}  // namespace vantorel

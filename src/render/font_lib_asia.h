#pragma once
// Double-byte font libraries: a byte of 128 or more starts a two-byte code (lead x 256 + trail);
// bytes below 128 are ASCII. Double-byte glyphs fill a square cell of the nominal height.

#include "render/font_lib_ascii.h"

namespace vantorel {

// What sets one double-byte code page apart: its files and how codes find their glyphs.
struct DoubleBytePage {
  int codePage;
  const char* baseName;                 // of the main file, for face names and missing sizes
  FontFileKind mainKind;
  int (*mainIndex)(std::uint16_t code);
  FontFileKind extensionKind;           // tried when the main file has no place for the code
  int (*extensionIndex)(std::uint16_t code);  // null: no extension file
  int leadingGlyphs;                    // glyphs in front of the double-byte ones in the main file
  enum BuiltIn { kNone, kGb2312, kBig5 } builtIn8;  // which numbering the built-in 8-dot glyphs use
};

extern const DoubleBytePage kGb2312Page;
extern const DoubleBytePage kBig5Page;
extern const DoubleBytePage kKsc5601Page;
extern const DoubleBytePage kShiftJisPage;

class CFontLib_Asia : public CFontLib_ASCII {
public:
  CFontLib_Asia(std::filesystem::path folder, const DoubleBytePage& page)
      : CFontLib_ASCII(std::move(folder), page.codePage), m_page(page) {}

  bool GetFaceName(std::string& name, int face, std::uint16_t ascMask, std::uint16_t dbMask) const override;
  int GetGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const override;

  int CharWidth(std::uint16_t code, FontStyle style) const override;
  int CharHeight(std::uint16_t code, FontStyle style) const override;
  bool DrawString(QImage& surface, int rightLimit, int x, int y, std::string_view text, FontStyle style,
                  QRgb foreground) const override;
  int StringWidth(std::string_view text, FontStyle style) const override;

  // Position of a double-byte code in the library's main font file (before its leading glyphs),
  // -1 when it has none.
  int CodeToIndex(std::uint16_t code) const { return m_page.mainIndex(code); }

private:
  // A glyph at `index` of the `kind` files, sizes 12 to 56 dots: from the style's face file, or from
  // the face-0 file when that face has no file. Returns the byte count before inversion.
  int FileGlyph(GlyphBuffer& glyph, FontFileKind kind, int index, FontStyle style) const;

  const DoubleBytePage& m_page;
};

// The libraries by their code pages' names; they differ only in their page.
// Simplified Chinese: GB2312 characters in "gbHH.fmd", GBK extension characters in "gbexHH.fmd".
class CFontLib_GB2312 final : public CFontLib_Asia {
public:
  explicit CFontLib_GB2312(std::filesystem::path folder = ProgramFolder()) : CFontLib_Asia(std::move(folder), kGb2312Page) {}
};
// Traditional Chinese: BIG5 characters in "bigHH.fmd", HKSCS extension characters in "hkscsHH.fmd".
class CFontLib_BIG5 final : public CFontLib_Asia {
public:
  explicit CFontLib_BIG5(std::filesystem::path folder = ProgramFolder()) : CFontLib_Asia(std::move(folder), kBig5Page) {}
};
// Korean: KSC5601 characters (with the extended Hangul rows) in "kscHH.fmd"; nothing built in at 8 dots.
class CFontLib_KSC5601 final : public CFontLib_Asia {
public:
  explicit CFontLib_KSC5601(std::filesystem::path folder = ProgramFolder()) : CFontLib_Asia(std::move(folder), kKsc5601Page) {}
};
// Japanese: Shift JIS characters in "sjisHH.fmd", after the file's 159 leading glyphs; nothing built in at 8 dots.
class CFontLib_SJIS final : public CFontLib_Asia {
public:
  explicit CFontLib_SJIS(std::filesystem::path folder = ProgramFolder()) : CFontLib_Asia(std::move(folder), kShiftJisPage) {}
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

#include "render/font_lib_sjis.h"

#include "render/font_code_index.h"

namespace vantorel {

bool CFontLib_SJIS::GetFaceName(std::string& name, int face, std::uint16_t ascMask, std::uint16_t dbMask) const {
  return DoubleByteFaceName(name, face, ascMask, dbMask, "sjis");
}

int CFontLib_SJIS::CodeToIndex(std::uint16_t code) const { return ShiftJisCodeToIndex(code); }

int CFontLib_SJIS::GetGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const {
  if (code < 128) return CFontLib_ASCII::GetGlyph(glyph, code, style);
  const int index = CodeToIndex(code);
  if (index < 0 || StyleSizeIndex(style) == 0) return 0;
  return Finish(glyph, FileGlyph(glyph, FontFileKind::kSjis, index + kShiftJisLeadingGlyphs, style), style);
}

}  // namespace vantorel

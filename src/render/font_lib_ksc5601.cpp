#include "render/font_lib_ksc5601.h"

#include "render/font_code_index.h"

namespace vantorel {

bool CFontLib_KSC5601::GetFaceName(std::string& name, int face, std::uint16_t ascMask, std::uint16_t dbMask) const {
  return DoubleByteFaceName(name, face, ascMask, dbMask, "ksc");
}

int CFontLib_KSC5601::CodeToIndex(std::uint16_t code) const { return Ksc5601CodeToIndex(code); }

int CFontLib_KSC5601::GetGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const {
  if (code < 128) return CFontLib_ASCII::GetGlyph(glyph, code, style);
  const int index = CodeToIndex(code);
  if (index < 0 || StyleSizeIndex(style) == 0) return 0;
  return Finish(glyph, FileGlyph(glyph, FontFileKind::kKsc, index, style), style);
}

}  // namespace vantorel

#include "render/font_lib_big5.h"

#include "render/font_code_index.h"

namespace vantorel {

bool CFontLib_BIG5::GetFaceName(std::string& name, int face, std::uint16_t ascMask, std::uint16_t dbMask) const {
  return DoubleByteFaceName(name, face, ascMask, dbMask, "big");
}

int CFontLib_BIG5::CodeToIndex(std::uint16_t code) const { return Big5CodeToIndex(code); }

int CFontLib_BIG5::GetGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const {
  if (code < 128) return CFontLib_ASCII::GetGlyph(glyph, code, style);
  FontFileKind kind = FontFileKind::kBig;
  int index = CodeToIndex(code);
  if (index < 0) {
    kind = FontFileKind::kHkscs;
    index = HkscsCodeToIndex(code);
  }
  if (index < 0) return 0;
  const int count = StyleSizeIndex(style) == 0 ? BuiltInGlyph8(glyph, code, true) : FileGlyph(glyph, kind, index, style);
  return Finish(glyph, count, style);
}

}  // namespace vantorel

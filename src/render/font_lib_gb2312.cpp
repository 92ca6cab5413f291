#include "render/font_lib_gb2312.h"

#include "render/font_code_index.h"

namespace vantorel {

bool CFontLib_GB2312::GetFaceName(std::string& name, int face, std::uint16_t ascMask, std::uint16_t dbMask) const {
  return DoubleByteFaceName(name, face, ascMask, dbMask, "gb");
}

int CFontLib_GB2312::CodeToIndex(std::uint16_t code) const { return Gb2312CodeToIndex(code); }

int CFontLib_GB2312::GetGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const {
  if (code < 128) return CFontLib_ASCII::GetGlyph(glyph, code, style);
  FontFileKind kind = FontFileKind::kGb;
  int index = CodeToIndex(code);
  if (index < 0) {
    kind = FontFileKind::kGbex;
    index = GbkExtCodeToIndex(code);
  }
  if (index < 0) return 0;
  const int count = StyleSizeIndex(style) == 0 ? BuiltInGlyph8(glyph, code, false) : FileGlyph(glyph, kind, index, style);
  return Finish(glyph, count, style);
}

}  // namespace vantorel

#pragma once
// Japanese: Shift JIS characters in "sjisHH.fmd", after the file's 159 leading glyphs; nothing built in at 8 dots.

#include "render/font_lib_asia.h"

namespace vantorel {

class CFontLib_SJIS : public CFontLib_Asia {
public:
  explicit CFontLib_SJIS(std::filesystem::path folder = ProgramFolder()) : CFontLib_Asia(std::move(folder), kCodePageShiftJis) {}

  bool GetFaceName(std::string& name, int face, std::uint16_t ascMask, std::uint16_t dbMask) const override;
  int GetGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const override;
  int CodeToIndex(std::uint16_t code) const override;
};

}  // namespace vantorel

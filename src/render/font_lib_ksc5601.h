#pragma once
// Korean: KSC5601 characters (with the extended Hangul rows) in "kscHH.fmd"; nothing built in at 8 dots.

#include "render/font_lib_asia.h"

namespace vantorel {

class CFontLib_KSC5601 : public CFontLib_Asia {
public:
  explicit CFontLib_KSC5601(std::filesystem::path folder = ProgramFolder()) : CFontLib_Asia(std::move(folder), kCodePageKsc5601) {}

  bool GetFaceName(std::string& name, int face, std::uint16_t ascMask, std::uint16_t dbMask) const override;
  int GetGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const override;
  int CodeToIndex(std::uint16_t code) const override;
};

}  // namespace vantorel

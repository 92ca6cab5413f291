#pragma once
// Traditional Chinese: BIG5 characters in "bigHH.fmd", HKSCS extension characters in "hkscsHH.fmd".

#include "render/font_lib_asia.h"

namespace vantorel {

class CFontLib_BIG5 : public CFontLib_Asia {
public:
  explicit CFontLib_BIG5(std::filesystem::path folder = ProgramFolder()) : CFontLib_Asia(std::move(folder), kCodePageBig5) {}

  bool GetFaceName(std::string& name, int face, std::uint16_t ascMask, std::uint16_t dbMask) const override;
  int GetGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const override;
  int CodeToIndex(std::uint16_t code) const override;
};

}  // namespace vantorel

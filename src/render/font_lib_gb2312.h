#pragma once
// Simplified Chinese: GB2312 characters in "gbHH.fmd", GBK extension characters in "gbexHH.fmd".

#include "render/font_lib_asia.h"

namespace vantorel {

class CFontLib_GB2312 : public CFontLib_Asia {
public:
  explicit CFontLib_GB2312(std::filesystem::path folder = ProgramFolder()) : CFontLib_Asia(std::move(folder), kCodePageGb2312) {}

  bool GetFaceName(std::string& name, int face, std::uint16_t ascMask, std::uint16_t dbMask) const override;
  int GetGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const override;
  int CodeToIndex(std::uint16_t code) const override;
};

}  // namespace vantorel

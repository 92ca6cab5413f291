#pragma once
// Extended ASCII: proportional glyphs for codes 32..127 or 32..255 from "ascii.ovf" (face 0) and
// "ascii_%d.ovf" (faces 1 to 7). Every construction reads the faces again into the process-wide
// face table and fills the width cache, so measuring a string needs no file.

#include "platform/program_folder.h"
#include "render/dot_font.h"

namespace vantorel {

class CFontLib_AsciiEx : public CTwFont {
public:
  explicit CFontLib_AsciiEx(std::filesystem::path folder = ProgramFolder());

  bool GetFaceName(std::string& name, int face, std::uint16_t ascMask, std::uint16_t dbMask) const override;
  int CharWidth(std::uint16_t code, FontStyle style) const override;
  int CharHeight(std::uint16_t code, FontStyle style) const override;
  bool DrawString(QImage& surface, int rightLimit, int x, int y, std::string_view text, FontStyle style,
                  QRgb foreground) const override;
  int StringWidth(std::string_view text, FontStyle style) const override;
  int GetGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const override;

protected:
  // Glyph rows span the whole size; only the proportional width shows.
  int GlyphRowBytes(int width, int height) const override;

private:
  void LoadFaces();
};

}  // namespace vantorel

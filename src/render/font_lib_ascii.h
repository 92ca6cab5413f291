#pragma once
// The ASCII font library: codes 32..126 from "asc.fmd" (held in memory for the five sizes up to 32
// dots) and asc40/48/56.fmd, and the built-in degree sign for code 127.

#include "platform/program_folder.h"
#include "render/dot_font.h"

namespace vantorel {

class CFontLib_ASCII : public CTwFont {
public:
  explicit CFontLib_ASCII(std::filesystem::path folder = ProgramFolder())
      : CFontLib_ASCII(std::move(folder), kCodePageAscii) {}

  bool GetFaceName(std::string& name, int face, std::uint16_t ascMask, std::uint16_t dbMask) const override;
  int CharWidth(std::uint16_t code, FontStyle style) const override;
  int CharHeight(std::uint16_t code, FontStyle style) const override;
  bool DrawString(QImage& surface, int rightLimit, int x, int y, std::string_view text, FontStyle style,
                  QRgb foreground) const override;
  int StringWidth(std::string_view text, FontStyle style) const override;
  int GetGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const override;

protected:
  CFontLib_ASCII(std::filesystem::path folder, int codePage);

  // "Font" / "Font %d" when `face` has an ASCII size of `ascMask`.
  bool AsciiFaceName(std::string& name, int face, std::uint16_t ascMask) const;
  // The glyph bytes of a code below 128 before inversion.
  int PlainSingleByteGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const;

private:
  // The folder's "asc.fmd" image as found when this library was made (null: there was none);
  // immutable, owned by the file cache.
  const FontFileImage* m_ascImage;
};

// "Font" for face 0, "Font %d" for the others.
std::string FaceDisplayName(int face);

}  // namespace vantorel

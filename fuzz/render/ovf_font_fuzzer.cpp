// An arbitrary extended-ASCII font file: the face record, the face table, widths and glyphs must
// never be read from outside the file.

#include <QImage>

#include "fuzz_font_folder.h"
#include "render/font_lib_ascii_ex.h"
#include "render/ovf_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  (void)ParseOvfFaceRecord({data, size});
  (void)UsableOvfFace({data, size});
  fuzz::WriteFontFile("ascii.ovf", data, size);
  fuzz::WriteFontFile("ascii_3.ovf", data, size / 2);

  const CFontLib_AsciiEx library(fuzz::FontFolder());
  std::string name;
  for (int face = 0; face < kFontFaceCount; ++face) (void)library.GetFaceName(name, face, 0xFF, 0xFF);
  QImage surface(64, 60, QImage::Format_RGB32);
  GlyphBuffer glyph{};
  const std::string_view text(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 8));
  for (int s = 0; s < kFontSizeCount; ++s) {
    const FontStyle style = MakeFontStyle(s, s % 4 == 3 ? 3 : 0, s % 2 == 1);
    for (const std::uint16_t code : {std::uint16_t{31}, std::uint16_t{32}, std::uint16_t{127}, std::uint16_t{255}}) {
      (void)library.CharWidth(code, style);
      (void)library.GetGlyph(glyph, code, style);
    }
    library.DrawString(surface, 64, -2, 0, text, style, 0xFFFFFFFF);
  }
  return 0;
}

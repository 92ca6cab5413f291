// Arbitrary dot-font files: the first byte picks which file the rest becomes, the second the style;
// the same bytes are then drawn as a string. Short, long or odd files give absent glyphs, never reads outside them.

#include <QImage>

#include <array>

#include "fuzz_font_folder.h"
#include "render/font_lib_asia.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  if (size < 2) return 0;
  static constexpr std::array<const char*, 10> kNames = {
      "asc.fmd", "asc_2.fmd", "asc40.fmd", "gb16.fmd", "gbex24.fmd", "big12.fmd", "hkscs16.fmd",
      "ksc32.fmd", "sjis56.fmd", "gb16_1.fmd"};
  static bool cleared = false;
  if (!cleared) {
    for (const char* name : kNames) std::filesystem::remove(fuzz::FontFolder() / name);
    cleared = true;
  }
  const std::string name = kNames[data[0] % kNames.size()];
  fuzz::WriteFontFile(name, data + 2, size - 2);
  const FontStyle style = data[1];

  const CFontLib_GB2312 gb(fuzz::FontFolder());
  const CFontLib_BIG5 big(fuzz::FontFolder());
  const CFontLib_KSC5601 ksc(fuzz::FontFolder());
  const CFontLib_SJIS sjis(fuzz::FontFolder());
  const std::string_view text(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 24));
  QImage surface(96, 60, QImage::Format_RGB32);
  GlyphBuffer glyph{};
  for (const CTwFont* library : std::array<const CTwFont*, 4>{&gb, &big, &ksc, &sjis}) {
    (void)library->StringWidth(text, style);
    library->DrawString(surface, 96, -3, -2, text, style, 0xFFFF0000);
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
      const auto code = static_cast<std::uint16_t>(static_cast<std::uint8_t>(text[i]) << 8 | static_cast<std::uint8_t>(text[i + 1]));
      (void)library->GetGlyph(glyph, code, style);
    }
  }
  return 0;
}

#include "render/font_lib_ascii.h"

#include <array>

#include "app/text_format.h"
#include "app/text_table.h"
#include "render/font_degree_sign.h"
#include "render/font_missing_sizes.h"

namespace vantorel {
namespace {

// Where each size's 95 glyphs start in "asc.fmd".
constexpr std::array<std::size_t, 5> kAscSectionOffset = {0, 760, 1900, 3420, 7980};
constexpr QRgb kBlack = 0xFF000000u;

}  // namespace

std::string FaceDisplayName(int face) {
  return face == 0 ? LoadText(kTextFont) : FormatText(LoadText(kTextFontNumber).c_str(), face);
}

CFontLib_ASCII::CFontLib_ASCII(std::filesystem::path folder, int codePage)
    : CTwFont(std::move(folder), codePage), m_ascImage(Files().AscImage()) {}

bool CFontLib_ASCII::AsciiFaceName(std::string& name, int face, std::uint16_t ascMask) const {
  const auto requested = static_cast<std::uint16_t>(ascMask & 0xFF);
  if (MissingFontSizes(Folder(), requested, "asc", face) == requested) return false;
  name = FaceDisplayName(face);
  return true;
}

bool CFontLib_ASCII::GetFaceName(std::string& name, int face, std::uint16_t ascMask, std::uint16_t /*dbMask*/) const {
  return AsciiFaceName(name, face, ascMask);
}

int CFontLib_ASCII::CharWidth(std::uint16_t code, FontStyle style) const {
  if (code >= 128) return StyleHighWidth(style);
  return GeometryOf(StyleSizeIndex(style)).halfWidth;
}

int CFontLib_ASCII::CharHeight(std::uint16_t /*code*/, FontStyle style) const {
  return GeometryOf(StyleSizeIndex(style)).height;
}

int CFontLib_ASCII::PlainSingleByteGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const {
  const int sizeIndex = StyleSizeIndex(style);
  const int face = StyleFace(style);
  const auto bytes = static_cast<std::size_t>(GeometryOf(sizeIndex).halfBytes);
  const auto dest = std::span<std::uint8_t>(glyph).first(bytes);
  if (code == 127) return DegreeSignGlyph(sizeIndex, glyph);
  if (code < 32 || code > 126) return 0;
  const std::size_t c = code - 32u;

  if (sizeIndex >= 5) {
    FontRead read = Files().Read(FontFileKind::kAsc, sizeIndex, face, c * bytes, dest);
    if (read == FontRead::kNoFile && face != 0) read = Files().Read(FontFileKind::kAsc, sizeIndex, 0, c * bytes, dest);
    return read == FontRead::kOk ? static_cast<int>(bytes) : 0;
  }
  // Face 0 comes from the image; another face from its own file, with the image as fallback.
  // Without an image only the face's own file counts.
  const std::size_t offset = kAscSectionOffset[static_cast<std::size_t>(sizeIndex)] + c * bytes;
  if ((face != 0 || m_ascImage == nullptr) &&
      Files().Read(FontFileKind::kAsc, sizeIndex, face, offset, dest) == FontRead::kOk) {
    return static_cast<int>(bytes);
  }
  if (m_ascImage == nullptr) return 0;
  return CopyGlyph(dest, m_ascImage->bytes, offset, bytes) ? static_cast<int>(bytes) : 0;
}

int CFontLib_ASCII::GetGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const {
  const int count = PlainSingleByteGlyph(glyph, code, style);
  return StyleInverse(style) ? Invert(glyph, count) : count;
}

bool CFontLib_ASCII::DrawString(QImage& surface, int rightLimit, int x, int y, std::string_view text, FontStyle style,
                                QRgb foreground) const {
  for (const char byte : text) {
    if (byte == '\0') break;
    const auto value = static_cast<std::uint8_t>(byte);
    const std::uint16_t code = value >= 128 ? 32 : value;
    x += DrawChar(surface, x, y, code, static_cast<std::uint8_t>(style), foreground, kBlack);
    if (x >= rightLimit) break;
  }
  return true;
}

int CFontLib_ASCII::StringWidth(std::string_view text, FontStyle style) const {
  const FontStyle sizeOnly = style & kStyleSizeMask;
  int width = 0;
  for (const char byte : text) {
    if (byte == '\0') break;
    const auto value = static_cast<std::uint8_t>(byte);
    // Measured as drawn: bytes of 128 or more are drawn as spaces.
    width += CharWidth(value >= 128 ? 32 : value, sizeOnly);
  }
  return width;
}

}  // namespace vantorel

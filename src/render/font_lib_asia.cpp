#include "render/font_lib_asia.h"

#include <algorithm>

#include "render/font_code_index.h"
#include "render/font_missing_sizes.h"

namespace vantorel {
namespace {

constexpr QRgb kBlack = 0xFF000000u;

// Walks `text` code by code; a lead byte followed by the end of the text ends the walk.
// `visit(code)` returns false to stop.
template <typename Visit>
void ForEachCode(std::string_view text, Visit visit) {
  std::size_t i = 0;
  while (i < text.size() && text[i] != '\0') {
    const auto byte = static_cast<std::uint8_t>(text[i]);
    std::uint16_t code = byte;
    if (byte >= 128) {
      if (i + 1 >= text.size() || text[i + 1] == '\0') return;
      code = static_cast<std::uint16_t>(byte << 8 | static_cast<std::uint8_t>(text[i + 1]));
      i += 2;
    } else {
      i += 1;
    }
    if (!visit(code)) return;
  }
}

constexpr BuiltInGlyph kBuiltIn[] = {
    {0xC4EA, 0xA67E, {0x10, 0x3E, 0x48, 0xBE, 0x28, 0xFF, 0x08, 0x08}},  // year
    {0xD4C2, 0xA4EB, {0x7C, 0x44, 0x7C, 0x44, 0x7C, 0x44, 0x54, 0x8C}},  // month
    {0xC8D5, 0xA4E9, {0x7C, 0x44, 0x44, 0x7C, 0x44, 0x44, 0x7C, 0x00}},  // day
    {0xD0C7, 0xAC50, {0x1E, 0x3E, 0x22, 0x7E, 0x48, 0xBE, 0x08, 0x7E}},  // star (week)
    {0xC6DA, 0xB4C1, {0xAE, 0xFA, 0xAE, 0xEA, 0xAE, 0xEA, 0xFA, 0xAA}},  // period (week)
    {0xC9CF, 0xA457, {0x00, 0x10, 0x10, 0x1E, 0x10, 0x10, 0xFE, 0x00}},  // up (a.m.)
    {0xCFC2, 0xA455, {0x00, 0xFE, 0x10, 0x18, 0x14, 0x10, 0x10, 0x00}},  // down (p.m.)
    {0xCEE7, 0xA4C8, {0x20, 0x7C, 0x90, 0x10, 0xFE, 0x10, 0x10, 0x00}},  // noon
    {0xD2BB, 0xA440, {0x00, 0x00, 0x00, 0x04, 0xFE, 0x00, 0x00, 0x00}},  // one
    {0xB6FE, 0xA447, {0x00, 0x08, 0x7C, 0x00, 0x00, 0x04, 0xFE, 0x00}},  // two
    {0xC8FD, 0xA454, {0x08, 0x7C, 0x00, 0x08, 0x7C, 0x00, 0x04, 0xFE}},  // three
    {0xCBC4, 0xA57C, {0x00, 0xFE, 0xAA, 0xAA, 0xCE, 0x82, 0xFE, 0x00}},  // four
    {0xCEE5, 0xA4AD, {0x00, 0x7C, 0x10, 0x3C, 0x14, 0x14, 0xFE, 0x00}},  // five
    {0xC1F9, 0xA4BB, {0x00, 0x30, 0x10, 0xFE, 0x00, 0x2C, 0x46, 0x82}},  // six
};

}  // namespace

const DoubleBytePage kGb2312Page = {kCodePageGb2312,     "gb", FontFileKind::kGb, Gb2312CodeToIndex,
                                    FontFileKind::kGbex, GbkExtCodeToIndex, 0,   DoubleBytePage::kGb2312};
const DoubleBytePage kBig5Page = {kCodePageBig5,        "big", FontFileKind::kBig, Big5CodeToIndex,
                                  FontFileKind::kHkscs, HkscsCodeToIndex, 0,     DoubleBytePage::kBig5};
const DoubleBytePage kKsc5601Page = {kCodePageKsc5601, "ksc",   FontFileKind::kKsc, Ksc5601CodeToIndex,
                                     FontFileKind::kKsc, nullptr, 0,                DoubleBytePage::kNone};
const DoubleBytePage kShiftJisPage = {kCodePageShiftJis,  "sjis",  FontFileKind::kSjis,   ShiftJisCodeToIndex,
                                      FontFileKind::kSjis, nullptr, kShiftJisLeadingGlyphs, DoubleBytePage::kNone};

std::span<const BuiltInGlyph> BuiltInGlyphs() { return kBuiltIn; }

int BuiltInGlyph8(GlyphBuffer& glyph, std::uint16_t code, bool big5) {
  for (const auto& entry : kBuiltIn) {
    if ((big5 ? entry.big5 : entry.gb2312) == code) {
      std::copy(entry.rows.begin(), entry.rows.end(), glyph.begin());
      return 8;
    }
  }
  return 0;
}

int CFontLib_Asia::CharWidth(std::uint16_t code, FontStyle style) const {
  if (code < 128) return CFontLib_ASCII::CharWidth(code, style);
  return GeometryOf(StyleSizeIndex(style)).fullWidth;
}

int CFontLib_Asia::CharHeight(std::uint16_t /*code*/, FontStyle style) const {
  return GeometryOf(StyleSizeIndex(style)).height;
}

bool CFontLib_Asia::DrawString(QImage& surface, int rightLimit, int x, int y, std::string_view text, FontStyle style,
                               QRgb foreground) const {
  ForEachCode(text, [&](std::uint16_t code) {
    x += DrawChar(surface, x, y, code, static_cast<std::uint8_t>(style), foreground, kBlack);
    return x < rightLimit;
  });
  return true;
}

int CFontLib_Asia::StringWidth(std::string_view text, FontStyle style) const {
  const FontStyle sizeOnly = style & kStyleSizeMask;
  int width = 0;
  ForEachCode(text, [&](std::uint16_t code) {
    width += CharWidth(code, sizeOnly);
    return true;
  });
  return width;
}

int CFontLib_Asia::FileGlyph(GlyphBuffer& glyph, FontFileKind kind, int index, FontStyle style) const {
  const int sizeIndex = StyleSizeIndex(style);
  const int face = StyleFace(style);
  const auto bytes = static_cast<std::size_t>(GeometryOf(sizeIndex).fullBytes);
  const auto dest = std::span<std::uint8_t>(glyph).first(bytes);
  const std::size_t offset = static_cast<std::size_t>(index) * bytes;
  FontRead read = Files().Read(kind, sizeIndex, face, offset, dest);
  if (read == FontRead::kNoFile && face != 0) read = Files().Read(kind, sizeIndex, 0, offset, dest);
  return read == FontRead::kOk ? static_cast<int>(bytes) : 0;
}

bool CFontLib_Asia::GetFaceName(std::string& name, int face, std::uint16_t ascMask, std::uint16_t dbMask) const {
  const auto requested = static_cast<std::uint16_t>(dbMask & 0xFF);
  if (MissingFontSizes(Folder(), requested, m_page.baseName, face) == requested) return AsciiFaceName(name, face, ascMask);
  name = FaceDisplayName(face);
  return true;
}

int CFontLib_Asia::GetGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const {
  if (code < 128) return CFontLib_ASCII::GetGlyph(glyph, code, style);
  FontFileKind kind = m_page.mainKind;
  int index = CodeToIndex(code);
  if (index < 0 && m_page.extensionIndex != nullptr) {
    kind = m_page.extensionKind;
    index = m_page.extensionIndex(code);
  }
  if (index < 0) return 0;
  int count = 0;
  if (StyleSizeIndex(style) != 0) {
    count = FileGlyph(glyph, kind, kind == m_page.mainKind ? index + m_page.leadingGlyphs : index, style);
  } else if (m_page.builtIn8 != DoubleBytePage::kNone) {
    count = BuiltInGlyph8(glyph, code, m_page.builtIn8 == DoubleBytePage::kBig5);
  }
  return StyleInverse(style) ? Invert(glyph, count) : count;
}

}  // namespace vantorel

#include "render/font_lib_ascii_ex.h"

#include <algorithm>

#include "platform/byte_reader.h"
#include "render/ovf_header.h"

namespace vantorel {
namespace {

constexpr QRgb kBlack = 0xFF000000u;
constexpr std::size_t kWidthCacheSize = 16384;

}  // namespace

CFontLib_AsciiEx::CFontLib_AsciiEx(std::filesystem::path folder) : CTwFont(std::move(folder), kCodePageAsciiEx) {
  LoadFaces();
}

void CFontLib_AsciiEx::LoadFaces() {
  m_widthCache.assign(kWidthCacheSize, 0);
  std::size_t cacheUsed = 0;
  for (int f = 0; f < kFontFaceCount; ++f) {
    const auto file = Files().File(FontFileKind::kAsciiOvf, 0, f);
    if (!file) continue;
    const std::span<const std::uint8_t> bytes = (*file)->bytes;
    const auto record = UsableOvfFace(bytes);
    if (!record) continue;
    Face& face = m_faces[static_cast<std::size_t>(f)];
    face.glyphCount = record->glyphCount;
    const auto count = static_cast<std::size_t>(record->glyphCount);
    std::int64_t running = std::int64_t{record->faceOffset} + 18;
    for (int s = 0; s < kFontSizeCount; ++s) {
      face.widthTable[static_cast<std::size_t>(s)] = -1;
      if ((record->sizeMask & (1u << s)) == 0) continue;
      face.blockOffset[static_cast<std::size_t>(s)] = running;
      const auto tableStart = static_cast<std::size_t>(running);
      running += static_cast<std::int64_t>(count) * (GeometryOf(s).fullBytes + 1);
      if (cacheUsed + count > kWidthCacheSize) continue;
      // Kept only when the whole table lies in the file.
      ByteReader in(bytes);
      in.Seek(tableStart);
      const auto table = in.Bytes(count);
      if (!in.ok()) continue;
      std::copy(table.begin(), table.end(), m_widthCache.begin() + static_cast<std::ptrdiff_t>(cacheUsed));
      face.widthTable[static_cast<std::size_t>(s)] = static_cast<int>(cacheUsed);
      cacheUsed += count;
    }
    face.loaded = true;
  }
}

int CFontLib_AsciiEx::ServingFace(FontStyle style) const {
  const int face = StyleFace(style);
  if (m_faces[static_cast<std::size_t>(face)].loaded) return face;
  for (int f = 0; f < kFontFaceCount; ++f) {
    if (m_faces[static_cast<std::size_t>(f)].loaded) return f;
  }
  return -1;
}

std::optional<CFontLib_AsciiEx::SizeBlock> CFontLib_AsciiEx::FindSizeBlock(std::uint16_t code, FontStyle style) const {
  const int face = ServingFace(style);
  if (face < 0) return std::nullopt;
  const Face& record = m_faces[static_cast<std::size_t>(face)];
  if (code < 32 || code >= 32 + record.glyphCount) return std::nullopt;
  const auto sizeIndex = static_cast<std::size_t>(StyleSizeIndex(style));
  const std::int64_t block = record.blockOffset[sizeIndex];
  if (block == 0) return std::nullopt;
  return SizeBlock{face, block, record.glyphCount, record.widthTable[sizeIndex]};
}

bool CFontLib_AsciiEx::GetFaceName(std::string& name, int face, std::uint16_t /*ascMask*/,
                                   std::uint16_t /*dbMask*/) const {
  if (face < 0 || face >= kFontFaceCount) return false;
  const auto file = Files().File(FontFileKind::kAsciiOvf, 0, face);
  if (!file) return false;
  const auto record = ParseOvfFaceRecord((*file)->bytes);
  if (!record || !record->isFont || record->faceOffset > kOvfMaxNameOffset) return false;
  name = record->name;
  return true;
}

int CFontLib_AsciiEx::CharWidth(std::uint16_t code, FontStyle style) const {
  const auto found = FindSizeBlock(code, style);
  if (!found) return 0;
  if (found->widthTable >= 0) return m_widthCache[static_cast<std::size_t>(found->widthTable + code - 32)];
  std::uint8_t width = 0;
  const auto read = Files().Read(FontFileKind::kAsciiOvf, 0, found->face,
                                 static_cast<std::size_t>(found->block + (code - 32)), {&width, 1});
  return read == FontRead::kOk ? width : 0;
}

int CFontLib_AsciiEx::CharHeight(std::uint16_t /*code*/, FontStyle style) const {
  return GeometryOf(StyleSizeIndex(style)).height;
}

int CFontLib_AsciiEx::GetGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const {
  const auto bytes = static_cast<std::size_t>(GeometryOf(StyleSizeIndex(style)).fullBytes);
  const auto found = FindSizeBlock(code, style);
  if (!found) return 0;
  const std::int64_t offset =
      found->block + found->glyphCount + static_cast<std::int64_t>(code - 32) * static_cast<std::int64_t>(bytes);
  const auto read = Files().Read(FontFileKind::kAsciiOvf, 0, found->face, static_cast<std::size_t>(offset),
                                 std::span<std::uint8_t>(glyph).first(bytes));
  const int count = read == FontRead::kOk ? static_cast<int>(bytes) : 0;
  return StyleInverse(style) ? Invert(glyph, count) : count;
}

int CFontLib_AsciiEx::GlyphRowBytes(int /*width*/, int height) const { return RowBytes(height); }

bool CFontLib_AsciiEx::DrawString(QImage& surface, int rightLimit, int x, int y, std::string_view text,
                                  FontStyle style, QRgb foreground) const {
  for (const char byte : text) {
    if (byte == '\0') break;
    x += DrawChar(surface, x, y, static_cast<std::uint8_t>(byte), static_cast<std::uint8_t>(style), foreground, kBlack);
    if (x >= rightLimit) break;
  }
  return true;
}

int CFontLib_AsciiEx::StringWidth(std::string_view text, FontStyle style) const {
  int width = 0;
  for (const char byte : text) {
    if (byte == '\0') break;
    width += CharWidth(static_cast<std::uint8_t>(byte), style);
  }
  return width;
}

}  // namespace vantorel

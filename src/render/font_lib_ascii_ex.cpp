#include "render/font_lib_ascii_ex.h"

#include <algorithm>
#include <optional>

#include "render/font_shared_state.h"
#include "render/ovf_header.h"

namespace vantorel {
namespace {

constexpr QRgb kBlack = 0xFF000000u;

// The face that serves `style`: its own when loaded, else the lowest loaded one; -1 for none.
// Called with the shared state locked.
int ServingFace(const FontSharedState& state, FontStyle style) {
  const int face = StyleFace(style);
  if (state.faces[static_cast<std::size_t>(face)].loaded) return face;
  for (int f = 0; f < kFontFaceCount; ++f) {
    if (state.faces[static_cast<std::size_t>(f)].loaded) return f;
  }
  return -1;
}

// Where the glyphs of `code` at the style's size lie: the serving face, its size block in the file,
// the face's glyph count and its width-cache table (-1 = not cached). Nothing for a code the face
// lacks. Called with the shared state locked.
struct SizeBlock {
  int face;
  std::int64_t block;
  int glyphCount;
  int widthTable;
};

std::optional<SizeBlock> FindSizeBlock(const FontSharedState& state, std::uint16_t code, FontStyle style) {
  const int face = ServingFace(state, style);
  if (face < 0) return std::nullopt;
  const ExtAsciiFace& record = state.faces[static_cast<std::size_t>(face)];
  if (code < 32 || code >= 32 + record.glyphCount) return std::nullopt;
  const auto sizeIndex = static_cast<std::size_t>(StyleSizeIndex(style));
  const std::int64_t block = record.blockOffset[sizeIndex];
  if (block == 0) return std::nullopt;
  return SizeBlock{face, block, record.glyphCount, record.widthTable[sizeIndex]};
}

}  // namespace

CFontLib_AsciiEx::CFontLib_AsciiEx(std::filesystem::path folder) : CTwFont(std::move(folder), kCodePageAsciiEx) {
  LoadFaces();
}

void CFontLib_AsciiEx::LoadFaces() {
  FontSharedState& state = SharedFontState();
  const std::lock_guard<std::mutex> guard(state.lock);
  state.faces = {};
  if (state.widthCache.empty()) state.widthCache.resize(kWidthCacheSize);
  std::size_t cacheUsed = 0;
  for (int f = 0; f < kFontFaceCount; ++f) {
    Files().WithFile(FontFileKind::kAsciiOvf, 0, f, [&](std::span<const std::uint8_t> file) {
      const auto record = UsableOvfFace(file);
      if (!record) return;
      ExtAsciiFace& face = state.faces[static_cast<std::size_t>(f)];
      face.glyphCount = record->glyphCount;
      const auto count = static_cast<std::size_t>(record->glyphCount);
      std::int64_t running = std::int64_t{record->faceOffset} + 18;
      for (int s = 0; s < kFontSizeCount; ++s) {
        face.widthTable[static_cast<std::size_t>(s)] = -1;
        if ((record->sizeMask & (1u << s)) == 0) continue;
        face.blockOffset[static_cast<std::size_t>(s)] = running;
        const auto tableStart = static_cast<std::uint64_t>(running);
        running += static_cast<std::int64_t>(count) * (GeometryOf(s).fullBytes + 1);
        if (cacheUsed + count > kWidthCacheSize) continue;
        auto slot = std::span<std::uint8_t>(state.widthCache).subspan(cacheUsed, count);
        std::fill(slot.begin(), slot.end(), std::uint8_t{0});
        // Kept only when the whole table lies in the file.
        if (tableStart <= file.size() && count <= file.size() - tableStart) {
          std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(tableStart), count, slot.begin());
          face.widthTable[static_cast<std::size_t>(s)] = static_cast<int>(cacheUsed);
          cacheUsed += count;
        }
      }
      face.loaded = true;
    });
  }
}

bool CFontLib_AsciiEx::GetFaceName(std::string& name, int face, std::uint16_t /*ascMask*/,
                                   std::uint16_t /*dbMask*/) const {
  if (face < 0 || face >= kFontFaceCount) return false;
  bool found = false;
  Files().WithFile(FontFileKind::kAsciiOvf, 0, face, [&](std::span<const std::uint8_t> file) {
    const auto record = ParseOvfFaceRecord(file);
    if (!record || !record->isFont || record->faceOffset > kOvfMaxNameOffset) return;
    name = record->name;
    found = true;
  });
  return found;
}

int CFontLib_AsciiEx::CharWidth(std::uint16_t code, FontStyle style) const {
  SizeBlock found{};
  {
    FontSharedState& state = SharedFontState();
    const std::lock_guard<std::mutex> guard(state.lock);
    const auto located = FindSizeBlock(state, code, style);
    if (!located) return 0;
    if (located->widthTable >= 0) return state.widthCache[static_cast<std::size_t>(located->widthTable + code - 32)];
    found = *located;
  }
  std::uint8_t width = 0;
  const auto read = Files().Read(FontFileKind::kAsciiOvf, 0, found.face,
                                 static_cast<std::size_t>(found.block + (code - 32)), {&width, 1});
  return read == FontRead::kOk ? width : 0;
}

int CFontLib_AsciiEx::CharHeight(std::uint16_t /*code*/, FontStyle style) const {
  return GeometryOf(StyleSizeIndex(style)).height;
}

int CFontLib_AsciiEx::GetGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const {
  const auto bytes = static_cast<std::size_t>(GeometryOf(StyleSizeIndex(style)).fullBytes);
  SizeBlock found{};
  {
    FontSharedState& state = SharedFontState();
    const std::lock_guard<std::mutex> guard(state.lock);
    const auto located = FindSizeBlock(state, code, style);
    if (!located) return 0;
    found = *located;
  }
  const std::int64_t offset =
      found.block + found.glyphCount + static_cast<std::int64_t>(code - 32) * static_cast<std::int64_t>(bytes);
  const auto read = Files().Read(FontFileKind::kAsciiOvf, 0, found.face, static_cast<std::size_t>(offset),
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

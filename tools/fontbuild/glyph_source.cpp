#include "glyph_source.h"

#include <strings.h>
#include <zlib.h>
#include FT_BDF_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "code_converter.h"

namespace vantorel::fontbuild {

bool RenderedGlyph::Blank() const {
  return std::none_of(dots.begin(), dots.end(), [](std::uint8_t dot) { return dot != 0; });
}

CFreeType::CFreeType() {
  if (FT_Init_FreeType(&m_library) != 0) throw std::runtime_error("FreeType cannot start");
}

CFreeType::~CFreeType() { FT_Done_FreeType(m_library); }

namespace {

// The bytes of `file`; gzip files come out unpacked (zlib passes other files through unchanged).
std::vector<std::uint8_t> ReadFont(const std::filesystem::path& file) {
  const gzFile input = gzopen(file.c_str(), "rb");
  if (input == nullptr) throw std::runtime_error("cannot open font " + file.string());
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint8_t> chunk(1 << 20);
  int read;
  while ((read = gzread(input, chunk.data(), static_cast<unsigned>(chunk.size()))) > 0) {
    bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + read);
  }
  gzclose(input);
  if (read < 0) throw std::runtime_error("cannot read font " + file.string());
  return bytes;
}

// The EUC encoding whose bytes, without their high bits, index a bitmap font of `registry`.
const char* NativeEncoding(const char* registry) {
  struct Native {
    const char* registry;
    const char* euc;
  };
  static constexpr Native kNatives[] = {{"ksc5601", "EUC-KR"}, {"gb2312", "EUC-CN"}, {"jisx0208", "EUC-JP"}};
  for (const Native& native : kNatives) {
    if (strncasecmp(registry, native.registry, std::strlen(native.registry)) == 0) return native.euc;
  }
  return nullptr;
}

}  // namespace

CGlyphSource::CGlyphSource(const CFreeType& freeType, const std::filesystem::path& file, int pixelSize)
    : m_bytes(ReadFont(file)), m_file(file) {
  if (FT_New_Memory_Face(freeType.Handle(), m_bytes.data(), static_cast<FT_Long>(m_bytes.size()), 0, &m_face) != 0) {
    throw std::runtime_error("cannot open font " + file.string());
  }
  const FT_Error error = FT_IS_SCALABLE(m_face) ? FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(pixelSize))
                                                : FT_Select_Size(m_face, 0);
  if (error != 0) {
    FT_Done_Face(m_face);
    throw std::runtime_error("cannot size font " + file.string());
  }
  const char* encoding = nullptr;
  const char* registry = nullptr;
  if (FT_Get_BDF_Charset_ID(m_face, &encoding, &registry) == 0 && registry != nullptr) {
    if (const char* euc = NativeEncoding(registry)) {
      m_nativeEncoder = std::make_unique<CUnicodeEncoder>(euc);
      FT_Set_Charmap(m_face, m_face->charmaps[0]);
    }
  }
}

CGlyphSource::~CGlyphSource() { FT_Done_Face(m_face); }

void CGlyphSource::SetPixelSize(int pixelSize) {
  if (FT_IS_SCALABLE(m_face) && FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
    throw std::runtime_error("cannot size font " + m_file.string());
  }
}

std::optional<FT_ULong> CGlyphSource::CharCode(char32_t codePoint) const {
  if (!m_nativeEncoder) return codePoint;
  const auto bytes = m_nativeEncoder->FromUnicode(codePoint);
  // Two bytes, both with the high bit: EUC-JP's 0x8E half-width katakana are not JIS X 0208.
  if (!bytes || bytes->size() != 2 || static_cast<unsigned char>((*bytes)[0]) < 0xA1) return std::nullopt;
  return (static_cast<FT_ULong>(static_cast<unsigned char>((*bytes)[0])) << 8 | static_cast<unsigned char>((*bytes)[1])) &
         0x7F7F;
}

FT_UInt CGlyphSource::GlyphIndex(char32_t codePoint) const {
  const auto code = CharCode(codePoint);
  return code ? FT_Get_Char_Index(m_face, *code) : 0;
}

bool CGlyphSource::HoldsAll(char32_t first, char32_t last) const {
  for (char32_t codePoint = first; codePoint <= last; ++codePoint) {
    if (GlyphIndex(codePoint) == 0) return false;
  }
  return true;
}

bool CGlyphSource::IsBitmap() const { return !FT_IS_SCALABLE(m_face); }

int CGlyphSource::Ascent() const { return static_cast<int>((m_face->size->metrics.ascender + 32) >> 6); }

int CGlyphSource::Descent() const { return static_cast<int>((-m_face->size->metrics.descender + 32) >> 6); }

std::string CGlyphSource::Name() const { return m_file.filename().string(); }

std::optional<RenderedGlyph> CGlyphSource::Render(char32_t codePoint) const {
  const FT_UInt index = GlyphIndex(codePoint);
  if (index == 0) return std::nullopt;
  const FT_GlyphSlot slot = m_face->glyph;
  if (m_embolden > 0) {
    if (FT_Load_Glyph(m_face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO) != 0 ||
        slot->format != FT_GLYPH_FORMAT_OUTLINE || FT_Outline_Embolden(&slot->outline, m_embolden) != 0 ||
        FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) {
      return std::nullopt;
    }
  } else if (FT_Load_Glyph(m_face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) {
    return std::nullopt;
  }
  const FT_Bitmap& bitmap = slot->bitmap;
  RenderedGlyph glyph;
  glyph.left = slot->bitmap_left;
  glyph.top = slot->bitmap_top;
  glyph.width = static_cast<int>(bitmap.width);
  glyph.rows = static_cast<int>(bitmap.rows);
  glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  glyph.dots.resize(static_cast<std::size_t>(glyph.width * glyph.rows));
  for (int y = 0; y < glyph.rows; ++y) {
    const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
    for (int x = 0; x < glyph.width; ++x) {
      const bool lit = bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x / 8] >> (7 - x % 8)) & 1) != 0 : row[x] >= 128;
      glyph.dots[static_cast<std::size_t>(y * glyph.width + x)] = lit ? 1 : 0;
    }
  }
  return glyph;
}

}  // namespace vantorel::fontbuild

#include "render/dot_font.h"

#include <algorithm>
#include <atomic>

#include "platform/byte_reader.h"
#include "render/glyph_cell_painter.h"

namespace vantorel {
namespace {

// Font objects alive in the process; made and dropped on any thread.
std::atomic<int> g_instances{0};

}  // namespace

int CDotFont::Invert(std::span<std::uint8_t> glyph, int count) const {
  if (count <= 0) return 0;
  const auto n = std::min(static_cast<std::size_t>(count), glyph.size());
  for (std::size_t i = 0; i < n; ++i) glyph[i] = static_cast<std::uint8_t>(~glyph[i]);
  return count;
}

CTwFont::CTwFont(std::filesystem::path folder, int codePage)
    : CDotFont(codePage), m_files(CFontFileCache::ForFolder(folder)) {
  ++g_instances;
}

// The shared images go with the folder's file cache, which the last font object of the folder
// takes with it.
CTwFont::~CTwFont() { --g_instances; }

int CTwFont::InstanceCount() { return g_instances.load(); }

QSize CTwFont::CharSize(std::uint16_t code, FontStyle style) const {
  return QSize(CharWidth(code, style), CharHeight(code, style));
}

int CTwFont::GlyphRowBytes(int width, int /*height*/) const { return RowBytes(width); }

int CTwFont::DrawChar(QImage& surface, int x, int y, std::uint16_t code, std::uint8_t style, QRgb foreground,
                      QRgb background) const {
  GlyphBuffer glyph;
  if (GetGlyph(glyph, code, style) == 0) glyph.fill(0);
  const QSize size = CharSize(code, style);
  if (size.width() < 1 || size.height() < 1) return 0;
  const int rowBytes = GlyphRowBytes(size.width(), size.height());
  if (rowBytes * size.height() > kGlyphBufferSize) return 0;
  PaintGlyphCell(surface, x, y, size.width(), size.height(), glyph, rowBytes, foreground, background);
  return size.width();
}

bool CTwFont::CopyGlyph(std::span<std::uint8_t> dest, std::span<const std::uint8_t> source, std::size_t offset,
                        std::size_t length) const {
  length = std::min(length, dest.size());
  ByteReader in(source);
  in.Seek(offset);
  const auto bytes = in.Bytes(length);
  if (source.empty() || !in.ok()) {
    std::fill_n(dest.begin(), length, std::uint8_t{0xFF});
    return false;
  }
  std::copy(bytes.begin(), bytes.end(), dest.begin());
  return true;
}

}  // namespace vantorel

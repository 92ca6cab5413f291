#pragma once
// The dot-matrix font libraries: bitmap fonts of the controllers' own character sets, drawn cell by
// cell exactly as the sign draws them.
//
//   CDotFont                  code page number; the operations every library answers
//   └ CTwFont                 glyph lookup, one-character drawing, live-instance counter
//     ├ CFontLib_ASCII        codes 32..127
//     │ └ CFontLib_Asia       double-byte strings: GB2312, BIG5, KSC5601, Shift JIS
//     └ CFontLib_AsciiEx      proportional extended ASCII from ".ovf" files
//
// Strings are bytes in the library's code page. Colours are Qt RGB values. The virtual destructor
// is the release operation.
//
// Threads: a library object is immutable once made, so one object may draw on several threads at
// once (the editor, the preview and the data maker share the current library). What libraries
// share behind it, the font files of their folder, is a CFontFileCache, safe on every thread.
// Drawing surfaces and glyph buffers belong to the calling thread.

#include <QImage>
#include <QSize>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "render/font_file_cache.h"
#include "render/font_style.h"

namespace vantorel {

using GlyphBuffer = std::array<std::uint8_t, kGlyphBufferSize>;

class CDotFont {
public:
  explicit CDotFont(int codePage = 0) : m_codePage(codePage) {}
  virtual ~CDotFont() = default;
  CDotFont(const CDotFont&) = delete;
  CDotFont& operator=(const CDotFont&) = delete;

  // Inverts the first `count` bytes; returns `count`, 0 when it is not positive.
  virtual int Invert(std::span<std::uint8_t> glyph, int count) const;
  virtual int GetCodePage() const { return m_codePage; }
  virtual void SetCodePage(int codePage) { m_codePage = codePage; }

  // The name of `face` when it has at least one usable size among the masks (bit s = size index s).
  virtual bool GetFaceName(std::string& name, int face, std::uint16_t ascMask, std::uint16_t dbMask) const = 0;
  virtual int CharWidth(std::uint16_t code, FontStyle style) const = 0;
  virtual int CharHeight(std::uint16_t code, FontStyle style) const = 0;
  virtual QSize CharSize(std::uint16_t code, FontStyle style) const = 0;
  // Draws one cell opaquely at 1:1 (lit dots in `foreground`); returns the advance, 0 = nothing drawn.
  virtual int DrawChar(QImage& surface, int x, int y, std::uint16_t code, std::uint8_t style, QRgb foreground,
                       QRgb background) const = 0;
  // Draws from `x` on a black background; stops after the character that reaches `rightLimit`.
  virtual bool DrawString(QImage& surface, int rightLimit, int x, int y, std::string_view text, FontStyle style,
                          QRgb foreground) const = 0;
  virtual int StringWidth(std::string_view text, FontStyle style) const = 0;

private:
  int m_codePage;
};

class CTwFont : public CDotFont {
public:
  // `folder` holds the font files (the program folder); `codePage` is the library's own code page
  // until the screen's is set.
  CTwFont(std::filesystem::path folder, int codePage);
  ~CTwFont() override;

  // Font objects alive in the process.
  static int InstanceCount();

  QSize CharSize(std::uint16_t code, FontStyle style) const override;
  int DrawChar(QImage& surface, int x, int y, std::uint16_t code, std::uint8_t style, QRgb foreground,
               QRgb background) const override;

  // Glyph of `code` into `glyph`; returns its byte count, 0 when there is none.
  virtual int GetGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const = 0;

  // Copies `length` bytes at `offset` of `source`. Without a source, or when the bytes do not all
  // lie inside it, fills the destination with 0xFF and returns false.
  bool CopyGlyph(std::span<std::uint8_t> dest, std::span<const std::uint8_t> source, std::size_t offset,
                 std::size_t length) const;

  const std::filesystem::path& Folder() const { return m_files->Folder(); }

protected:
  // Glyph rows of a cell `width` wide; the extended-ASCII library keeps whole-size rows.
  virtual int GlyphRowBytes(int width, int height) const;

  CFontFileCache& Files() const { return *m_files; }

private:
  std::shared_ptr<CFontFileCache> m_files;
};

}  // namespace vantorel

#pragma once
// Extended ASCII: proportional glyphs for codes 32..127 or 32..255 from "ascii.ovf" (face 0) and
// "ascii_%d.ovf" (faces 1 to 7). Every construction reads the faces into the object's own face
// table and fills its width cache (from its start), so measuring a string needs no file.
//
// Threads: the face table and the width cache are written only while the object is made, so the
// object may serve several threads at once.

#include <array>
#include <optional>
#include <vector>

#include "platform/program_folder.h"
#include "render/dot_font.h"

namespace vantorel {

class CFontLib_AsciiEx : public CTwFont {
public:
  explicit CFontLib_AsciiEx(std::filesystem::path folder = ProgramFolder());

  bool GetFaceName(std::string& name, int face, std::uint16_t ascMask, std::uint16_t dbMask) const override;
  int CharWidth(std::uint16_t code, FontStyle style) const override;
  int CharHeight(std::uint16_t code, FontStyle style) const override;
  bool DrawString(QImage& surface, int rightLimit, int x, int y, std::string_view text, FontStyle style,
                  QRgb foreground) const override;
  int StringWidth(std::string_view text, FontStyle style) const override;
  int GetGlyph(GlyphBuffer& glyph, std::uint16_t code, FontStyle style) const override;

protected:
  // Glyph rows span the whole size; only the proportional width shows.
  int GlyphRowBytes(int width, int height) const override;

private:
  // One face as found in its ".ovf" file.
  struct Face {
    bool loaded = false;
    int glyphCount = 0;                          // 96 (codes 32..127) or 224 (codes 32..255)
    std::array<std::int64_t, 8> blockOffset{};  // per size index; 0 = size absent
    std::array<int, 8> widthTable{};             // offset of the size's widths in the cache, -1 = not cached
  };
  // Where the glyphs of one code at one size lie.
  struct SizeBlock {
    int face;
    std::int64_t block;
    int glyphCount;
    int widthTable;
  };

  void LoadFaces();
  // The face that serves `style`: its own when loaded, else the lowest loaded one; -1 for none.
  int ServingFace(FontStyle style) const;
  // Nothing for a code or size the serving face lacks.
  std::optional<SizeBlock> FindSizeBlock(std::uint16_t code, FontStyle style) const;

  std::array<Face, kFontFaceCount> m_faces{};
  std::vector<std::uint8_t> m_widthCache;
};

}  // namespace vantorel

#include "font_families.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "code_converter.h"
#include "platform/atomic_file.h"
#include "render/font_code_index.h"
#include "render/font_file_cache.h"
#include "render/font_style.h"

namespace vantorel::fontbuild {
namespace {

// Reference characters: all of printable ASCII for half-width cells; a few large, dense Han
// characters (and a Hangul syllable and kana for fonts without Han) for square cells.
std::vector<char32_t> AsciiReference() {
  std::vector<char32_t> codes;
  for (char32_t c = 33; c <= 126; ++c) codes.push_back(c);
  return codes;
}
const std::vector<char32_t> kSquareReference = {U'国', U'永', U'鬱', U'龍', U'圖', U'뷁', U'あ', U'ア'};

// Source fonts of the half-width cells, by size index.
std::vector<std::string> HalfWidthRoles(int sizeIndex) {
  switch (sizeIndex) {
    case 0: return {"fixed-5x8", "unifont"};
    case 1: return {"fixed-6x12", "unifont"};
    case 2: return {"unifont"};
    case 3: return {"fixed-12x24", "dejavu-mono-bold"};
    default: return {"dejavu-mono-bold"};
  }
}

// Source fonts of the proportional face: the fixed fonts up to 16 dots, a proportional font from
// 24 dots up (its advance box is as wide as the square cell it is placed in).
std::vector<std::string> ProportionalRoles(int sizeIndex) {
  if (sizeIndex < 3) return HalfWidthRoles(sizeIndex);
  return {"dejavu-sans-bold", "dejavu-mono-bold"};
}

// Source fonts of the square cells of a double-byte family, by size index (12..56 dots).
std::vector<std::string> SquareRoles(const std::string& family, int sizeIndex) {
  if (family == "ksc") {
    // Korean bitmap fonts up to 24 dots; they hold the KS X 1001 characters only, so the Hangul
    // syllables come from the later font that holds all of them.
    if (sizeIndex == 1) return {"gulim-12", "zenhei"};
    if (sizeIndex == 2) return {"gulim-16", "unifont"};
    if (sizeIndex == 3) return {"hanglm-24", "gulim-24", "zenhei"};
    return {"zenhei"};
  }
  if (sizeIndex == 1) return {"wqy-bitmap-12", "zenhei"};
  if (sizeIndex == 2) return {"unifont", "zenhei"};
  // Native 24-dot bitmap fonts draw even strokes; outline fonts fill in what they lack.
  const bool native24 = sizeIndex == 3;
  if (family == "sjis") return native24 ? std::vector<std::string>{"jiskan-24", "ipagothic", "zenhei"}
                                        : std::vector<std::string>{"ipagothic", "zenhei"};
  if (native24 && family == "gb") return {"gb-24", "zenhei"};
  return {"zenhei"};
}

struct DoubleByteFamily {
  const char* name;
  int (*toIndex)(std::uint16_t);
  int glyphs;
  std::vector<std::string> charsets;
};

const std::vector<DoubleByteFamily>& DoubleByteFamilies() {
  static const std::vector<DoubleByteFamily> families = {
      {"gb", Gb2312CodeToIndex, kGb2312GlyphCount, {"GB2312", "GBK"}},
      {"gbex", GbkExtCodeToIndex, kGbkExtGlyphCount, {"GBK"}},
      {"big", Big5CodeToIndex, kBig5GlyphCount, {"BIG5", "BIG5-HKSCS"}},
      {"hkscs", HkscsCodeToIndex, kHkscsGlyphCount, {"BIG5-HKSCS"}},
      {"ksc", Ksc5601CodeToIndex, kKsc5601GlyphCount, {"CP949"}},
      {"sjis", ShiftJisCodeToIndex, kShiftJisGlyphCount, {"CP932"}},
  };
  return families;
}

const DoubleByteFamily* FindDoubleByte(const std::string& family) {
  for (const auto& f : DoubleByteFamilies()) {
    if (family == f.name) return &f;
  }
  return nullptr;
}

// Counts for one file of the report.
struct FileReport {
  int codes = 0;      // codes with a character
  int drawn = 0;      // of those, with a glyph in a source font
  int inkless = 0;    // source glyphs passed over for having no ink
  PlacementCounts placement;

  std::string Line(const std::string& file, const std::string& sources) const {
    char text[320];
    std::snprintf(text, sizeof text,
                  "%-12s %6d characters, %6d drawn, %4d inkless skipped, %5d moved inward, %4d clipped  [%s]",
                  file.c_str(), codes, drawn, inkless, placement.moved, placement.clipped, sources.c_str());
    return text;
  }
};

void Write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  if (!WriteFileAtomically(path, bytes)) throw std::runtime_error("cannot write " + path.string());
}

// Glyph bytes of one character in a fixed cell, or a blank cell.
void AppendCell(std::vector<std::uint8_t>& out, const CCellFont& font, std::optional<char32_t> codePoint,
                FileReport& report) {
  const CellShape& shape = font.Shape();
  const auto blank = static_cast<std::size_t>(RowBytes(shape.width) * shape.height);
  if (codePoint) ++report.codes;
  const auto glyph = codePoint ? font.Render(*codePoint, &report.inkless) : std::nullopt;
  if (!glyph) {
    out.insert(out.end(), blank, 0);
    return;
  }
  ++report.drawn;
  const auto cell = PlaceInCell(*glyph, shape, report.placement);
  out.insert(out.end(), cell.begin(), cell.end());
}

std::vector<std::string> BuildAsc(const FontFiles& files, const std::filesystem::path& folder) {
  const CFreeType freeType;
  const auto reference = AsciiReference();
  std::vector<std::string> report;
  std::vector<std::uint8_t> image;
  for (int s = 0; s < kFontSizeCount; ++s) {
    const FontGeometry& g = GeometryOf(s);
    const CCellFont font(freeType, files, HalfWidthRoles(s), g.halfWidth, g.height, reference, 1);
    std::vector<std::uint8_t> glyphs;
    FileReport counts;
    for (char32_t c = 32; c <= 126; ++c) AppendCell(glyphs, font, c, counts);
    const std::string name = DotFontFileName("asc", s, 0);
    report.push_back(counts.Line(name + " " + std::to_string(g.height), font.Describe()));
    if (s <= 4) {
      image.insert(image.end(), glyphs.begin(), glyphs.end());
    } else {
      Write(folder / name, glyphs);
    }
  }
  Write(folder / "asc.fmd", image);
  return report;
}

// The proportional face: widths from the ink with one free column, spaces half a cell.
std::vector<std::string> BuildAsciiOvf(const FontFiles& files, const std::filesystem::path& folder) {
  const CFreeType freeType;
  const CCodeConverter cp1252({"CP1252"});
  const auto reference = AsciiReference();
  constexpr int kGlyphs = 224;
  std::vector<std::uint8_t> file(22, 0);
  std::copy_n("OVWM", 4, file.begin());
  file[4] = 1;  // codes 32..255
  file[17] = 1;
  file[21] = 22;  // the face record follows the header
  std::vector<std::uint8_t> name(16, 0);
  const std::string faceName = "Proportional";
  std::copy(faceName.begin(), faceName.end(), name.begin());
  file.insert(file.end(), name.begin(), name.end());
  file.push_back(0x00);
  file.push_back(0xFF);  // every size
  std::vector<std::string> report;
  for (int s = 0; s < kFontSizeCount; ++s) {
    const FontGeometry& g = GeometryOf(s);
    const int cellWidth = s < 3 ? g.halfWidth : g.fullWidth;
    const CCellFont font(freeType, files, ProportionalRoles(s), cellWidth, g.height, reference, 1);
    const int gap = std::max(1, g.height / 16);
    const int space = std::max(2, g.halfWidth / 2);
    std::vector<std::uint8_t> widths;
    std::vector<std::uint8_t> glyphs;
    FileReport counts;
    for (int code = 32; code < 32 + kGlyphs; ++code) {
      // Code 127 is the degree sign, as in every other library.
      std::optional<char32_t> codePoint = code == 127 ? std::optional<char32_t>(U'\u00B0')
                                                      : cp1252.ToUnicode(std::string(1, static_cast<char>(code)));
      int width = 0;
      std::optional<RenderedGlyph> glyph;
      if (codePoint) {
        ++counts.codes;
        glyph = font.Render(*codePoint, &counts.inkless);
      }
      if (glyph) ++counts.drawn;
      const RenderedGlyph none;
      const auto cell = PlaceProportional(glyph ? *glyph : none, font.Shape(), g.height, gap,
                                          glyph || code == 32 ? space : 0, width, counts.placement);
      widths.push_back(static_cast<std::uint8_t>(width));
      glyphs.insert(glyphs.end(), cell.begin(), cell.end());
    }
    file.insert(file.end(), widths.begin(), widths.end());
    file.insert(file.end(), glyphs.begin(), glyphs.end());
    report.push_back(counts.Line("ascii.ovf " + std::to_string(g.height), font.Describe()));
  }
  Write(folder / "ascii.ovf", file);
  return report;
}

// Every code of a double-byte file in file order, with its character when it has one.
std::vector<std::optional<char32_t>> FileCharacters(const DoubleByteFamily& family) {
  const CCodeConverter converter(family.charsets);
  std::vector<std::optional<char32_t>> characters(static_cast<std::size_t>(family.glyphs));
  for (int code = 0x8000; code <= 0xFFFF; ++code) {
    const int index = family.toIndex(static_cast<std::uint16_t>(code));
    if (index < 0) continue;
    characters[static_cast<std::size_t>(index)] = converter.ToUnicode(DoubleByte(static_cast<std::uint16_t>(code)));
  }
  if (std::string(family.name) == "sjis") {
    // The 159 leading glyphs: ASCII 32..126 and the half-width katakana bytes A0..DF.
    const CCodeConverter single({"CP932"});
    std::vector<std::optional<char32_t>> leading;
    for (int c = 0x20; c <= 0x7E; ++c) leading.push_back(static_cast<char32_t>(c));
    for (int c = 0xA0; c <= 0xDF; ++c) leading.push_back(single.ToUnicode(std::string(1, static_cast<char>(c))));
    characters.insert(characters.begin(), leading.begin(), leading.end());
  }
  return characters;
}

std::vector<std::string> BuildDoubleByte(const DoubleByteFamily& family, const FontFiles& files,
                                         const std::filesystem::path& folder) {
  const CFreeType freeType;
  const auto characters = FileCharacters(family);
  std::vector<std::string> report;
  for (int s = 1; s < kFontSizeCount; ++s) {
    const FontGeometry& g = GeometryOf(s);
    const CCellFont font(freeType, files, SquareRoles(family.name, s), g.fullWidth, g.height, kSquareReference, 1);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(characters.size() * static_cast<std::size_t>(g.fullBytes));
    FileReport counts;
    for (const auto& character : characters) AppendCell(bytes, font, character, counts);
    const std::string name = DotFontFileName(family.name, s, 0);
    Write(folder / name, bytes);
    report.push_back(counts.Line(name, font.Describe()));
  }
  return report;
}

}  // namespace

const std::vector<std::string>& FamilyNames() {
  static const std::vector<std::string> names = {"asc", "ascii", "gb", "gbex", "big", "hkscs", "ksc", "sjis"};
  return names;
}

std::vector<std::string> BuildFamily(const std::string& family, const FontFiles& files,
                                     const std::filesystem::path& folder) {
  if (family == "asc") return BuildAsc(files, folder);
  if (family == "ascii") return BuildAsciiOvf(files, folder);
  const DoubleByteFamily* doubleByte = FindDoubleByte(family);
  if (!doubleByte) throw std::runtime_error("unknown font family " + family);
  return BuildDoubleByte(*doubleByte, files, folder);
}

}  // namespace vantorel::fontbuild

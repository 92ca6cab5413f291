#pragma once
// The word that selects a dot-matrix glyph, and the cell geometry of the eight font sizes.
//
// `FontStyle` bits: 0-2 size index, 3 inverse, 4-6 face number, 24-31 the width that the ASCII
// library reports for codes of 128 or more.

#include <array>
#include <cstdint>
#include <string>

namespace vantorel {

using FontStyle = std::uint32_t;

inline constexpr FontStyle kStyleSizeMask = 0x07;
inline constexpr FontStyle kStyleInverse = 0x08;
inline constexpr FontStyle kStyleFaceMask = 0x70;
inline constexpr int kStyleFaceShift = 4;
inline constexpr int kStyleHighWidthShift = 24;

inline constexpr int kFontSizeCount = 8;
inline constexpr int kFontFaceCount = 8;
// Large enough for the largest glyph (56 x 56 dots).
inline constexpr int kGlyphBufferSize = 512;

constexpr int StyleSizeIndex(FontStyle style) { return static_cast<int>(style & kStyleSizeMask); }
constexpr int StyleFace(FontStyle style) { return static_cast<int>((style & kStyleFaceMask) >> kStyleFaceShift); }
constexpr bool StyleInverse(FontStyle style) { return (style & kStyleInverse) != 0; }
constexpr int StyleHighWidth(FontStyle style) { return static_cast<int>(style >> kStyleHighWidthShift); }
constexpr FontStyle MakeFontStyle(int sizeIndex, int face = 0, bool inverse = false) {
  return (static_cast<FontStyle>(sizeIndex) & kStyleSizeMask) |
         ((static_cast<FontStyle>(face) << kStyleFaceShift) & kStyleFaceMask) | (inverse ? kStyleInverse : 0);
}

// Cell geometry of one size. A glyph is `height` rows, top row first, each row ceil(width / 8)
// bytes, most significant bit leftmost, 1 = lit.
struct FontGeometry {
  int height;          // nominal height H in dots
  int halfWidth;       // cell width of single-byte codes
  int halfBytes;       // glyph bytes of single-byte codes
  int fullWidth;       // cell width of double-byte codes
  int fullBytes;       // glyph bytes of double-byte codes
};

inline constexpr std::array<FontGeometry, kFontSizeCount> kFontGeometry = {{
    {8, 6, 8, 8, 8},
    {12, 6, 12, 12, 24},
    {16, 8, 16, 16, 32},
    {24, 12, 48, 24, 72},
    {32, 16, 64, 32, 128},
    {40, 20, 120, 40, 200},
    {48, 24, 144, 48, 288},
    {56, 28, 224, 56, 392},
}};

constexpr const FontGeometry& GeometryOf(int sizeIndex) {
  return kFontGeometry[static_cast<std::size_t>(sizeIndex & 7)];
}
constexpr int RowBytes(int width) { return (width + 7) / 8; }

// Nominal height 8, 12, ... 56 -> 0..7; any other height -> 2 (16 dots).
int SizeToIndex(int height);
// Size index 0..7 -> nominal height; any other index -> 16.
int IndexToSize(int sizeIndex);

// Code page numbers of the screen definition's font library.
enum FontCodePage : int {
  kCodePageAscii = 0,
  kCodePageGb2312 = 1,
  kCodePageBig5 = 2,
  kCodePageShiftJis = 3,
  kCodePageAsciiEx = 4,
  kCodePageKsc5601 = 5,
};

// Text number of the "-dot" suffix of size labels.

// A size list entry: the height followed by "-dot" (16-dot).
std::string SizeLabel(int sizeIndex);

}  // namespace vantorel

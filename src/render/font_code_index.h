#pragma once
// Where a double-byte character lies in its font file: the position of its code among the codes
// that file holds, in ascending code order. -1 = the file has no place for the code.
// The font libraries use these to find glyphs; the font builder uses them to lay out the files.

#include <cstdint>

namespace vantorel {

inline constexpr int kGb2312GlyphCount = 7614;
inline constexpr int kGbkExtGlyphCount = 14240;
inline constexpr int kBig5GlyphCount = 13868;
inline constexpr int kHkscsGlyphCount = 5072;
inline constexpr int kKsc5601GlyphCount = 17018;
inline constexpr int kShiftJisGlyphCount = 11280;
// Glyphs in front of the double-byte ones in every Shift JIS font file.
inline constexpr int kShiftJisLeadingGlyphs = 159;

int Gb2312CodeToIndex(std::uint16_t code);   // "gb"
int GbkExtCodeToIndex(std::uint16_t code);   // "gbex"
int Big5CodeToIndex(std::uint16_t code);     // "big"
int HkscsCodeToIndex(std::uint16_t code);    // "hkscs"
int Ksc5601CodeToIndex(std::uint16_t code);  // "ksc"
int ShiftJisCodeToIndex(std::uint16_t code); // "sjis", before the leading glyphs are added

}  // namespace vantorel

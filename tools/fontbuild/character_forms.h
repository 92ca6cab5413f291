#pragma once
// Which characters are meant to have no ink, and the standard form of a compatibility character.
// The builder treats a source glyph without ink for a character that is not blank as missing, and
// tries a compatibility ideograph's standard form when no source draws the ideograph itself.

#include <optional>

namespace vantorel::fontbuild {

// Spaces, fillers, format and control characters: glyphs that rightly have no ink.
bool IsBlankCharacter(char32_t codePoint);

// The unified ideograph that a CJK compatibility ideograph stands for (U+F900..U+FAFF,
// U+2F800..U+2FA1F), or nothing for any other character.
std::optional<char32_t> StandardForm(char32_t codePoint);

// Hangul syllables U+AC00..U+D7A3, which must all come from one source font so that the
// syllables of a word share one weight.
constexpr char32_t kFirstHangulSyllable = 0xAC00;
constexpr char32_t kLastHangulSyllable = 0xD7A3;
constexpr bool IsHangulSyllable(char32_t codePoint) {
  return codePoint >= kFirstHangulSyllable && codePoint <= kLastHangulSyllable;
}

}  // namespace vantorel::fontbuild

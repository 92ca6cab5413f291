#pragma once
// The code pages of rich text: a document names one for the whole text (\ansicpgN) and each font
// may name a character set of its own (\fcharsetN). Bytes written as \'hh or as plain characters
// are in the code page of the current font's character set, else in the document's.
//
// Threads: every function may be called on several threads at once.

#include <QString>

#include <string_view>

namespace vantorel {

// The code page used when a document names none.
inline constexpr int kRtfDefaultCodePage = 1252;

// The code page of font character set `charset`; `documentCodePage` for the sets that name none
// (1 default, 2 symbol, 3 invisible) and for numbers not known.
int CodePageOfCharset(int charset, int documentCodePage);

// `bytes` in code page `codePage`. A byte sequence the code page has no character for, and every
// byte of a code page iconv does not know, becomes U+FFFD (ASCII bytes stay as they are).
QString DecodeCodePage(std::string_view bytes, int codePage);

}  // namespace vantorel

#pragma once
// Text for a dot-matrix font library: UTF-8 in memory, bytes of the library's code page when drawn.
//
// The double-byte code pages (GB2312, BIG5, Shift JIS, KSC5601) give every character either one
// ASCII byte or two bytes whose lead is 0x81 or above: their libraries, and the controller, read
// any byte of 0x80 and above as the lead of a pair, so a single high byte would swallow the next
// character. Characters whose usual encoding is a single high byte (GBK's euro sign, Shift JIS
// half-width katakana) take a two-byte equivalent instead.
//
// Threads: every function may be called on several threads at once.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantorel {

// Whether `codePage` (a font library code page number) reads bytes of 0x80 and above as pairs.
bool IsDoubleByteCodePage(int codePage);

// One Unicode character as bytes of `codePage`; nothing when the code page has no place for it.
// ASCII stays as it is; the degree sign becomes code 127, the built-in degree sign, except in
// extended ASCII, which has its own.
std::optional<std::string> EncodeCharacter(char32_t character, int codePage);

// The Unicode character of one code of `codePage` (a byte, or lead x 256 + trail); nothing when
// the code means no character there. Code 127 is the degree sign except in extended ASCII.
std::optional<char32_t> DecodeCharacter(std::uint16_t code, int codePage);

// `utf8` as bytes of `codePage`. A character the code page lacks becomes '?'; invalid UTF-8 bytes
// do too.
std::string EncodeForCodePage(std::string_view utf8, int codePage);

// The characters of `utf8`, an invalid byte as U+FFFD.
std::u32string Utf8Characters(std::string_view utf8);
// One character as UTF-8.
std::string Utf8Of(char32_t character);

}  // namespace vantorel

#pragma once
// Code-page bytes to Unicode with iconv, trying a list of character sets in order (a standard set
// first, a superset for the codes it lacks).

#include <iconv.h>

#include <optional>
#include <string>
#include <vector>

namespace vantorel::fontbuild {

class CCodeConverter {
public:
  // Throws when iconv does not know one of the sets.
  explicit CCodeConverter(const std::vector<std::string>& charsets);
  ~CCodeConverter();
  CCodeConverter(const CCodeConverter&) = delete;
  CCodeConverter& operator=(const CCodeConverter&) = delete;

  // The first code point of `bytes` in the first set that converts them, or nothing. A private-use
  // code point gives way to a real character from a later set (glibc's BIG5 puts the ETEN
  // extension there, BIG5-HKSCS has the characters).
  std::optional<char32_t> ToUnicode(const std::string& bytes) const;

private:
  std::vector<iconv_t> m_converters;
};

// Unicode to the bytes of one character set.
class CUnicodeEncoder {
public:
  explicit CUnicodeEncoder(const std::string& charset);
  ~CUnicodeEncoder();
  CUnicodeEncoder(const CUnicodeEncoder&) = delete;
  CUnicodeEncoder& operator=(const CUnicodeEncoder&) = delete;

  // The bytes of `codePoint`, or nothing when the set lacks it.
  std::optional<std::string> FromUnicode(char32_t codePoint) const;

private:
  iconv_t m_converter;
};

// The bytes of a double-byte code (lead byte first).
std::string DoubleByte(std::uint16_t code);

}  // namespace vantorel::fontbuild

#include "platform/legacy_text.h"

#include <iconv.h>

#include <cerrno>

namespace vantorel {

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    char32_t min = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1;
      min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
      min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
      min = 0x10000;
    } else {
      return false;
    }
    if (i + extra >= text.size()) return false;
    char32_t code = c & (0x3F >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

std::optional<std::string> ConvertToUtf8(std::string_view bytes, const char* codepage) {
  iconv_t cd = ::iconv_open("UTF-8", codepage);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out;
  std::string input(bytes);
  char* in = input.data();
  std::size_t inLeft = input.size();
  char buffer[1024];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof(buffer);
    const std::size_t result = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // An invalid or truncated sequence: mark it and go on with the next byte.
      out += "\xEF\xBF\xBD";
      ++in;
      --inLeft;
    }
  }
  ::iconv_close(cd);
  return out;
}

std::string ToUtf8(std::string_view bytes, const char* legacyCodepage) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  if (auto converted = ConvertToUtf8(bytes, legacyCodepage)) return std::move(*converted);
  if (auto converted = ConvertToUtf8(bytes, kDefaultLegacyCodepage)) return std::move(*converted);
  std::string out;
  for (char ch : bytes) out += static_cast<unsigned char>(ch) < 0x80 ? std::string(1, ch) : "\xEF\xBF\xBD";
  return out;
}

}  // namespace vantorel

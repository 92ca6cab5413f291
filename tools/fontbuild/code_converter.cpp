#include "code_converter.h"

#include <array>
#include <stdexcept>

namespace vantorel::fontbuild {

CCodeConverter::CCodeConverter(const std::vector<std::string>& charsets) {
  for (const std::string& charset : charsets) {
    const iconv_t converter = iconv_open("UTF-32LE", charset.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv does not know " + charset);
    m_converters.push_back(converter);
  }
}

CCodeConverter::~CCodeConverter() {
  for (const iconv_t converter : m_converters) iconv_close(converter);
}

namespace {

bool PrivateUse(char32_t codePoint) { return codePoint >= 0xE000 && codePoint <= 0xF8FF; }

}  // namespace

std::optional<char32_t> CCodeConverter::ToUnicode(const std::string& bytes) const {
  std::optional<char32_t> privateUse;
  for (const iconv_t converter : m_converters) {
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    std::string input = bytes;
    std::array<char, 32> output{};
    char* in = input.data();
    char* out = output.data();
    std::size_t inLeft = input.size();
    std::size_t outLeft = output.size();
    if (iconv(converter, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) continue;
    if (output.size() - outLeft < 4) continue;
    const auto* u = reinterpret_cast<const unsigned char*>(output.data());
    const auto codePoint = static_cast<char32_t>(u[0] | u[1] << 8 | u[2] << 16 | static_cast<char32_t>(u[3]) << 24);
    if (!PrivateUse(codePoint)) return codePoint;
    if (!privateUse) privateUse = codePoint;
  }
  return privateUse;
}

CUnicodeEncoder::CUnicodeEncoder(const std::string& charset) : m_converter(iconv_open(charset.c_str(), "UTF-32LE")) {
  if (m_converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv does not know " + charset);
}

CUnicodeEncoder::~CUnicodeEncoder() { iconv_close(m_converter); }

std::optional<std::string> CUnicodeEncoder::FromUnicode(char32_t codePoint) const {
  iconv(m_converter, nullptr, nullptr, nullptr, nullptr);
  std::array<char, 4> input = {static_cast<char>(codePoint & 0xFF), static_cast<char>((codePoint >> 8) & 0xFF),
                               static_cast<char>((codePoint >> 16) & 0xFF), static_cast<char>(codePoint >> 24)};
  std::array<char, 16> output{};
  char* in = input.data();
  char* out = output.data();
  std::size_t inLeft = input.size();
  std::size_t outLeft = output.size();
  if (iconv(m_converter, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  return std::string(output.data(), output.size() - outLeft);
}

std::string DoubleByte(std::uint16_t code) {
  return std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

}  // namespace vantorel::fontbuild

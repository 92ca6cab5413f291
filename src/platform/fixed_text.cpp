#include "platform/fixed_text.h"

#include <iconv.h>

#include <utility>

#include "platform/legacy_text.h"

namespace vantorel {
namespace {

// Bytes of the whole UTF-8 sequence at the start of `text`; 0 when none starts there (a stray
// continuation byte, a cut sequence).
std::size_t SequenceLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = lead < 0xC0 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 0;
  if (length == 0 || length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

// One converter per thread, opened once: fields are measured for every record read, and opening
// a converter costs far more than converting a few characters.
class LegacyMeasure {
public:
  LegacyMeasure() : m_cd(::iconv_open(kDefaultLegacyCodepage, "UTF-8")) {}
  ~LegacyMeasure() {
    if (Usable()) ::iconv_close(m_cd);
  }
  LegacyMeasure(const LegacyMeasure&) = delete;
  LegacyMeasure& operator=(const LegacyMeasure&) = delete;

  // Bytes one UTF-8 character takes in the legacy code page. A character that does not convert
  // (or a broken sequence) counts 4 bytes, the most any character takes there.
  std::size_t Size(std::string_view character) {
    if (!Usable()) return character.size();
    char buffer[8];
    char* in = const_cast<char*>(character.data());
    std::size_t inLeft = character.size();
    char* out = buffer;
    std::size_t outLeft = sizeof(buffer);
    const std::size_t result = ::iconv(m_cd, &in, &inLeft, &out, &outLeft);
    ::iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    if (result == static_cast<std::size_t>(-1) || inLeft != 0) return 4;
    return sizeof(buffer) - outLeft;
  }

private:
  bool Usable() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
  iconv_t m_cd;
};

LegacyMeasure& Measure() {
  thread_local LegacyMeasure measure;
  return measure;
}

}  // namespace

std::string_view CutUtf8(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t cut = maxBytes;
  // Step back over continuation bytes (10xxxxxx) to the lead byte of the character that would be split.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

namespace {

// The UTF-8 bytes and the legacy code page bytes of the character at `text[i]`. ASCII and bytes
// that start no sequence (they are written as they are) take one byte.
std::pair<std::size_t, std::size_t> CharacterAt(std::string_view text, std::size_t i) {
  if (static_cast<unsigned char>(text[i]) < 0x80) return {1, 1};
  const std::size_t length = SequenceLength(text.substr(i));
  if (length == 0) return {1, 1};
  // The common cases without the converter: characters beyond the basic plane always take four
  // bytes, and the unified ideographs U+4E00..U+9FA5 (every Chinese name) two.
  if (length == 4) return {4, 4};
  if (length == 3) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    const auto b1 = static_cast<unsigned char>(text[i + 1]);
    const auto b2 = static_cast<unsigned char>(text[i + 2]);
    const unsigned code = ((b0 & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
    if (code >= 0x4E00 && code <= 0x9FA5) return {3, 2};
  }
  return {length, Measure().Size(text.substr(i, length))};
}

}  // namespace

std::size_t LegacyCodepageSize(std::string_view text) {
  std::size_t size = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto [length, legacy] = CharacterAt(text, i);
    size += legacy;
    i += length;
  }
  return size;
}

std::string_view CutToLegacySize(std::string_view text, std::size_t maxBytes) {
  std::size_t size = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto [length, legacy] = CharacterAt(text, i);
    if (size + legacy > maxBytes) return text.substr(0, i);
    size += legacy;
    i += length;
  }
  return text;
}

}  // namespace vantorel

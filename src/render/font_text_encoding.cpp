#include "render/font_text_encoding.h"

#include <iconv.h>

#include <array>
#include <memory>
#include <vector>

#include "render/font_style.h"

namespace vantorel {
namespace {

constexpr char32_t kDegreeSign = 0x00B0;
constexpr char32_t kReplacement = 0xFFFD;
constexpr std::uint8_t kBuiltInDegree = 0x7F;

// Character sets tried in order for a code page: the standard set, then a superset for what it lacks.
std::vector<const char*> Charsets(int codePage) {
  switch (codePage) {
    case kCodePageGb2312: return {"GBK", "GB18030"};
    case kCodePageBig5: return {"BIG5", "BIG5-HKSCS"};
    case kCodePageShiftJis: return {"CP932"};
    case kCodePageAsciiEx: return {"CP1252"};
    case kCodePageKsc5601: return {"CP949"};
    default: return {};
  }
}

// Converters are costly to open: each thread keeps the ones it used, one per direction and set.
class Converter {
public:
  Converter(const char* to, const char* from) : m_handle(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(m_handle);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

  // The whole of `input` converted, or nothing.
  std::optional<std::string> Convert(std::string_view input) const {
    if (!ok()) return std::nullopt;
    iconv(m_handle, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    std::string in(input);
    std::array<char, 16> output{};
    char* from = in.data();
    char* to = output.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = output.size();
    if (iconv(m_handle, &from, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
    // Flush what a stateful set keeps back.
    if (iconv(m_handle, nullptr, nullptr, &to, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
    return std::string(output.data(), output.size() - outLeft);
  }

private:
  iconv_t m_handle;
};

const Converter& ConverterFor(const char* charset, bool toCharset) {
  struct Entry {
    const char* charset;
    bool toCharset;
    std::unique_ptr<Converter> converter;
  };
  thread_local std::vector<Entry> converters;
  for (const Entry& entry : converters) {
    if (std::string_view(entry.charset) == charset && entry.toCharset == toCharset) return *entry.converter;
  }
  auto converter = toCharset ? std::make_unique<Converter>(charset, "UTF-8") : std::make_unique<Converter>("UTF-8", charset);
  converters.push_back({charset, toCharset, std::move(converter)});
  return *converters.back().converter;
}

// Half-width katakana U+FF61..U+FF9F and their full-width forms.
constexpr std::array<char16_t, 63> kFullWidthKatakana = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};

// The full-width form of a character that has one, else the character itself.
char32_t FullWidthForm(char32_t character) {
  if (character >= 0xFF61 && character <= 0xFF9F) return kFullWidthKatakana[character - 0xFF61];
  switch (character) {
    case 0x00A2: return 0xFFE0;  // cent
    case 0x00A3: return 0xFFE1;  // pound
    case 0x00A5: return 0xFFE5;  // yen
    case 0x00A6: return 0xFFE4;  // broken bar
    case 0x00AC: return 0xFFE2;  // not sign
    case 0x00AF: return 0xFFE3;  // macron
    case 0x20A9: return 0xFFE6;  // won
    default: return character;
  }
}

bool IsPair(const std::string& bytes) {
  return bytes.size() == 2 && static_cast<unsigned char>(bytes[0]) >= 0x81 && bytes[1] != 0;
}

std::optional<std::string> FromCharsets(char32_t character, int codePage) {
  const std::string utf8 = Utf8Of(character);
  for (const char* charset : Charsets(codePage)) {
    std::optional<std::string> bytes = ConverterFor(charset, true).Convert(utf8);
    if (!bytes || bytes->empty()) continue;
    if (!IsDoubleByteCodePage(codePage) || IsPair(*bytes)) return bytes;
  }
  return std::nullopt;
}

// Length of the UTF-8 sequence that starts with `lead`; 0 when it cannot start one.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

}  // namespace

bool IsDoubleByteCodePage(int codePage) {
  return codePage == kCodePageGb2312 || codePage == kCodePageBig5 || codePage == kCodePageShiftJis ||
         codePage == kCodePageKsc5601;
}

std::optional<std::string> EncodeCharacter(char32_t character, int codePage) {
  if (character < 0x80) return std::string(1, static_cast<char>(character));
  if (character == kDegreeSign && codePage != kCodePageAsciiEx) return std::string(1, static_cast<char>(kBuiltInDegree));
  if (auto bytes = FromCharsets(character, codePage)) return bytes;
  if (IsDoubleByteCodePage(codePage)) {
    if (const char32_t wide = FullWidthForm(character); wide != character) return FromCharsets(wide, codePage);
  }
  return std::nullopt;
}

std::optional<char32_t> DecodeCharacter(std::uint16_t code, int codePage) {
  if (code == kBuiltInDegree && codePage != kCodePageAsciiEx) return kDegreeSign;
  if (code < 0x80) return code;
  std::string bytes;
  if (code > 0xFF) bytes += static_cast<char>(code >> 8);
  bytes += static_cast<char>(code & 0xFF);
  for (const char* charset : Charsets(codePage)) {
    const std::optional<std::string> utf8 = ConverterFor(charset, false).Convert(bytes);
    if (!utf8 || utf8->empty()) continue;
    const std::u32string characters = Utf8Characters(*utf8);
    if (characters.size() == 1) return characters[0];
  }
  return std::nullopt;
}

std::u32string Utf8Characters(std::string_view utf8) {
  std::u32string characters;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = SequenceLength(lead);
    bool whole = length != 0 && i + length <= utf8.size();
    for (std::size_t k = 1; whole && k < length; ++k) whole = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
    if (!whole) {
      characters += kReplacement;
      ++i;
      continue;
    }
    char32_t character = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) character = (character << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    characters += character;
    i += length;
  }
  return characters;
}

std::string Utf8Of(char32_t character) {
  std::string out;
  if (character < 0x80) {
    out += static_cast<char>(character);
  } else if (character < 0x800) {
    out += static_cast<char>(0xC0 | (character >> 6));
    out += static_cast<char>(0x80 | (character & 0x3F));
  } else if (character < 0x10000) {
    out += static_cast<char>(0xE0 | (character >> 12));
    out += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (character & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | ((character >> 18) & 0x07));
    out += static_cast<char>(0x80 | ((character >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (character & 0x3F));
  }
  return out;
}

std::string EncodeForCodePage(std::string_view utf8, int codePage) {
  std::string out;
  for (const char32_t character : Utf8Characters(utf8)) {
    const std::optional<std::string> bytes = character == kReplacement ? std::nullopt : EncodeCharacter(character, codePage);
    out += bytes ? *bytes : std::string("?");
  }
  return out;
}

}  // namespace vantorel

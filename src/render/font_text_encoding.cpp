#include "render/font_text_encoding.h"

#include <iconv.h>

#include <array>
#include <vector>

#include "render/font_style.h"

namespace vantorel {
namespace {

// Character sets tried in order for a code page: the standard set, then a superset for what it lacks.
std::vector<const char*> Charsets(int codePage) {
  switch (codePage) {
    case kCodePageGb2312: return {"GBK"};
    case kCodePageBig5: return {"BIG5", "BIG5-HKSCS"};
    case kCodePageShiftJis: return {"CP932"};
    case kCodePageAsciiEx: return {"CP1252"};
    case kCodePageKsc5601: return {"CP949"};
    default: return {};
  }
}

// Length of the UTF-8 sequence that starts with `lead`; 0 when it cannot start one.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

bool Convert(const char* charset, std::string_view character, std::string& out) {
  const iconv_t converter = iconv_open(charset, "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  std::string input(character);
  std::array<char, 16> output{};
  char* in = input.data();
  char* to = output.data();
  std::size_t inLeft = input.size();
  std::size_t outLeft = output.size();
  const bool converted = iconv(converter, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0;
  iconv_close(converter);
  if (converted) out.append(output.data(), output.size() - outLeft);
  return converted;
}

}  // namespace

std::string EncodeForCodePage(std::string_view utf8, int codePage) {
  const auto charsets = Charsets(codePage);
  std::string out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = SequenceLength(lead);
    if (length == 1) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    bool whole = length != 0 && i + length <= utf8.size();
    for (std::size_t k = 1; whole && k < length; ++k) whole = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
    if (!whole) {
      out += '?';
      ++i;
      continue;
    }
    const std::string_view character = utf8.substr(i, length);
    i += length;
    if (character == "\u00B0" && codePage != kCodePageAsciiEx) {
      out += '\x7F';
      continue;
    }
    bool converted = false;
    for (const char* charset : charsets) {
      if ((converted = Convert(charset, character, out))) break;
    }
    if (!converted) out += '?';
  }
  return out;
}

}  // namespace vantorel

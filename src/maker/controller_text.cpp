#include "maker/controller_text.h"

#include <optional>
#include <string>

#include "render/font_text_encoding.h"

namespace vantorel {
namespace {

constexpr char32_t kReplacement = 0xFFFD;  // what Utf8Characters gives for an invalid byte

}  // namespace

ControllerText EncodeControllerText(std::string_view utf8, int codePage, std::size_t maxCharacters) {
  ControllerText text;
  std::size_t characters = 0;
  for (const char32_t character : Utf8Characters(utf8)) {
    if (character == 0 || characters == maxCharacters) break;
    const std::optional<std::string> bytes =
        character == kReplacement ? std::nullopt : EncodeCharacter(character, codePage);
    if (bytes) {
      text.bytes.insert(text.bytes.end(), bytes->begin(), bytes->end());
    } else {
      text.bytes.push_back('?');
      ++text.replaced;
    }
    ++characters;
  }
  return text;
}

}  // namespace vantorel

#pragma once
// Text the controller draws with its own dot fonts (clock, sensor and counter texts), written in
// the code page of the screen's fonts (FontCodePageOf, render/font_library.h), never as UTF-8.
//
// Pure function, safe on any thread.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vantorel {

struct ControllerText {
  std::vector<std::uint8_t> bytes;  // without a terminating zero byte
  int replaced = 0;                 // characters the code page has no place for, written as "?"
};

// At most `maxCharacters` whole characters of `utf8` in `codePage`: a double-byte character counts
// as one and is never split. A character the code page lacks, and an invalid UTF-8 byte, become "?".
// A zero character ends the text, as it ends it on the controller.
ControllerText EncodeControllerText(std::string_view utf8, int codePage, std::size_t maxCharacters);

}  // namespace vantorel

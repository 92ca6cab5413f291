// Language files come from the program's "language" folder, where anyone may drop a file.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "app/language_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  std::map<int, std::string> texts;
  if (vantorel::ParseLanguageFile(content, texts)) {
    for (const auto& [id, text] : texts) vantorel::SameFormatArguments("Total: %lld bytes, %ld files.", text);
  }
  return 0;
}

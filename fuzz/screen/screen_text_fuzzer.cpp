// Screen list files come from other machines ("*.screens") and from older installations.
// Reading must never crash, and whatever was read must survive being written and read again.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "screen/screen_data.h"
#include "screen/screen_text_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  CScreenData list;
  ReadScreenText(std::string_view(reinterpret_cast<const char*>(data), size), list);
  for (int i = 0; i < list.Count(); ++i) {
    (void)list.DisplayName(i);
  }
  CScreenData again;
  ReadScreenText(WriteScreenText(list), again);
  if (again.Count() != list.Count()) __builtin_trap();
  return 0;
}

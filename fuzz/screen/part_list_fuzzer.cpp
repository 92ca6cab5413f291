// Part lists arrive in screen files and in text files the part editor imports. Parsing must
// never crash, and the part editor's rows must write back the same rectangles.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "screen/part_list.h"
#include "screen/part_rows.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto parts = ParsePartList(text);
  if (parts.size() > static_cast<std::size_t>(kMaxParts)) __builtin_trap();
  (void)CanvasParts(text);
  (void)IsRotated(text);
  const auto rows = PartRowsOf(text);
  for (std::size_t i = 0; i < rows.size(); ++i) (void)PartRowNumberText(static_cast<int>(i) + 1, rows[i], 64, 64);
  if (ParsePartList(PartRowsText(rows)) != parts) __builtin_trap();
  return 0;
}

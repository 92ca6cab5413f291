#include "playbill/font_library_names.h"

#include "app/text_table.h"

namespace vantorel {

int FontLibraryTextId(int code) {
  // ASCII, GB2312, Big 5, Shift JIS, Extended ASCII, KSC5601.
  static constexpr int kTextIds[kFontLibCount] = {490, 477, 478, 479, 480, 499};
  return code >= 0 && code < kFontLibCount ? kTextIds[code] : 0;
}

std::string FontLibraryName(int code) {
  const int id = FontLibraryTextId(code);
  return id != 0 ? LoadText(id) : std::string();
}

}  // namespace vantorel

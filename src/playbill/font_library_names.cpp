#include "playbill/font_library_names.h"

#include "app/text_table.h"

namespace vantorel {

int FontLibraryTextId(int code) {
  static constexpr TextId kTextIds[kFontLibCount] = {kTextAscii,    kTextGb2312,        kTextBig5,
                                                      kTextShiftJis, kTextExtendedAscii, kTextKsc5601};
  return code >= 0 && code < kFontLibCount ? kTextIds[code] : 0;
}

std::string FontLibraryName(int code, const AppOptions& options) {
  if (code == kFontLibExtendedAscii) return ExtendedAsciiName(options);
  const int id = FontLibraryTextId(code);
  return id != 0 ? LoadText(id) : std::string();
}

}  // namespace vantorel

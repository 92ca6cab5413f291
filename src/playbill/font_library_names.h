#pragma once
// Codes of the controllers' font libraries (screen FONTLIB, option "Extended ASCII Name") and
// their names.

#include <string>

#include "app/options.h"

namespace vantorel {

inline constexpr int kFontLibAscii = 0;
inline constexpr int kFontLibGb2312 = 1;
inline constexpr int kFontLibBig5 = 2;
inline constexpr int kFontLibShiftJis = 3;
inline constexpr int kFontLibExtendedAscii = 4;
inline constexpr int kFontLibKsc5601 = 5;
inline constexpr int kFontLibCount = 6;

// Text id of the name of font library `code`; 0 for codes outside 0..5.
int FontLibraryTextId(int code);
// The name of font library `code` as the user sees it: the extended-ASCII library goes by the
// option "Extended ASCII Name" when it is set. Empty for codes outside 0..5.
std::string FontLibraryName(int code, const AppOptions& options);

}  // namespace vantorel

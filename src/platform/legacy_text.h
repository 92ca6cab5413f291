#pragma once
// Stored files may come from older Windows installations whose texts are in a legacy code page.
// In memory every text is UTF-8: valid UTF-8 is taken as it is, anything else is converted from
// the legacy code page (GB18030 unless the user chose another).

#include <optional>
#include <string>
#include <string_view>

namespace vantorel {

inline constexpr const char* kDefaultLegacyCodepage = "GB18030";

bool IsValidUtf8(std::string_view text);

// Valid UTF-8 is returned unchanged; other bytes are converted from `legacyCodepage` with iconv.
// Bytes that cannot be converted become U+FFFD, so the result is always valid UTF-8.
std::string ToUtf8(std::string_view bytes, const char* legacyCodepage = kDefaultLegacyCodepage);

// `bytes` converted from `codepage` (an iconv name) whether or not they are valid UTF-8; bytes
// that cannot be converted become U+FFFD. Nothing when iconv does not know the code page.
std::optional<std::string> ConvertToUtf8(std::string_view bytes, const char* codepage);

}  // namespace vantorel

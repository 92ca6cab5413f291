#pragma once
// Display names of language IDs (the numeric language identifiers language files are named by),
// with the locale tag each stands for.

#include <cstdint>
#include <span>
#include <string_view>

namespace vantorel {

inline constexpr int kEnglishLanguageId = 1033;

struct LanguageName {
  std::uint16_t id;
  const char* tag;   // locale tag, e.g. "de-DE"
  const char* name;  // display name, e.g. "German (Germany)"
};

// The built-in table, sorted by ID.
std::span<const LanguageName> LanguageNameTable();

// Display name of `id`; empty when the table does not know it.
std::string_view LanguageDisplayName(int id);

// Language ID of a locale tag ("de-DE", "de_DE", "de"): an exact match first, then the first ID of
// the same language; 0 when none.
int LanguageIdForLocale(std::string_view tag);

}  // namespace vantorel

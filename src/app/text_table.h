#pragma once
// Numbered user-interface texts. Every text a user sees is looked up by its number: first in the
// texts of the chosen language, then in the built-in English table.

#include <map>
#include <string>

#include "app/text_ids.h"

namespace vantorel {

// A language's texts must carry this tag as text kTextLanguageTag.
inline constexpr const char* kLanguageTag = "VANTOREL_010100";

// Text `id` into `text`; false (and an empty text) when no table has an entry for it.
bool LoadText(int id, std::string& text);
// Text `id`, or an empty text when there is none.
std::string LoadText(int id);

// Makes `texts` the language texts consulted before the built-in table; an empty map returns to
// plain English. May be called while other threads look texts up.
void SetLanguageTexts(std::map<int, std::string> texts);

}  // namespace vantorel

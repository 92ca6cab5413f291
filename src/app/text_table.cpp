#include "app/text_table.h"

#include <algorithm>

#include "app/english_texts.h"

namespace vantorel {
namespace {

std::map<int, std::string>& LanguageTexts() {
  static std::map<int, std::string> texts;
  return texts;
}

}  // namespace

bool LoadText(int id, std::string& text) {
  const auto& language = LanguageTexts();
  if (const auto found = language.find(id); found != language.end()) {
    text = found->second;
    return true;
  }
  const auto table = EnglishTexts();
  const auto entry = std::lower_bound(table.begin(), table.end(), id,
                                      [](const TextEntry& e, int key) { return e.id < key; });
  if (entry != table.end() && entry->id == id && entry->text[0] != '\0') {
    text = entry->text;
    return true;
  }
  text.clear();
  return false;
}

std::string LoadText(int id) {
  std::string text;
  LoadText(id, text);
  return text;
}

void SetLanguageTexts(std::map<int, std::string> texts) { LanguageTexts() = std::move(texts); }

}  // namespace vantorel

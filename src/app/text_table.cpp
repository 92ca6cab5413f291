#include "app/text_table.h"

#include <algorithm>
#include <memory>
#include <mutex>

#include "app/english_texts.h"

namespace vantorel {
namespace {

using TextMap = std::map<int, std::string>;

// The chosen language's texts. Workers (the data maker, the preview) look texts up while the user
// may switch languages: a switch publishes a new table and readers keep the one they took.
std::mutex g_languageLock;
std::shared_ptr<const TextMap> g_languageTexts = std::make_shared<const TextMap>();

std::shared_ptr<const TextMap> LanguageTexts() {
  const std::lock_guard lock(g_languageLock);
  return g_languageTexts;
}

}  // namespace

bool LoadText(int id, std::string& text) {
  const std::shared_ptr<const TextMap> language = LanguageTexts();
  if (const auto found = language->find(id); found != language->end()) {
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

void SetLanguageTexts(std::map<int, std::string> texts) {
  auto published = std::make_shared<const TextMap>(std::move(texts));
  const std::lock_guard lock(g_languageLock);
  g_languageTexts = std::move(published);
}

}  // namespace vantorel

#include "app/app_language.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <set>

#include "app/english_texts.h"
#include "app/language_file.h"
#include "app/text_table.h"
#include "platform/atomic_file.h"

namespace vantorel {
namespace {

// Texts in `texts` whose format arguments differ from the English text of the same number are
// dropped: formatting them would read arguments that were never passed.
void DropUnsafeFormats(std::map<int, std::string>& texts) {
  std::map<int, std::string_view> english;
  for (const auto& entry : EnglishTexts()) english.emplace(entry.id, entry.text);
  std::erase_if(texts, [&](const auto& entry) {
    const auto found = english.find(entry.first);
    return !SameFormatArguments(found == english.end() ? std::string_view() : found->second, entry.second);
  });
}

Status Failure(TextId text, const std::filesystem::path& path) {
  return Status::Failure(text, path.string()).WithTitle(kTextError);
}

// The ID in a file name "lang<digits>.lng" (case ignored), or 0.
int IdOfFileName(const std::string& name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (!lower.starts_with("lang") || !lower.ends_with(kLanguageFileExtension)) return 0;
  const std::string_view digits =
      std::string_view(lower).substr(4, lower.size() - 4 - std::string_view(kLanguageFileExtension).size());
  if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return 0;
  int id = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
  return error == std::errc() && end == digits.data() + digits.size() ? id : 0;
}

}  // namespace

CAppLanguage::CAppLanguage(std::filesystem::path languageFolder, std::function<int()> systemLanguage)
    : m_folder(std::move(languageFolder)), m_systemLanguage(std::move(systemLanguage)) {}

std::filesystem::path CAppLanguage::FileFor(int id) const {
  return m_folder / ("lang" + std::to_string(id) + kLanguageFileExtension);
}

Expected<bool> CAppLanguage::SetLanguage(int id) {
  if (id == m_id) return false;
  if (id == kAutoLanguageId) id = m_systemLanguage();
  const std::filesystem::path path = FileFor(id);
  std::error_code error;
  if (id == kAutoLanguageId || id == kEnglishLanguageId || !std::filesystem::exists(path, error)) {
    id = kEnglishLanguageId;
  }
  if (id == m_id) return false;
  if (id == kEnglishLanguageId) {
    SetLanguageTexts({});
    m_id = id;
    return true;
  }

  std::string content;
  std::map<int, std::string> texts;
  if (!ReadWholeFile(path, content) || !ParseLanguageFile(content, texts)) {
    return Failure(kTextLanguageLoadFailed, path);
  }
  if (const auto tag = texts.find(kTextLanguageTag); tag == texts.end() || tag->second != kLanguageTag) {
    return Failure(kTextLanguageVersionMismatch, path);
  }
  DropUnsafeFormats(texts);
  SetLanguageTexts(std::move(texts));
  m_id = id;
  return true;
}

int CAppLanguage::SystemLanguageId() {
  for (const QString& tag : QLocale::system().uiLanguages()) {
    if (const int id = LanguageIdForLocale(tag.toStdString())) return id;
  }
  return LanguageIdForLocale(QLocale::system().name().toStdString());
}

std::vector<LanguageChoice> ListLanguages(const std::filesystem::path& languageFolder) {
  std::set<int> ids;
  std::error_code error;
  for (std::filesystem::directory_iterator it(languageFolder, error), end; !error && it != end; it.increment(error)) {
    const int id = IdOfFileName(it->path().filename().string());
    if (id != 0 && id != kEnglishLanguageId && !LanguageDisplayName(id).empty()) ids.insert(id);
  }
  std::vector<LanguageChoice> choices;
  choices.push_back({kAutoLanguageId, LoadText(kTextAutoLanguage)});
  for (const int id : ids) choices.push_back({id, std::string(LanguageDisplayName(id))});
  choices.push_back({kEnglishLanguageId, std::string(LanguageDisplayName(kEnglishLanguageId))});
  return choices;
}

}  // namespace vantorel

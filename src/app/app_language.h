#pragma once
// The user-interface language of the run: which language file supplies the numbered texts, the
// switch to another one, and the list the language dialog offers.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/language_names.h"
#include "platform/status.h"

namespace vantorel {

inline constexpr int kAutoLanguageId = 0;

class CAppLanguage {
public:
  // `systemLanguage` gives the language ID of the user's desktop language (0 when unknown).
  explicit CAppLanguage(std::filesystem::path languageFolder,
                        std::function<int()> systemLanguage = SystemLanguageId);

  // 1033 = the built-in English texts.
  int Id() const { return m_id; }
  std::filesystem::path FileFor(int id) const;

  // 0 = the user's desktop language. A language without a file falls back to built-in English; a
  // file that cannot be read or carries the wrong tag leaves the current language in force and
  // says why (titled "Error"). True when the texts changed: menus and captions must be rebuilt.
  Expected<bool> SetLanguage(int id);

  // The user's desktop language as a language ID (0 when it is not in the name table).
  static int SystemLanguageId();

private:
  std::filesystem::path m_folder;
  std::function<int()> m_systemLanguage;
  int m_id = kEnglishLanguageId;
};

struct LanguageChoice {
  int id;
  std::string name;
};

// "Auto" (ID 0) first, then every "lang<digits>.lng" file of the folder whose ID has a display
// name (sorted by ID, English excluded), then English last.
std::vector<LanguageChoice> ListLanguages(const std::filesystem::path& languageFolder);

}  // namespace vantorel

// "language": the user-interface languages. "list" shows what the language dialog offers,
// "template" prints every built-in English text as a language file to translate, and "check"
// tells whether a language file will be used and which of its texts will not.

#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "app/app_language.h"
#include "app/english_texts.h"
#include "app/language_file.h"
#include "app/text_format.h"
#include "app/text_table.h"
#include "cli_command.h"
#include "platform/atomic_file.h"

namespace vantorel::cli {
namespace {

void ListChoices(const CliContext& context) {
  for (const LanguageChoice& choice : ListLanguages(context.folders.LanguageFolder())) {
    std::cout << choice.id << '\t' << choice.name << '\n';
  }
}

void PrintTemplate() {
  std::cout << "# Vantorel language file. Save it as language/lang<ID>.lng beside the program.\n"
            << kTextLanguageTag << '=' << kLanguageTag << '\n';
  for (const TextEntry& entry : EnglishTexts()) {
    if (entry.id != kTextLanguageTag && entry.text[0] != '\0') std::cout << entry.id << '=' << EscapeLanguageText(entry.text) << '\n';
  }
}

void Check(const std::string& file) {
  std::string content;
  std::map<int, std::string> texts;
  if (!ReadWholeFile(file, content) || !ParseLanguageFile(content, texts)) throw CliError(LoadText(kTextLanguageLoadFailed) + "\n" + file);
  if (const auto tag = texts.find(kTextLanguageTag); tag == texts.end() || tag->second != kLanguageTag) {
    throw CliError(LoadText(kTextLanguageVersionMismatch) + "\n\n" + file);
  }
  std::map<int, std::string> english;
  for (const TextEntry& entry : EnglishTexts()) {
    if (entry.text[0] != '\0') english.emplace(entry.id, entry.text);
  }
  int problems = 0;
  for (const auto& [id, text] : texts) {
    const auto original = english.find(id);
    if (original == english.end()) {
      std::cout << "text " << id << ": not a text of the program\n";
      ++problems;
    } else if (!SameFormatArguments(original->second, text)) {
      std::cout << "text " << id << ": its % conversions differ from the English text; English is shown instead\n";
      ++problems;
    }
  }
  int translated = 0;
  for (const auto& entry : english) {
    if (texts.contains(entry.first)) {
      ++translated;
    } else {
      std::cout << "text " << entry.first << ": not translated\n";
    }
  }
  std::cout << FormatText("%d of %d texts translated\n", translated, static_cast<int>(english.size()));
  if (problems > 0) throw CliError(FormatText("%d text%s of %s will not be used", problems, problems == 1 ? "" : "s", file.c_str()));
}

void SetUpLanguage(CLI::App& group, CliContext& context) {
  CLI::App* language = &group;
  language->add_subcommand("list", "List the languages the language dialog offers: ID and name")->callback([&context] {
    ListChoices(context);
  });
  language->add_subcommand("template", "Print every English text of the program as a language file to translate")
      ->callback(PrintTemplate);
  auto file = std::make_shared<std::string>();
  CLI::App* check = language->add_subcommand("check", "Check a language file: its tag, its texts and what is not translated");
  check->add_option("FILE", *file, "Language file")->required();
  check->callback([file] { Check(*file); });
}

const CliCommandGroup kGroup(90, "language", "User-interface languages and their files", SetUpLanguage);

}  // namespace
}  // namespace vantorel::cli

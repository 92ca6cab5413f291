#include <gtest/gtest.h>

#include "app/app_language.h"
#include "app/language_file.h"
#include "app/language_names.h"
#include "app/status_text.h"
#include "app/text_table.h"
#include "platform/atomic_file.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using test::TempFolder;

TEST(LanguageFile, AcceptedAndRefusedContent) {
  struct Case {
    const char* content;
    bool ok;
  };
  const Case cases[] = {
      {"", true},
      {"# only a comment\n\n", true},
      {"\xEF\xBB\xBF" "317=VANTOREL_010100\r\n205=Hinweis\r\n", true},
      {"205=a\\nb\\tc\\\\d", true},
      {"205=", true},
      {"205=x=y", true},
      {"205", false},           // no "="
      {"=x", false},            // no number
      {"20x=y", false},         // not a number
      {"-5=y", false},
      {"70000=y", false},       // beyond the text numbers
      {"205=a\\", false},       // escape at the end
      {"205=a\\q", false},      // unknown escape
      {"205=a\n205=b", false},  // the same number twice
      {"205=\xC3\x28", false},  // not UTF-8
      {" 205=x", false},
  };
  for (const auto& c : cases) {
    std::map<int, std::string> texts;
    EXPECT_EQ(ParseLanguageFile(c.content, texts), c.ok) << c.content;
  }
  std::map<int, std::string> texts;
  ASSERT_TRUE(ParseLanguageFile("\xEF\xBB\xBF" "317=VANTOREL_010100\r\n205=a\\nb\\tc\\\\d=e\n# 206=x\n", texts));
  EXPECT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[317], "VANTOREL_010100");
  EXPECT_EQ(texts[205], "a\nb\tc\\d=e");
  ASSERT_TRUE(ParseLanguageFile("1=" + EscapeLanguageText("x\\y\nz\t"), texts));
  EXPECT_EQ(texts[1], "x\\y\nz\t");
}

TEST(LanguageFile, FormatArgumentsMustMatch) {
  struct Case {
    const char* original;
    const char* translation;
    bool same;
  };
  const Case cases[] = {
      {"Total: %lld bytes, %ld files.", "Gesamt: %lld Bytes, %ld Dateien.", true},
      {"Total: %lld bytes, %ld files.", "Gesamt: %ld Dateien, %lld Bytes.", false},
      {"COM%d: %d", "COM%-3d: %5d", true},
      {"%d%%", "%d %%", true},
      {"%d", "%s", false},
      {"%d", "%d %d", false},
      {"plain", "%s", false},
      {"plain", "100%% sure", true},
      {"%*d", "%d", false},
      {"%s", "%", false},
  };
  for (const auto& c : cases) EXPECT_EQ(SameFormatArguments(c.original, c.translation), c.same) << c.translation;
}

TEST(LanguageNames, TableAndLocaleLookup) {
  const auto table = LanguageNameTable();
  EXPECT_EQ(table.size(), 133u);
  for (std::size_t i = 1; i < table.size(); ++i) EXPECT_LT(table[i - 1].id, table[i].id);
  EXPECT_EQ(LanguageDisplayName(1031), "German (Germany)");
  EXPECT_EQ(LanguageDisplayName(2052), "Chinese (Simplified, PRC)");
  EXPECT_EQ(LanguageDisplayName(12345), "");
  EXPECT_EQ(LanguageIdForLocale("de_DE"), 1031);
  EXPECT_EQ(LanguageIdForLocale("de-AT"), 3079);
  EXPECT_EQ(LanguageIdForLocale("de-LI"), 1031);  // same language, no exact entry
  EXPECT_EQ(LanguageIdForLocale("zh-CN"), 2052);
  EXPECT_EQ(LanguageIdForLocale("C"), 0);
  EXPECT_EQ(LanguageIdForLocale(""), 0);
}

class LanguageSwitchTest : public ::testing::Test {
protected:
  void TearDown() override { SetLanguageTexts({}); }
  void WriteLanguage(int id, const std::string& content) {
    ASSERT_TRUE(WriteFileAtomically(m_folder / ("lang" + std::to_string(id) + ".lng"), content));
  }
  TempFolder m_folder;
  int m_system = 1031;
  CAppLanguage m_language{m_folder.Path(), [this] { return m_system; }};
};

TEST_F(LanguageSwitchTest, SwitchRefusalsAndFallBack) {
  WriteLanguage(1031, "317=VANTOREL_010100\n205=Hinweis\n323=Gesamt: %s\n");
  WriteLanguage(1036, "317=VANTOREL_010000\n205=Invite\n");
  WriteLanguage(1040, "317=VANTOREL_010100\n205\n");

  EXPECT_EQ(m_language.Id(), 1033);
  Expected<bool> result = m_language.SetLanguage(1031);
  ASSERT_TRUE(result.ok());
  EXPECT_TRUE(*result);
  EXPECT_EQ(m_language.Id(), 1031);
  EXPECT_EQ(LoadText(kTextPrompt), "Hinweis");
  EXPECT_EQ(LoadText(kTextWarning), "Warning");  // not translated: English
  // A translation whose arguments differ from the English text is not used.
  EXPECT_EQ(LoadText(kTextTransferTotal), "Total: %lld bytes, %ld files.");

  EXPECT_FALSE(m_language.SetLanguage(1031).value());  // already in force

  // Wrong tag: refused with 318 and the path, titled "Error"; German stays.
  result = m_language.SetLanguage(1036);
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(StatusMessage(result.status()),
            "Language resource version mismatch, can't switch language. " + m_language.FileFor(1036).string());
  EXPECT_EQ(result.status().title(), kTextError);
  EXPECT_EQ(m_language.Id(), 1031);
  EXPECT_EQ(LoadText(kTextPrompt), "Hinweis");

  // Unreadable: 312 and the path.
  result = m_language.SetLanguage(1040);
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(StatusMessage(result.status()), "Fail to load language resource! " + m_language.FileFor(1040).string());
  EXPECT_EQ(m_language.Id(), 1031);

  // No file: built-in English.
  result = m_language.SetLanguage(1049);
  EXPECT_TRUE(result.ok());
  EXPECT_EQ(m_language.Id(), 1033);
  EXPECT_EQ(LoadText(kTextPrompt), "Prompt");

  // Automatic: the desktop's language.
  EXPECT_TRUE(m_language.SetLanguage(kAutoLanguageId).value());
  EXPECT_EQ(m_language.Id(), 1031);
  m_system = 0;
  EXPECT_TRUE(m_language.SetLanguage(kAutoLanguageId).value());
  EXPECT_EQ(m_language.Id(), 1033);
}

TEST_F(LanguageSwitchTest, LanguageList) {
  for (const char* name : {"lang1031.lng", "LANG2052.LNG", "lang0.lng", "lang12345.lng", "lang1033.lng",
                           "lang1036.dll", "langx.lng", "lang.lng", "lang1049.lng.bak", "lang 1040.lng"}) {
    ASSERT_TRUE(WriteFileAtomically(m_folder / name, "317=VANTOREL_010100\n"));
  }
  const auto choices = ListLanguages(m_folder.Path());
  std::vector<int> ids;
  for (const auto& choice : choices) ids.push_back(choice.id);
  EXPECT_EQ(ids, (std::vector<int>{0, 1031, 2052, 1033}));
  EXPECT_EQ(choices.front().name, "Auto");
  EXPECT_EQ(choices.back().name, "English (United States)");

  const auto onlyBuiltIn = ListLanguages(m_folder / "missing");
  ASSERT_EQ(onlyBuiltIn.size(), 2u);
}

TEST(ShippedLanguages, CarryTheTagAndEnglishArguments) {
  const std::filesystem::path folder = std::filesystem::path(VANTOREL_BIN_DIR) / "language";
  const auto choices = ListLanguages(folder);
  ASSERT_GE(choices.size(), 3u) << "no translation shipped in " << folder;
  for (const auto& choice : choices) {
    if (choice.id == kAutoLanguageId || choice.id == kEnglishLanguageId) continue;
    SCOPED_TRACE(choice.name);
    CAppLanguage language(folder);
    ASSERT_TRUE(language.SetLanguage(choice.id).ok());
    std::string content;
    ASSERT_TRUE(ReadWholeFile(language.FileFor(choice.id), content));
    std::map<int, std::string> texts;
    ASSERT_TRUE(ParseLanguageFile(content, texts));
    SetLanguageTexts({});
    for (const auto& [id, text] : texts) {
      std::string english;
      EXPECT_TRUE(LoadText(id, english) || id == 100) << "text " << id << " is not an English text";
      EXPECT_TRUE(SameFormatArguments(english, text)) << "text " << id;
    }
  }
}

}  // namespace
}  // namespace vantorel

#include "app/text_table.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "app/english_texts.h"
#include "app/text_format.h"

namespace vantorel {
namespace {

TEST(TextTable, BuiltInEnglishIsSortedAndUnique) {
  const auto table = EnglishTexts();
  ASSERT_FALSE(table.empty());
  for (std::size_t i = 1; i < table.size(); ++i) EXPECT_LT(table[i - 1].id, table[i].id) << table[i].id;
}

TEST(TextTable, KnownTextsUnknownIdsAndLanguageOverride) {
  struct Case {
    int id;
    const char* text;
  };
  const Case cases[] = {
      {205, "Prompt"},
      {206, "Warning"},
      {207, "Error"},
      {317, "VANTOREL_010100"},
      {251, "You can define maxinum %d LED screens."},
      {353, "Korvan screen ID duplicate, can't save."},
      {224, "Diffenent new passwords, please reenter."},
      {460, "Scroll up continuously)"},
      {319, "Fail to import for the screen properties recorded in playbill \nis different from current LED screen!"},
  };
  for (const auto& c : cases) {
    std::string text;
    EXPECT_TRUE(LoadText(c.id, text)) << c.id;
    EXPECT_EQ(text, c.text);
  }
  std::string text = "stale";
  EXPECT_FALSE(LoadText(100, text));  // has no text of its own
  EXPECT_EQ(text, "");
  EXPECT_FALSE(LoadText(99999, text));

  SetLanguageTexts({{205, "Hinweis"}});
  EXPECT_EQ(LoadText(kTextPrompt), "Hinweis");
  EXPECT_EQ(LoadText(kTextWarning), "Warning");  // falls back to English
  SetLanguageTexts({});
  EXPECT_EQ(LoadText(kTextPrompt), "Prompt");
}

// Workers look texts up while the user switches languages; under the sanitizer build a table
// replaced under a reader shows as a use after free.
TEST(TextTable, LookupsOnThreadsWhileTheLanguageChanges) {
  std::atomic<bool> stop = false;
  std::vector<std::thread> readers;
  for (int i = 0; i < 3; ++i) {
    readers.emplace_back([&stop] {
      while (!stop) {
        const std::string text = LoadText(kTextPrompt);
        if (text != "Prompt" && text != "Hinweis" && text != "提示") ADD_FAILURE() << text;
      }
    });
  }
  for (int i = 0; i < 2000; ++i) SetLanguageTexts({{kTextPrompt, i % 2 ? "Hinweis" : "提示"}});
  stop = true;
  for (std::thread& reader : readers) reader.join();
  SetLanguageTexts({});
  EXPECT_EQ(LoadText(kTextPrompt), "Prompt");
}

TEST(TextFormat, FormatsNumberedTexts) {
  EXPECT_EQ(FormatText(LoadText(kTextMaxScreens).c_str(), 520), "You can define maxinum 520 LED screens.");
  EXPECT_EQ(FormatText("%s[%d]", "Program", 3), "Program[3]");
  EXPECT_EQ(FormatText("%s", ""), "");
}

}  // namespace
}  // namespace vantorel

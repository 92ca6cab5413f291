#include "app/ini_file.h"

#include <gtest/gtest.h>

#include "app/options.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using test::TempFolder;

TEST(IniFile, ReadsFilesAsPeopleWriteThem) {
  const CIniFile ini = CIniFile::Parse(
      "\xEF\xBB\xBF; written by hand\r\n"
      "[option]\r\n"
      "  App Title = Shop, Main Street; Gate 2 \r\n"
      "About image=\"logo one.png\"\r\n"
      "Empty=\r\n"
      "App title=second, ignored\r\n"
      "[ Custom ]\r\n"
      "Default Effect=7\r\n"
      "# Default Text Mode=0\r\n"
      "[OPTION]\r\n"
      "Auto Shutdown=1\r\n");
  struct Row {
    const char* name;
    const char* section;
    const char* key;
    std::optional<std::string> value;
  };
  const Row rows[] = {
      {"commas, semicolons and blanks are plain text", "OPTION", "App title", "Shop, Main Street; Gate 2"},
      {"names compared without case", "Option", "APP TITLE", "Shop, Main Street; Gate 2"},
      {"quotes around a value go", "OPTION", "About image", "logo one.png"},
      {"an empty value is a value", "OPTION", "Empty", ""},
      {"blanks inside brackets", "CUSTOM", "Default Effect", "7"},
      {"commented key is absent", "CUSTOM", "Default Text Mode", std::nullopt},
      {"a repeated section adds its keys", "OPTION", "Auto Shutdown", "1"},
      {"missing section", "ENV", "Preview Show", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ini.Value(row.section, row.key), row.value);
  }
}

TEST(IniFile, WritingBackKeepsEverythingElse) {
  CIniFile ini = CIniFile::Parse(
      "; keep me\n"
      "[ENV]\n"
      "Preview Show=1\n"
      "\n"
      "[Vendor]\n"
      "Secret=a;b\n");
  ini.SetValue("env", "PREVIEW SHOW", "0");           // existing key keeps its spelling
  ini.SetValue("ENV", "Minimize to System Tray", "1");  // new key at the end of its section
  ini.SetValue("CUSTOM", "Extended ASCII Name", "Latin\nline");  // new section, one line
  EXPECT_EQ(ini.Text(),
            "; keep me\n"
            "[ENV]\n"
            "Preview Show=0\n"
            "Minimize to System Tray=1\n"
            "\n"
            "[Vendor]\n"
            "Secret=a;b\n"
            "[CUSTOM]\n"
            "Extended ASCII Name=Latin line\n");
  // A new file uses the classic CR LF line ends.
  CIniFile fresh;
  fresh.SetValue("OPTION", "Auto Shutdown", "1");
  EXPECT_EQ(fresh.Text(), "[OPTION]\r\nAuto Shutdown=1\r\n");
}

TEST(IniFile, OptionsAndBrandingReadTheClassicForm) {
  TempFolder folder;
  folder.Write("Vantorel.cfg", "[option]\r\napp title=Shop, Main Street\r\n");
  EXPECT_EQ(MainWindowCaption(ReadBranding(folder / "Vantorel.cfg")), "Shop, Main Street");

  folder.Write("Vantorel.ini", "[Vendor]\r\nKey=1\r\n[custom]\r\ndefault effect=12\r\n");
  AppOptions options = ReadOptions(folder / "Vantorel.ini");
  EXPECT_EQ(options.defaultEffect, 12);
  options.defaultEffect = 13;
  ASSERT_TRUE(WriteOptions(folder / "Vantorel.ini", options).ok());
  const std::string text = folder.Read("Vantorel.ini");
  EXPECT_NE(text.find("[Vendor]\r\nKey=1\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("default effect=13\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Minimize to System Tray=0\r\n"), std::string::npos) << text;  // no "%20"
  EXPECT_EQ(ReadOptions(folder / "Vantorel.ini"), options);
}

TEST(IniFile, AFileThatCannotBeReadIsNotWrittenOver) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "Vantorel.ini");  // a folder in place of the file
  const Status written = WriteOptions(folder / "Vantorel.ini", AppOptions{});
  EXPECT_FALSE(written.ok());
  EXPECT_NE(written.detail().find("Is a directory"), std::string::npos) << written.detail();
  EXPECT_TRUE(std::filesystem::is_directory(folder / "Vantorel.ini"));
  EXPECT_EQ(ReadOptions(folder / "Vantorel.ini"), AppOptions{});
}

}  // namespace
}  // namespace vantorel

#include "app/options.h"

#include <charconv>

#include "app/ini_file.h"
#include "app/text_table.h"

namespace vantorel {
namespace {

struct IntOption {
  const char* section;
  const char* key;
  int AppOptions::*field;
};

constexpr IntOption kIntOptions[] = {
    {"ENV", "Preview Show", &AppOptions::previewShow},
    {"ENV", "Preview Topmost", &AppOptions::previewTopmost},
    {"ENV", "Preview Align", &AppOptions::previewAlign},
    {"ENV", "Preview Zoom", &AppOptions::previewZoom},
    {"ENV", "Minimize to System Tray", &AppOptions::minimizeToTray},
    {"ENV", "Ledtool password", &AppOptions::ledtoolPassword},
    {"OPTION", "Auto Shutdown", &AppOptions::autoShutdown},
    {"OPTION", "Shutdown Time", &AppOptions::shutdownTime},
    {"CUSTOM", "Default Text Mode", &AppOptions::defaultTextMode},
    {"CUSTOM", "Default Text Size", &AppOptions::defaultTextSize},
    {"CUSTOM", "Default Effect", &AppOptions::defaultEffect},
    {"CUSTOM", "Default Clock Format", &AppOptions::defaultClockFormat},
    {"CUSTOM", "One Button Send", &AppOptions::oneButtonSend},
    {"CUSTOM", "Pack Program Files", &AppOptions::packProgramFiles},
    {"CUSTOM", "Convert Video", &AppOptions::convertVideo},
    {"CUSTOM", "Remove font smooth", &AppOptions::removeFontSmooth},
    {"CUSTOM", "Runsch Blank", &AppOptions::runschBlank},
};
constexpr const char* kCustom = "CUSTOM";
constexpr const char* kExtendedAsciiNameKey = "Extended ASCII Name";

// A settings file that cannot be read gives the defaults: the program still starts.
CIniFile ReadIni(const std::filesystem::path& file) { return CIniFile::Read(file).value_or(CIniFile()); }

// A whole decimal number, else `fallback`.
int IntValue(const CIniFile& ini, const char* section, const char* key, int fallback) {
  const std::optional<std::string> text = ini.Value(section, key);
  if (!text) return fallback;
  int value = 0;
  const char* end = text->data() + text->size();
  const auto [stop, error] = std::from_chars(text->data(), end, value);
  return error == std::errc() && stop == end && !text->empty() ? value : fallback;
}

// Changes the settings file in place: other sections and keys stay as they are. A file that exists
// but cannot be read is not written over.
Status UpdateIni(const std::filesystem::path& file, void (*change)(CIniFile&, const AppOptions&),
                 const AppOptions& options) {
  Expected<CIniFile> ini = CIniFile::Read(file);
  if (!ini) return ini.status();
  change(*ini, options);
  return ini->Write(file);
}

}  // namespace

AppOptions ReadOptions(const std::filesystem::path& settingsFile) {
  const CIniFile ini = ReadIni(settingsFile);
  AppOptions options;
  for (const auto& option : kIntOptions) {
    options.*option.field = IntValue(ini, option.section, option.key, options.*option.field);
  }
  options.extendedAsciiName = ini.Value(kCustom, kExtendedAsciiNameKey).value_or("");
  return options;
}

Status WriteOptions(const std::filesystem::path& settingsFile, const AppOptions& options) {
  return UpdateIni(settingsFile, [](CIniFile& ini, const AppOptions& values) {
    for (const auto& option : kIntOptions) ini.SetValue(option.section, option.key, std::to_string(values.*option.field));
    ini.SetValue(kCustom, kExtendedAsciiNameKey, values.extendedAsciiName);
  }, options);
}

Status WriteLedtoolPasswordOption(const std::filesystem::path& settingsFile, int value) {
  AppOptions options;
  options.ledtoolPassword = value;
  return UpdateIni(settingsFile, [](CIniFile& ini, const AppOptions& values) {
    ini.SetValue("ENV", "Ledtool password", std::to_string(values.ledtoolPassword));
  }, options);
}

std::string ExtendedAsciiName(const AppOptions& options) {
  return options.extendedAsciiName.empty() ? LoadText(kTextExtendedAscii) : options.extendedAsciiName;
}

Branding ReadBranding(const std::filesystem::path& brandingFile) {
  const CIniFile ini = ReadIni(brandingFile);
  Branding branding;
  branding.appTitle = ini.Value("OPTION", "App title").value_or("");
  branding.aboutImage = ini.Value("OPTION", "About image").value_or("");
  branding.aboutTitle = ini.Value("OPTION", "About title").value_or("");
  return branding;
}

std::string MainWindowCaption(const Branding& branding) {
  return branding.appTitle.empty() ? LoadText(kTextAppTitle) : branding.appTitle;
}

}  // namespace vantorel

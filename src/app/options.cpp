#include "app/options.h"

#include <QSettings>
#include <QString>

#include "app/text_table.h"

namespace vantorel {
namespace {

struct IntOption {
  const char* key;  // "SECTION/Key"
  int AppOptions::*field;
};

constexpr IntOption kIntOptions[] = {
    {"ENV/Preview Show", &AppOptions::previewShow},
    {"ENV/Preview Topmost", &AppOptions::previewTopmost},
    {"ENV/Preview Align", &AppOptions::previewAlign},
    {"ENV/Preview Zoom", &AppOptions::previewZoom},
    {"ENV/Minimize to System Tray", &AppOptions::minimizeToTray},
    {"ENV/Ledtool password", &AppOptions::ledtoolPassword},
    {"OPTION/Auto Shutdown", &AppOptions::autoShutdown},
    {"OPTION/Shutdown Time", &AppOptions::shutdownTime},
    {"CUSTOM/Default Text Mode", &AppOptions::defaultTextMode},
    {"CUSTOM/Default Text Size", &AppOptions::defaultTextSize},
    {"CUSTOM/Default Effect", &AppOptions::defaultEffect},
    {"CUSTOM/Default Clock Format", &AppOptions::defaultClockFormat},
    {"CUSTOM/One Button Send", &AppOptions::oneButtonSend},
    {"CUSTOM/Pack Program Files", &AppOptions::packProgramFiles},
    {"CUSTOM/Convert Video", &AppOptions::convertVideo},
    {"CUSTOM/Remove font smooth", &AppOptions::removeFontSmooth},
    {"CUSTOM/Runsch Blank", &AppOptions::runschBlank},
};
constexpr const char* kExtendedAsciiNameKey = "CUSTOM/Extended ASCII Name";
constexpr const char* kLedtoolPasswordKey = "ENV/Ledtool password";

QSettings OpenIni(const std::filesystem::path& file) {
  return QSettings(QString::fromStdString(file.string()), QSettings::IniFormat);
}

int ReadInt(const QSettings& settings, const char* key, int fallback) {
  bool ok = false;
  const int value = settings.value(QString::fromLatin1(key)).toString().trimmed().toInt(&ok);
  return ok ? value : fallback;
}

std::string ReadString(const QSettings& settings, const char* key) {
  return settings.value(QString::fromLatin1(key)).toString().toStdString();
}

bool Flush(QSettings& settings) {
  settings.sync();
  return settings.status() == QSettings::NoError;
}

}  // namespace

AppOptions ReadOptions(const std::filesystem::path& settingsFile) {
  const QSettings settings = OpenIni(settingsFile);
  AppOptions options;
  for (const auto& option : kIntOptions) {
    options.*option.field = ReadInt(settings, option.key, options.*option.field);
  }
  options.extendedAsciiName = ReadString(settings, kExtendedAsciiNameKey);
  return options;
}

bool WriteOptions(const std::filesystem::path& settingsFile, const AppOptions& options) {
  QSettings settings = OpenIni(settingsFile);
  for (const auto& option : kIntOptions) settings.setValue(QString::fromLatin1(option.key), options.*option.field);
  settings.setValue(QString::fromLatin1(kExtendedAsciiNameKey), QString::fromStdString(options.extendedAsciiName));
  return Flush(settings);
}

bool WriteLedtoolPasswordOption(const std::filesystem::path& settingsFile, int value) {
  QSettings settings = OpenIni(settingsFile);
  settings.setValue(QString::fromLatin1(kLedtoolPasswordKey), value);
  return Flush(settings);
}

std::string ExtendedAsciiName(const AppOptions& options) {
  return options.extendedAsciiName.empty() ? LoadText(kTextExtendedAscii) : options.extendedAsciiName;
}

Branding ReadBranding(const std::filesystem::path& brandingFile) {
  Branding branding;
  if (!std::filesystem::exists(brandingFile)) return branding;
  const QSettings settings = OpenIni(brandingFile);
  branding.appTitle = ReadString(settings, "OPTION/App title");
  branding.aboutImage = ReadString(settings, "OPTION/About image");
  branding.aboutTitle = ReadString(settings, "OPTION/About title");
  return branding;
}

std::string MainWindowCaption(const Branding& branding) {
  return branding.appTitle.empty() ? LoadText(kTextAppTitle) : branding.appTitle;
}

}  // namespace vantorel

#include "app/user_settings.h"

#include <QByteArray>
#include <QSettings>
#include <QString>

namespace vantorel {
namespace {

QString Key(const char* section, const char* name) {
  return QString::fromLatin1(section) + QLatin1Char('/') + QString::fromLatin1(name);
}

}  // namespace

CUserSettings::CUserSettings() : m_settings(std::make_unique<QSettings>(QStringLiteral("OrvikSoft"), QStringLiteral("Vantorel"))) {}

CUserSettings::~CUserSettings() = default;

SharedSettings CUserSettings::ReadShared() const {
  const auto read = [this](const char* name, int fallback) {
    bool ok = false;
    const int value = m_settings->value(Key("Settings", name)).toInt(&ok);
    return ok ? value : fallback;
  };
  SharedSettings shared;
  shared.autoPort = read("Auto port", shared.autoPort);
  shared.serialPort = read("Serial port", shared.serialPort);
  shared.openFilePreview = read("OpenFilePreview", shared.openFilePreview);
  shared.previewPages = read("PreviewPages", shared.previewPages);
  return shared;
}

std::optional<int> CUserSettings::Language() const {
  bool ok = false;
  const int value = m_settings->value(Key("Settings", "Language")).toInt(&ok);
  return ok ? std::optional<int>(value) : std::nullopt;
}

void CUserSettings::SetLanguage(int languageId) {
  m_settings->setValue(Key("Settings", "Language"), languageId);
  m_settings->sync();
}

std::optional<std::vector<std::uint8_t>> CUserSettings::ReadBinary(const char* name) const {
  const QVariant value = m_settings->value(Key("User", name));
  if (!value.isValid()) return std::nullopt;
  const QByteArray bytes = value.toByteArray();
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

void CUserSettings::WriteBinary(const char* name, const std::vector<std::uint8_t>& bytes) {
  m_settings->setValue(Key("User", name),
                       QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
  m_settings->sync();
}

}  // namespace vantorel

#pragma once
// The per-user settings store: QSettings("OrvikSoft", "Vantorel"), section "Settings" for the
// communication defaults and the chosen language, section "User" for the password blocks.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QSettings;

namespace vantorel {

struct SharedSettings {
  int autoPort = 1;         // choose the serial port automatically
  int serialPort = 1;       // serial port number
  int openFilePreview = 0;  // preview in the file-open dialog
  int previewPages = 0;
};

class CUserSettings {
public:
  CUserSettings();
  ~CUserSettings();
  CUserSettings(const CUserSettings&) = delete;
  CUserSettings& operator=(const CUserSettings&) = delete;

  SharedSettings ReadShared() const;
  // 0 = automatic; nullopt when the user never picked a language.
  std::optional<int> Language() const;
  void SetLanguage(int languageId);

  // A binary value of section "User"; nullopt when missing.
  std::optional<std::vector<std::uint8_t>> ReadBinary(const char* name) const;
  void WriteBinary(const char* name, const std::vector<std::uint8_t>& bytes);

private:
  std::unique_ptr<QSettings> m_settings;
};

}  // namespace vantorel

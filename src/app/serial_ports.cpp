#include "app/serial_ports.h"

#include "app/ini_file.h"
#include "app/text_format.h"

namespace vantorel {

CSerialPortTable::CSerialPortTable() {
  for (int i = 0; i < kSerialPortCount; ++i) m_paths[static_cast<std::size_t>(i)] = FormatText("/dev/ttyS%d", i);
}

CSerialPortTable CSerialPortTable::FromSettingsFile(const std::filesystem::path& settingsFile) {
  CSerialPortTable table;
  const CIniFile ini = CIniFile::Read(settingsFile).value_or(CIniFile());
  for (int i = 0; i < kSerialPortCount; ++i) {
    const std::optional<std::string> path = ini.Value("SERIAL", FormatText("COM%d", i + 1));
    if (path && !path->empty()) table.m_paths[static_cast<std::size_t>(i)] = *path;
  }
  return table;
}

std::string CSerialPortTable::DevicePath(int portIndex) const {
  if (portIndex < 0 || portIndex >= kSerialPortCount) return {};
  return m_paths[static_cast<std::size_t>(portIndex)];
}

}  // namespace vantorel

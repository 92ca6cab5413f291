#pragma once
// The serial ports a screen names: "COM1" .. "COM99" (port index 0 .. 98) stand for device paths.
// COMn is /dev/ttyS<n-1>, the classic numbering, unless the settings file maps it to another
// device such as a USB adapter or a pseudo-terminal:
//   [SERIAL]
//   COM3=/dev/ttyUSB0

#include <array>
#include <filesystem>
#include <string>

namespace vantorel {

inline constexpr int kSerialPortCount = 99;

class CSerialPortTable {
public:
  // The table of the settings file; a missing or unreadable file gives the classic numbering.
  static CSerialPortTable FromSettingsFile(const std::filesystem::path& settingsFile);
  CSerialPortTable();

  // The device of port `portIndex` (0 = COM1); empty for an index outside 0 .. 98.
  std::string DevicePath(int portIndex) const;

private:
  std::array<std::string, kSerialPortCount> m_paths;
};

}  // namespace vantorel

#pragma once
// Which device a serial port index of a screen opens (0 = COM1). Three layers, the later ones
// winning:
//   1. the base table: COMn is /dev/ttyS<n-1>, or a CSerialPortTable given with UseSerialPortTable
//      (the [SERIAL] section of the settings file, app/serial_ports.h);
//   2. the environment variable VANTOREL_SERIAL_PORTS, read on first use:
//      VANTOREL_SERIAL_PORTS="0=/dev/pts/5,1=/dev/ttyUSB0" (index=path, separated by commas);
//   3. SetSerialDevicePath, for tests and the command line (an empty path removes the override).
//
// One table for the process, behind a mutex: every call may come from several threads at once.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/serial_ports.h"

namespace vantorel {

inline constexpr const char* kSerialPortsVariable = "VANTOREL_SERIAL_PORTS";

// The device of port `portIndex`; empty for an index outside 0 .. 98.
std::string SerialDevicePath(int portIndex);
void SetSerialDevicePath(int portIndex, std::string path);
void UseSerialPortTable(const CSerialPortTable& table);
// Back to the classic numbering with the environment's overrides (tests).
void ResetSerialPortTable();

// Reads "0=/dev/pts/5,1=/dev/ttyUSB0": nothing when an entry has no "=", an index outside
// 0 .. 98 or an empty path. Blanks around entries are ignored; an empty text gives no entries.
std::optional<std::vector<std::pair<int, std::string>>> ParseSerialPortOverrides(std::string_view text);

}  // namespace vantorel

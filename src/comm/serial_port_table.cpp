#include "comm/serial_port_table.h"

#include <array>
#include <cstdlib>
#include <mutex>

namespace vantorel {
namespace {

struct Table {
  std::mutex mutex;
  bool loaded = false;
  std::array<std::string, kSerialPortCount> base;
  std::array<std::string, kSerialPortCount> environment;
  std::array<std::string, kSerialPortCount> explicitPaths;
};

Table& TheTable() {
  static Table table;
  return table;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

void LoadLocked(Table& table) {
  if (table.loaded) return;
  table.loaded = true;
  const CSerialPortTable classic;
  for (int i = 0; i < kSerialPortCount; ++i) table.base[static_cast<std::size_t>(i)] = classic.DevicePath(i);
  const char* variable = std::getenv(kSerialPortsVariable);
  if (variable == nullptr) return;
  const auto overrides = ParseSerialPortOverrides(variable);
  if (!overrides) return;  // a malformed variable changes nothing
  for (const auto& [index, path] : *overrides) table.environment[static_cast<std::size_t>(index)] = path;
}

}  // namespace

std::optional<std::vector<std::pair<int, std::string>>> ParseSerialPortOverrides(std::string_view text) {
  std::vector<std::pair<int, std::string>> entries;
  while (!Trim(text).empty()) {
    const std::size_t comma = text.find(',');
    const std::string_view entry = Trim(text.substr(0, comma));
    text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    if (entry.empty()) continue;
    const std::size_t equals = entry.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view number = Trim(entry.substr(0, equals));
    const std::string_view path = Trim(entry.substr(equals + 1));
    if (number.empty() || number.size() > 2 || path.empty()) return std::nullopt;
    int index = 0;
    for (const char c : number) {
      if (c < '0' || c > '9') return std::nullopt;
      index = index * 10 + (c - '0');
    }
    if (index >= kSerialPortCount) return std::nullopt;
    entries.emplace_back(index, std::string(path));
  }
  return entries;
}

std::string SerialDevicePath(int portIndex) {
  if (portIndex < 0 || portIndex >= kSerialPortCount) return {};
  Table& table = TheTable();
  const std::lock_guard lock(table.mutex);
  LoadLocked(table);
  const auto i = static_cast<std::size_t>(portIndex);
  if (!table.explicitPaths[i].empty()) return table.explicitPaths[i];
  if (!table.environment[i].empty()) return table.environment[i];
  return table.base[i];
}

void SetSerialDevicePath(int portIndex, std::string path) {
  if (portIndex < 0 || portIndex >= kSerialPortCount) return;
  Table& table = TheTable();
  const std::lock_guard lock(table.mutex);
  LoadLocked(table);
  table.explicitPaths[static_cast<std::size_t>(portIndex)] = std::move(path);
}

void UseSerialPortTable(const CSerialPortTable& ports) {
  Table& table = TheTable();
  const std::lock_guard lock(table.mutex);
  LoadLocked(table);
  for (int i = 0; i < kSerialPortCount; ++i) table.base[static_cast<std::size_t>(i)] = ports.DevicePath(i);
}

void ResetSerialPortTable() {
  Table& table = TheTable();
  const std::lock_guard lock(table.mutex);
  table.loaded = false;
  table.explicitPaths = {};
  table.environment = {};
  LoadLocked(table);
}

}  // namespace vantorel

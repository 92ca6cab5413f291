// Settings files are written by hand and by older installations: any bytes must parse, and what
// is written back must read back with the same values.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vantorel::CIniFile;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CIniFile ini = CIniFile::Parse(bytes);
  const auto before = ini.Value("OPTION", "App title");
  ini.SetValue("CUSTOM", "Default Effect", "7");
  const CIniFile again = CIniFile::Parse(ini.Text());
  if (again.Value("CUSTOM", "Default Effect") != std::optional<std::string>("7")) std::abort();
  if (again.Value("OPTION", "App title") != before) std::abort();
  return 0;
}

#pragma once
// A fresh folder under $TMPDIR (or /tmp) for one test, removed with everything in it at the end.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantorel::test {

class TempFolder {
public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return m_path; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return m_path / name; }

  // Write `name` (folders below are made) and hand back its path; a failure fails the test.
  std::filesystem::path Write(const std::filesystem::path& name, std::string_view text) const;
  std::filesystem::path WriteBytes(const std::filesystem::path& name, std::span<const std::uint8_t> bytes) const;
  std::string Read(const std::filesystem::path& name) const;
  std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& name) const;

private:
  std::filesystem::path m_path;
};

}  // namespace vantorel::test

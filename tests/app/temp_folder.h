#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the end.

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

namespace vantorel::testing {

class TempFolder {
public:
  TempFolder() {
    static std::atomic<int> counter{0};
    m_path = std::filesystem::temp_directory_path() /
             ("vantorel-app-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return m_path / name; }

private:
  std::filesystem::path m_path;
};

}  // namespace vantorel::testing

#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>

#include "support/test_files.h"

namespace vantorel::test {

TempFolder::TempFolder() {
  // The test's name shows whose folder a leftover is; the counter keeps two folders of one test apart.
  static std::atomic<int> counter{0};
  std::string name = "vantorel-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info()) {
    name += std::string("-") + info->test_suite_name() + "-" + info->name();
  }
  for (char& c : name) {
    if (c == '/') c = '_';  // parameterised tests carry slashes in their names
  }
  m_path = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove_all(m_path);
  std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

std::filesystem::path TempFolder::Write(const std::filesystem::path& name, std::string_view text) const {
  WriteText(m_path / name, text);
  return m_path / name;
}

std::filesystem::path TempFolder::WriteBytes(const std::filesystem::path& name,
                                             std::span<const std::uint8_t> bytes) const {
  test::WriteBytes(m_path / name, bytes);
  return m_path / name;
}

std::string TempFolder::Read(const std::filesystem::path& name) const { return ReadText(m_path / name); }

std::vector<std::uint8_t> TempFolder::ReadBytes(const std::filesystem::path& name) const {
  return test::ReadBytes(m_path / name);
}

}  // namespace vantorel::test

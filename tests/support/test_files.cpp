#include "support/test_files.h"

#include <gtest/gtest.h>

#include "platform/atomic_file.h"

namespace vantorel::test {

std::string ReadText(const std::filesystem::path& file) {
  std::string text;
  const Status status = ReadWholeFile(file, text);
  EXPECT_TRUE(status) << "cannot read " << file << ": " << status.detail();
  return text;
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file) {
  const std::string text = ReadText(file);
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

void WriteText(const std::filesystem::path& file, std::string_view text) {
  WriteBytes(file, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void WriteBytes(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
  std::error_code ignored;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ignored);
  const Status status = WriteFileAtomically(file, bytes);
  EXPECT_TRUE(status) << "cannot write " << file << ": " << status.detail();
}

}  // namespace vantorel::test

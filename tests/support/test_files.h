#pragma once
// Whole files read and written in one call. A file that cannot be read or written fails the
// running test with the system's reason, so that two unreadable files never compare equal quietly.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantorel::test {

std::string ReadText(const std::filesystem::path& file);
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file);
// Folders on the way are made.
void WriteText(const std::filesystem::path& file, std::string_view text);
void WriteBytes(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);

}  // namespace vantorel::test

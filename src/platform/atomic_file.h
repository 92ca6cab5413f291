#pragma once
// Writing a file so that a crash, a full disk or a killed process never leaves it half written:
// the new content goes to a temporary file in the same folder, is flushed to disk, and only then
// replaces the old file by a rename.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace vantorel {

// Returns false (and leaves any existing file untouched) when the file cannot be written.
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view text);

// Reads a whole file; returns false when it cannot be opened or read.
bool ReadWholeFile(const std::filesystem::path& path, std::string& content);

}  // namespace vantorel

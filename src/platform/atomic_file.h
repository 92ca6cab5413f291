#pragma once
// Writing a file so that a crash, a full disk or a killed process never leaves it half written:
// the new content goes to a temporary file in the same folder, is flushed to disk, and only then
// replaces the old file by a rename.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace vantorel {

// A failure (with the system's reason and the path) leaves any existing file untouched.
Status WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
Status WriteFileAtomically(const std::filesystem::path& path, std::string_view text);

// Reads a whole regular file; a failure says why (missing, a folder, unreadable).
Status ReadWholeFile(const std::filesystem::path& path, std::string& content);
// Reads at most `maxBytes` from the start of a regular file (a huge file is not read whole).
Status ReadFileStart(const std::filesystem::path& path, std::size_t maxBytes, std::string& content);

}  // namespace vantorel

#pragma once
// MD5 digests as 32 lower-case hexadecimal characters: the content digest of the video
// conversion record, and of program files. MD5 tells contents apart; it is not used where an
// attacker could choose the content.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace vantorel {

inline constexpr std::size_t kMd5HexLength = 32;

std::string Md5Hex(std::span<const std::uint8_t> bytes);
std::string Md5Hex(std::string_view text);

// The digest of a regular file, read in blocks (a large video is never held in memory). A missing
// or unreadable file fails with the system's reason and the path.
Expected<std::string> Md5HexOfFile(const std::filesystem::path& file);

}  // namespace vantorel

#pragma once
// The user's passwords (startup, administrator, advanced) in their stored 36-byte form: the
// password XOR a fixed key table, filler bytes from the C library's generator, a key byte, the
// length and a checksum. An all-zero block means "no password" (startup password only).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantorel {

inline constexpr std::size_t kPasswordBlockSize = 36;
inline constexpr std::size_t kMaxPasswordLength = 32;
using PasswordBlock = std::array<std::uint8_t, kPasswordBlockSize>;

inline constexpr const char* kDefaultAdminPassword = "50731";
inline constexpr const char* kDefaultAdvancedPassword = "61427";
// The old password the startup-password dialog asks for while no startup password is set.
inline constexpr const char* kInitialStartupPassword = "73085";

// Block of `text` (cut to 32 bytes). A new block draws its key byte from the text itself; a block
// made to verify uses `keyByte` (32..63) from the stored block.
PasswordBlock EncodePassword(std::string_view text, bool newBlock, std::uint8_t keyByte = 0);

// Whether `typed` produces exactly `stored`, using the stored key byte.
bool CheckPassword(std::string_view typed, const PasswordBlock& stored);

// The clear text of `stored` (handed to the tool plug-ins, which check passwords themselves).
std::string DecodePassword(const PasswordBlock& stored);

bool IsEmptyPasswordBlock(const PasswordBlock& block);

}  // namespace vantorel

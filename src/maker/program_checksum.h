#pragma once
// The 16-bit checksum a program file carries at offset 46: the most-significant-bit-first CRC
// table of the polynomial 0x1021 (T[1] = 0x1021) combined with the least-significant-bit-first
// update crc = (crc >> 8) ^ T[(crc ^ byte) & 0xFF], starting at 0, no final XOR. "abc" gives
// 0xC390, "123456789" 0xB955. It is not CRC-16/XMODEM nor KERMIT: the controller expects exactly
// this mixture.
//
// Pure functions, safe on any thread.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include "platform/status.h"

namespace vantorel {

// A file is read back for its checksum in pieces of this size.
inline constexpr std::size_t kChecksumPieceBytes = 102400;

// Continues from `crc`, so that a file can be summed piece by piece.
std::uint16_t ProgramChecksum(std::span<const std::uint8_t> bytes, std::uint16_t crc = 0);

// The checksum of a whole file, read in kChecksumPieceBytes pieces; a file that cannot be read
// fails with the system's reason and its path.
Expected<std::uint16_t> ChecksumOfFile(const std::filesystem::path& file);

}  // namespace vantorel

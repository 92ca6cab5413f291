#pragma once
// The CRC-16 of every packet and of the file transfer's packet groups: polynomial 0x1021, bits
// taken most significant first, no reflection, no final XOR. Seeded with 0xFFFF it is the CRC
// known as CRC-16/CCITT-FALSE ("123456789" gives 0x29B1). Because nothing is applied at the end,
// a CRC over several pieces equals the CRC over the pieces joined: each call continues from the
// value the previous one gave.

#include <cstdint>
#include <span>

namespace vantorel {

inline constexpr std::uint16_t kCrcSeed = 0xFFFF;

std::uint16_t Crc16(std::uint16_t seed, std::span<const std::uint8_t> data);

}  // namespace vantorel

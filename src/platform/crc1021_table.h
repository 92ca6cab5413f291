#pragma once
// The 256-entry table of the CRC polynomial 0x1021, bits taken most significant first
// (T[1] = 0x1021, T[2] = 0x2042): the packets' CRC-16 and the program files' checksum both look
// bytes up in it, each with its own update.
//
// A constant: safe on any thread.

#include <array>
#include <cstdint>

namespace vantorel {

constexpr std::array<std::uint16_t, 256> MakeCrc1021Table() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned byte = 0; byte < 256; ++byte) {
    unsigned crc = byte << 8;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000u) != 0 ? (crc << 1) ^ 0x1021u : crc << 1;
    table[byte] = static_cast<std::uint16_t>(crc);
  }
  return table;
}

inline constexpr std::array<std::uint16_t, 256> kCrc1021Table = MakeCrc1021Table();
static_assert(kCrc1021Table[1] == 0x1021 && kCrc1021Table[2] == 0x2042);

}  // namespace vantorel

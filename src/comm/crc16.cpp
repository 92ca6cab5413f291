#include "comm/crc16.h"

#include "platform/crc1021_table.h"

namespace vantorel {

std::uint16_t Crc16(std::uint16_t seed, std::span<const std::uint8_t> data) {
  std::uint16_t crc = seed;
  for (const std::uint8_t byte : data) {
    crc = static_cast<std::uint16_t>((crc << 8) ^ kCrc1021Table[((crc >> 8) ^ byte) & 0xFF]);
  }
  return crc;
}

}  // namespace vantorel

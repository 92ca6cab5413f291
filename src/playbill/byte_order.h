#pragma once
// Integers of byte-exact files: playbill records and rich-text blocks are little-endian, the run
// schedule sent to controllers is big-endian. Every reader and writer goes through these.

#include <cstdint>
#include <span>
#include <vector>

namespace vantorel {

// The first two or four bytes of `bytes`; the caller makes sure they are there.
inline std::uint16_t ReadU16Le(std::span<const std::uint8_t> bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

inline std::uint32_t ReadU32Le(std::span<const std::uint8_t> bytes) {
  return static_cast<std::uint32_t>(ReadU16Le(bytes)) | (static_cast<std::uint32_t>(ReadU16Le(bytes.subspan(2))) << 16);
}

inline void StoreU16Le(std::span<std::uint8_t> bytes, std::uint16_t value) {
  bytes[0] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void StoreU32Le(std::span<std::uint8_t> bytes, std::uint32_t value) {
  StoreU16Le(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
  StoreU16Le(bytes.subspan(2), static_cast<std::uint16_t>(value >> 16));
}

inline void AppendU16Le(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void AppendU16Be(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

}  // namespace vantorel

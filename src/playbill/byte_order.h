#pragma once
// Integers of byte-exact files: playbill records and rich-text blocks are little-endian, the run
// schedule sent to controllers is big-endian.

#include <cstdint>
#include <vector>

#include "platform/byte_reader.h"
#include "platform/byte_writer.h"

namespace vantorel {

inline void AppendU16Le(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void AppendU16Be(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

}  // namespace vantorel

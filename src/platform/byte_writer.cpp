#include "platform/byte_writer.h"

namespace vantorel {

void ByteWriter::U16Le(std::uint16_t value) {
  U8(static_cast<std::uint8_t>(value & 0xFF));
  U8(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::U32Le(std::uint32_t value) {
  U16Le(static_cast<std::uint16_t>(value & 0xFFFF));
  U16Le(static_cast<std::uint16_t>(value >> 16));
}

void ByteWriter::U16Be(std::uint16_t value) {
  U8(static_cast<std::uint8_t>(value >> 8));
  U8(static_cast<std::uint8_t>(value & 0xFF));
}

void ByteWriter::U32Be(std::uint32_t value) {
  U16Be(static_cast<std::uint16_t>(value >> 16));
  U16Be(static_cast<std::uint16_t>(value & 0xFFFF));
}

void ByteWriter::PatchU16Le(std::size_t offset, std::uint16_t value) {
  if (offset > m_bytes.size() || m_bytes.size() - offset < 2) {
    m_failed = true;
    return;
  }
  StoreU16Le(std::span<std::uint8_t>(m_bytes).subspan(offset), value);
}

void ByteWriter::PatchU32Le(std::size_t offset, std::uint32_t value) {
  if (offset > m_bytes.size() || m_bytes.size() - offset < 4) {
    m_failed = true;
    return;
  }
  StoreU32Le(std::span<std::uint8_t>(m_bytes).subspan(offset), value);
}

void StoreU16Le(std::span<std::uint8_t> bytes, std::uint16_t value) {
  if (bytes.size() < 2) return;
  bytes[0] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[1] = static_cast<std::uint8_t>(value >> 8);
}

void StoreU32Le(std::span<std::uint8_t> bytes, std::uint32_t value) {
  if (bytes.size() < 4) return;
  StoreU16Le(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
  StoreU16Le(bytes.subspan(2), static_cast<std::uint16_t>(value >> 16));
}

}  // namespace vantorel

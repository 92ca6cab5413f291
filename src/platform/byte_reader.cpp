#include "platform/byte_reader.h"

namespace vantorel {

const std::uint8_t* ByteReader::Take(std::size_t count) {
  if (m_failed) return nullptr;
  if (count > Remaining()) {
    m_failed = true;
    m_failedAt = m_offset;
    m_wanted = count;
    return nullptr;
  }
  const std::uint8_t* at = m_bytes.data() + m_offset;
  m_offset += count;
  return at;
}

std::uint8_t ByteReader::U8() {
  const std::uint8_t* p = Take(1);
  return p ? p[0] : 0;
}

std::uint16_t ByteReader::U16Le() {
  const std::uint8_t* p = Take(2);
  return p ? static_cast<std::uint16_t>(p[0] | (p[1] << 8)) : 0;
}

std::uint32_t ByteReader::U32Le() {
  const std::uint8_t* p = Take(4);
  if (!p) return 0;
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t ByteReader::U16Be() {
  const std::uint8_t* p = Take(2);
  return p ? static_cast<std::uint16_t>((p[0] << 8) | p[1]) : 0;
}

std::uint32_t ByteReader::U32Be() {
  const std::uint8_t* p = Take(4);
  if (!p) return 0;
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

std::span<const std::uint8_t> ByteReader::Bytes(std::size_t count) {
  const std::uint8_t* p = Take(count);
  return p ? std::span<const std::uint8_t>(p, count) : std::span<const std::uint8_t>();
}

void ByteReader::Seek(std::size_t offset) {
  if (m_failed) return;
  if (offset > m_bytes.size()) {
    m_failed = true;
    m_failedAt = offset;
    m_wanted = 0;
    return;
  }
  m_offset = offset;
}

std::string ByteReader::Where() const {
  if (!m_failed) return {};
  if (m_wanted == 0) return "offset " + std::to_string(m_failedAt) + " beyond the end (" + std::to_string(Size()) + " bytes)";
  const std::size_t left = m_failedAt <= Size() ? Size() - m_failedAt : 0;
  return "offset " + std::to_string(m_failedAt) + ": " + std::to_string(m_wanted) + " bytes wanted, " +
         std::to_string(left) + " left";
}

}  // namespace vantorel

#pragma once
// Writing byte-exact formats: integers in either byte order appended to a growing buffer, and
// fields patched in place once their value is known (a size written before the data it counts).
// A patch outside the bytes written so far is refused and makes ok() false.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace vantorel {

class ByteWriter {
public:
  ByteWriter() = default;
  explicit ByteWriter(std::size_t reserve) { m_bytes.reserve(reserve); }

  void U8(std::uint8_t value) { m_bytes.push_back(value); }
  void U16Le(std::uint16_t value);
  void U32Le(std::uint32_t value);
  void U16Be(std::uint16_t value);
  void U32Be(std::uint32_t value);
  void Bytes(std::span<const std::uint8_t> bytes) { m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end()); }
  void Text(std::string_view text) { m_bytes.insert(m_bytes.end(), text.begin(), text.end()); }
  // `count` bytes of `value`.
  void Fill(std::size_t count, std::uint8_t value = 0) { m_bytes.insert(m_bytes.end(), count, value); }

  void PatchU16Le(std::size_t offset, std::uint16_t value);
  void PatchU32Le(std::size_t offset, std::uint32_t value);

  std::size_t Size() const { return m_bytes.size(); }
  bool ok() const { return !m_failed; }
  const std::vector<std::uint8_t>& View() const { return m_bytes; }
  std::vector<std::uint8_t> Take() && { return std::move(m_bytes); }

private:
  std::vector<std::uint8_t> m_bytes;
  bool m_failed = false;
};

// Storing a little-endian integer into a fixed-size record (a span shorter than the integer is
// left as it is).
void StoreU16Le(std::span<std::uint8_t> bytes, std::uint16_t value);
void StoreU32Le(std::span<std::uint8_t> bytes, std::uint32_t value);

}  // namespace vantorel

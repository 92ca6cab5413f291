#pragma once
// Reading byte-exact formats (playbill blocks, font files, pictures, controller files, packets)
// without ever reading outside the bytes at hand. Every read that does not fit sets a sticky
// failure and returns zeros (or an empty span); later reads fail too, so a parser may read a whole
// record and check ok() once at the end.
//
//   ByteReader in(bytes);
//   const std::uint32_t size = in.U32Le();
//   const auto body = in.Bytes(size);
//   if (!in.ok()) return Status::Failure(kTextFailed, in.Where());

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vantorel {

class ByteReader {
public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

  std::uint8_t U8();
  std::uint16_t U16Le();
  std::uint32_t U32Le();
  std::uint16_t U16Be();
  std::uint32_t U32Be();
  std::int16_t I16Le() { return static_cast<std::int16_t>(U16Le()); }
  std::int32_t I32Le() { return static_cast<std::int32_t>(U32Le()); }

  // The next `count` bytes, or an empty span (and a failure) when fewer are left.
  std::span<const std::uint8_t> Bytes(std::size_t count);
  // A reader of the next `count` bytes; the rest of this reader starts after them.
  ByteReader Sub(std::size_t count) { return ByteReader(Bytes(count)); }
  void Skip(std::size_t count) { Bytes(count); }
  // Moves to `offset` from the start; past the end is a failure.
  void Seek(std::size_t offset);

  bool ok() const { return !m_failed; }
  std::size_t Offset() const { return m_offset; }
  std::size_t Size() const { return m_bytes.size(); }
  std::size_t Remaining() const { return m_bytes.size() - m_offset; }
  bool AtEnd() const { return m_offset == m_bytes.size(); }
  // Where the first failed read was, for a failure's detail: "offset 20: 4 bytes wanted, 2 left".
  std::string Where() const;

private:
  // The next `count` bytes as a pointer, or null after a failure.
  const std::uint8_t* Take(std::size_t count);

  std::span<const std::uint8_t> m_bytes;
  std::size_t m_offset = 0;
  bool m_failed = false;
  std::size_t m_failedAt = 0;
  std::size_t m_wanted = 0;
};

// Reading a little-endian integer out of a fixed-size record whose size the caller has checked
// (a span shorter than the integer gives 0, never a read outside it).
inline std::uint16_t ReadU16Le(std::span<const std::uint8_t> bytes) { return ByteReader(bytes).U16Le(); }
inline std::uint32_t ReadU32Le(std::span<const std::uint8_t> bytes) { return ByteReader(bytes).U32Le(); }

}  // namespace vantorel

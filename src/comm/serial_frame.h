#pragma once
// The frame that carries a packet over a serial line, a GPRS DTU and a relay server with GPRS on
// board (protocol kinds 0 and 3): 0xA5, the packet with every byte 0xA0-0xAF sent as 0xAA and
// its low nibble, 0xAE. The body of a frame therefore never holds a raw byte 0xA0-0xAF, and
// 0xA5 / 0xAE always mean start and end. Both the program and the controller side use these.
//
// Nothing here is shared between threads; a SerialFrameDecoder belongs to one reader.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace vantorel {

inline constexpr std::uint8_t kFrameStart = 0xA5;
inline constexpr std::uint8_t kFrameEnd = 0xAE;
inline constexpr std::uint8_t kFrameEscape = 0xAA;

// True for the bytes 0xA0-0xAF, which are escaped inside a frame.
constexpr bool IsFrameReserved(std::uint8_t byte) { return (byte & 0xF0) == 0xA0; }

// The size of the frame that carries `body`: start, escaped body, end.
std::size_t FramedSize(std::span<const std::uint8_t> body);
// Writes the frame of `body` into `out`; returns its size, or 0 when it does not fit.
std::size_t EncodeFrame(std::span<const std::uint8_t> body, std::span<std::uint8_t> out);
std::vector<std::uint8_t> EncodeFrame(std::span<const std::uint8_t> body);

enum class FrameError {
  kNone,
  kNoStart,       // no 0xA5 within the decoder's capacity of bytes
  kNoEnd,         // the bytes ended (or the capacity was reached) before 0xAE
  kBadEscape,     // 0xAA followed by a byte above 0x0F
  kRawReserved,   // a raw 0xA0-0xAF byte (other than start, end, escape) inside the frame
  kTrailing,      // bytes after 0xAE where one whole frame was expected
};

std::string_view FrameErrorName(FrameError error);

// Decodes one whole frame: `in` holds exactly one frame (bytes before its 0xA5 are noise and
// skipped; a later 0xA5 restarts the frame). The body goes to `body` (replaced).
FrameError DecodeFrame(std::span<const std::uint8_t> in, std::vector<std::uint8_t>& body,
                       std::size_t capacity);

// Decodes frames from a byte stream read in pieces. It keeps at most `capacity` body bytes and
// skips at most `capacity` bytes of noise before a start: an endless stream without 0xAE (or
// without 0xA5) ends in an error instead of growing.
class SerialFrameDecoder {
public:
  enum class State { kNeedMore, kFrame, kError };

  explicit SerialFrameDecoder(std::size_t capacity) : m_capacity(capacity) { m_body.reserve(capacity); }

  // Reads bytes from `in` until a frame is complete or an error is found; `consumed` says how
  // many bytes of `in` were used (the rest belongs to the next frame). After kFrame the body is
  // in Body() until the next Feed; after kError, Error() says why and the next Feed starts over.
  State Feed(std::span<const std::uint8_t> in, std::size_t& consumed);

  std::span<const std::uint8_t> Body() const { return m_body; }
  FrameError Error() const { return m_error; }
  void Reset();

private:
  State Fail(FrameError error);

  std::size_t m_capacity;
  std::vector<std::uint8_t> m_body;
  bool m_inFrame = false;
  bool m_escaped = false;
  bool m_done = false;
  std::size_t m_noise = 0;
  FrameError m_error = FrameError::kNone;
};

}  // namespace vantorel

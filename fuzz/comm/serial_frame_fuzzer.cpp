// Bytes off a serial line into the frame decoder, fed in pieces: the decoder never holds more
// than its capacity, every frame it gives framed again decodes to the same body, and any bytes
// framed decode back to themselves.
//
// Input: byte 0 picks the capacity, byte 1 the piece size, the rest is the stream.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "comm/serial_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  if (size < 2) return 0;
  const std::size_t capacity = data[0];
  const std::size_t piece = data[1] % 32 + 1;
  const std::span<const std::uint8_t> stream(data + 2, size - 2);

  SerialFrameDecoder decoder(capacity);
  std::size_t at = 0;
  while (at < stream.size()) {
    std::size_t consumed = 0;
    const auto in = stream.subspan(at, std::min(piece, stream.size() - at));
    const SerialFrameDecoder::State state = decoder.Feed(in, consumed);
    if (consumed > in.size() || (consumed == 0 && !in.empty())) std::abort();
    at += consumed;
    if (decoder.Body().size() > capacity) std::abort();
    if (state == SerialFrameDecoder::State::kFrame) {
      const std::vector<std::uint8_t> body(decoder.Body().begin(), decoder.Body().end());
      std::vector<std::uint8_t> again;
      if (DecodeFrame(EncodeFrame(body), again, capacity) != FrameError::kNone || again != body) std::abort();
    }
  }

  const std::vector<std::uint8_t> framed = EncodeFrame(stream);
  std::vector<std::uint8_t> back;
  if (DecodeFrame(framed, back, stream.size()) != FrameError::kNone) std::abort();
  if (!std::equal(back.begin(), back.end(), stream.begin(), stream.end())) std::abort();
  for (std::size_t i = 1; i + 1 < framed.size(); ++i) {
    if (framed[i] == kFrameStart || framed[i] == kFrameEnd) std::abort();
  }
  return 0;
}

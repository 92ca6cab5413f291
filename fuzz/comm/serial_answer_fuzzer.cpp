// The serial channel's receive path (ReceiveAnswer with a SerialAnswerReader, as CCommRs232 reads
// its port) over bytes read in pieces: an answer never passes the buffer, every answer is a frame
// body (framed again, it decodes to itself), the stream is consumed and the reading ends.
//
// Input: byte 0 picks the buffer's capacity, byte 1 the size of each read, the rest is the stream.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "comm/answer_readers.h"
#include "comm/serial_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  if (size < 2) return 0;
  const std::size_t capacity = std::size_t{data[0]} * 4;
  const std::size_t piece = data[1] % 64 + 1;
  const std::span<const std::uint8_t> stream(data + 2, size - 2);

  SerialAnswerReader reader;
  std::size_t at = 0;
  std::size_t reads = 0;
  const auto read = [&](int /*timeoutMs*/) -> Expected<std::span<const std::uint8_t>> {
    ++reads;
    const auto chunk = stream.subspan(at, std::min(piece, stream.size() - at));
    at += chunk.size();
    return chunk;
  };
  for (int answer = 0; answer <= static_cast<int>(stream.size()); ++answer) {
    std::vector<std::uint8_t> buffer(capacity);  // exactly the capacity: ASan sees any overrun
    Status failure;
    const int received = ReceiveAnswer(reader, read, 60000, buffer, "fuzz", failure);
    if (received < 0 || static_cast<std::size_t>(received) > capacity) std::abort();
    if (received == 0 && failure.ok() && capacity != 0) std::abort();
    // What came is a frame's body: framed again it decodes to itself within the capacity.
    const std::vector<std::uint8_t> body(buffer.begin(), buffer.begin() + received);
    std::vector<std::uint8_t> again;
    if (received > 0 && (DecodeFrame(EncodeFrame(body), again, capacity) != FrameError::kNone || again != body)) {
      std::abort();
    }
    if (reads > stream.size() + 2 * static_cast<std::size_t>(answer) + 2) std::abort();  // no endless reading
    if (at == stream.size() && received == 0) break;
  }
  return 0;
}

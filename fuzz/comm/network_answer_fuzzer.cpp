// The network channel's rest-of-packet receive (ReceiveAnswer with a NetworkAnswerReader, as
// CCommLan reads its socket) over bytes read in pieces: an answer is exactly the packet the length
// at bytes 4-5 says, taken from where the stream stands, never more than the buffer; a length
// beyond the buffer fails without copying.
//
// Input: bytes 0-1 pick the buffer's capacity, byte 2 the size of each read, the rest is the
// stream.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "comm/answer_readers.h"
#include "comm/packet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  if (size < 3) return 0;
  const std::size_t capacity = (std::size_t{data[0]} | std::size_t{data[1]} << 8) % 4096;
  const std::size_t piece = data[2] % 128 + 1;
  const std::span<const std::uint8_t> stream(data + 3, size - 3);

  NetworkAnswerReader reader;
  std::size_t at = 0;
  std::size_t answered = 0;  // where the next answer starts in the stream
  const auto read = [&](int /*timeoutMs*/) -> Expected<std::span<const std::uint8_t>> {
    const auto chunk = stream.subspan(at, std::min(piece, stream.size() - at));
    at += chunk.size();
    return chunk;
  };
  for (;;) {
    std::vector<std::uint8_t> buffer(capacity);  // exactly the capacity: ASan sees any overrun
    const std::vector<std::uint8_t> before = buffer;
    Status failure;
    const int received = ReceiveAnswer(reader, read, 60000, buffer, "fuzz", failure);
    if (received < 0 || static_cast<std::size_t>(received) > capacity) std::abort();
    if (received == 0) {
      if (buffer != before) std::abort();  // a failed receive copies nothing
      break;
    }
    const auto total = PacketTotalLength(stream.subspan(answered));
    if (!total || *total != static_cast<std::size_t>(received)) std::abort();
    if (std::memcmp(buffer.data(), stream.data() + answered, *total) != 0) std::abort();
    answered += *total;
    if (answered > at) std::abort();
  }
  return 0;
}

#pragma once
// Putting one answer together out of the pieces a transport's reads give, without trusting any
// length the peer sends: the serial line's frames (serial_frame.h) and the network's packets
// (the 16-bit length at bytes 4-5 plus 8, packet.h). An answer never grows past the capacity it
// was begun with; bytes after a complete answer are kept for the next one (a controller that
// answers with several packets, such as the directory listing, may send them back to back).
//
// A reader belongs to one channel and one thread at a time.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "comm/serial_frame.h"
#include "platform/status.h"

namespace vantorel {

enum class AnswerState { kNeedMore, kDone, kFailed };

// Frames: 0xA5 starts (and restarts) an answer, 0xAE ends it, 0xAA escapes the next byte. A frame
// whose body would pass the capacity, or noise longer than the capacity before 0xA5, fails.
class SerialAnswerReader {
public:
  // Starts the next answer of at most `capacity` body bytes. Call Feed({}) first to read what
  // was kept from the previous one.
  void Begin(std::size_t capacity);
  AnswerState Feed(std::span<const std::uint8_t> chunk);
  // The frame body after kDone (valid until the next Begin or Feed).
  std::span<const std::uint8_t> Answer() const;
  std::size_t KeptSize() const { return m_kept.size(); }
  void DropKept() { m_kept.clear(); }

private:
  std::optional<SerialFrameDecoder> m_decoder;
  std::vector<std::uint8_t> m_kept;
  bool m_done = false;
};

// Network packets: once 6 bytes are at hand, the packet's total size is known; a total above the
// capacity fails at once (and everything kept is dropped, as the stream can no longer be
// followed), else the answer is complete when that many bytes came.
class NetworkAnswerReader {
public:
  void Begin(std::size_t capacity);
  AnswerState Feed(std::span<const std::uint8_t> chunk);
  std::span<const std::uint8_t> Answer() const;
  std::size_t KeptSize() const { return m_bytes.size() - m_answerLength; }
  void DropKept();

private:
  AnswerState Check();

  std::size_t m_capacity = 0;
  std::vector<std::uint8_t> m_bytes;
  std::size_t m_answerLength = 0;   // the answer at the front of m_bytes after kDone
};

// One answer into `buffer`: begins `reader` with the buffer's capacity, feeds it what was kept and
// then what `read(timeoutMs)` gives (Expected<std::span<const std::uint8_t>>; an empty span: nothing
// came in time) until the answer is complete or fails, all within `timeoutMs` counted over the
// whole answer. The answer's size, or 0 with `failure` saying why (`what` names the medium).
template <typename Reader, typename Read>
int ReceiveAnswer(Reader& reader, Read read, int timeoutMs, std::span<std::uint8_t> buffer, const std::string& what,
                  Status& failure) {
  if (buffer.empty()) return 0;
  reader.Begin(buffer.size());
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  AnswerState state = reader.Feed({});
  while (state == AnswerState::kNeedMore) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      failure = Status::Failure(kNoTextId, what + ": no complete answer within " + std::to_string(timeoutMs) + " ms");
      return 0;
    }
    const Expected<std::span<const std::uint8_t>> chunk = read(static_cast<int>(left.count()));
    if (!chunk) {
      failure = chunk.status();
      return 0;
    }
    if (chunk->empty()) {
      failure = Status::Failure(kNoTextId, what + ": no answer within " + std::to_string(timeoutMs) + " ms");
      return 0;
    }
    state = reader.Feed(*chunk);
  }
  if (state == AnswerState::kFailed) {
    failure = Status::Failure(kNoTextId, what + ": the answer is not one whole packet of at most " +
                                             std::to_string(buffer.size()) + " bytes");
    return 0;
  }
  const auto answer = reader.Answer();
  if (answer.empty()) {
    failure = Status::Failure(kNoTextId, what + ": an empty answer");
    return 0;
  }
  const std::size_t n = answer.size() < buffer.size() ? answer.size() : buffer.size();
  for (std::size_t i = 0; i < n; ++i) buffer[i] = answer[i];
  return static_cast<int>(n);
}

}  // namespace vantorel

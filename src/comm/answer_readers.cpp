#include "comm/answer_readers.h"

#include "comm/packet.h"

namespace vantorel {

void SerialAnswerReader::Begin(std::size_t capacity) {
  m_decoder.emplace(capacity);
  m_done = false;
}

AnswerState SerialAnswerReader::Feed(std::span<const std::uint8_t> chunk) {
  if (!m_decoder) return AnswerState::kFailed;
  if (m_done) return AnswerState::kDone;
  // What was kept from the previous answer comes before the new bytes.
  std::vector<std::uint8_t> bytes;
  std::span<const std::uint8_t> in = chunk;
  if (!m_kept.empty()) {
    bytes = std::move(m_kept);
    m_kept.clear();
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    in = bytes;
  }
  if (in.empty()) return AnswerState::kNeedMore;
  std::size_t consumed = 0;
  switch (m_decoder->Feed(in, consumed)) {
    case SerialFrameDecoder::State::kNeedMore:
      return AnswerState::kNeedMore;
    case SerialFrameDecoder::State::kFrame:
      m_kept.assign(in.begin() + static_cast<std::ptrdiff_t>(consumed), in.end());
      m_done = true;
      return AnswerState::kDone;
    case SerialFrameDecoder::State::kError:
      break;
  }
  m_kept.clear();
  return AnswerState::kFailed;
}

std::span<const std::uint8_t> SerialAnswerReader::Answer() const {
  if (!m_decoder || !m_done) return {};
  return m_decoder->Body();
}

void NetworkAnswerReader::Begin(std::size_t capacity) {
  m_bytes.erase(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(m_answerLength));
  m_answerLength = 0;
  m_capacity = capacity;
}

AnswerState NetworkAnswerReader::Feed(std::span<const std::uint8_t> chunk) {
  if (m_answerLength != 0) return AnswerState::kDone;
  m_bytes.insert(m_bytes.end(), chunk.begin(), chunk.end());
  return Check();
}

AnswerState NetworkAnswerReader::Check() {
  const auto total = PacketTotalLength(m_bytes);
  if (!total) return AnswerState::kNeedMore;
  if (*total > m_capacity || *total < kPacketMinSize) {
    DropKept();
    return AnswerState::kFailed;
  }
  if (m_bytes.size() < *total) return AnswerState::kNeedMore;
  m_answerLength = *total;
  return AnswerState::kDone;
}

std::span<const std::uint8_t> NetworkAnswerReader::Answer() const {
  return std::span<const std::uint8_t>(m_bytes).first(m_answerLength);
}

void NetworkAnswerReader::DropKept() {
  m_bytes.clear();
  m_answerLength = 0;
}

}  // namespace vantorel

#include "comm/serial_frame.h"

namespace vantorel {

std::size_t FramedSize(std::span<const std::uint8_t> body) {
  std::size_t size = 2;
  for (const std::uint8_t byte : body) size += IsFrameReserved(byte) ? 2 : 1;
  return size;
}

std::size_t EncodeFrame(std::span<const std::uint8_t> body, std::span<std::uint8_t> out) {
  const std::size_t size = FramedSize(body);
  if (size > out.size()) return 0;
  std::size_t at = 0;
  out[at++] = kFrameStart;
  for (const std::uint8_t byte : body) {
    if (IsFrameReserved(byte)) {
      out[at++] = kFrameEscape;
      out[at++] = static_cast<std::uint8_t>(byte & 0x0F);
    } else {
      out[at++] = byte;
    }
  }
  out[at++] = kFrameEnd;
  return at;
}

std::vector<std::uint8_t> EncodeFrame(std::span<const std::uint8_t> body) {
  std::vector<std::uint8_t> out(FramedSize(body));
  EncodeFrame(body, out);
  return out;
}

std::string_view FrameErrorName(FrameError error) {
  switch (error) {
    case FrameError::kNone: return "none";
    case FrameError::kNoStart: return "no frame start";
    case FrameError::kNoEnd: return "no frame end";
    case FrameError::kBadEscape: return "bad escape";
    case FrameError::kRawReserved: return "raw reserved byte";
    case FrameError::kTrailing: return "bytes after the frame";
  }
  return "unknown";
}

FrameError DecodeFrame(std::span<const std::uint8_t> in, std::vector<std::uint8_t>& body,
                       std::size_t capacity) {
  SerialFrameDecoder decoder(capacity);
  std::size_t consumed = 0;
  const SerialFrameDecoder::State state = decoder.Feed(in, consumed);
  if (state == SerialFrameDecoder::State::kError) return decoder.Error();
  if (state == SerialFrameDecoder::State::kNeedMore) return decoder.Error() == FrameError::kNone ? FrameError::kNoEnd : decoder.Error();
  if (consumed != in.size()) return FrameError::kTrailing;
  body.assign(decoder.Body().begin(), decoder.Body().end());
  return FrameError::kNone;
}

void SerialFrameDecoder::Reset() {
  m_body.clear();
  m_inFrame = false;
  m_escaped = false;
  m_done = false;
  m_noise = 0;
  m_error = FrameError::kNone;
}

SerialFrameDecoder::State SerialFrameDecoder::Fail(FrameError error) {
  m_error = error;
  m_body.clear();
  m_inFrame = false;
  m_escaped = false;
  m_done = true;
  m_noise = 0;
  return State::kError;
}

SerialFrameDecoder::State SerialFrameDecoder::Feed(std::span<const std::uint8_t> in, std::size_t& consumed) {
  if (m_done) Reset();
  consumed = 0;
  while (consumed < in.size()) {
    const std::uint8_t byte = in[consumed++];
    if (byte == kFrameStart) {  // a start (again): the frame restarts
      m_body.clear();
      m_inFrame = true;
      m_escaped = false;
      m_noise = 0;
      continue;
    }
    if (!m_inFrame) {
      if (++m_noise > m_capacity) return Fail(FrameError::kNoStart);
      continue;
    }
    if (m_escaped) {
      if (byte > 0x0F) return Fail(FrameError::kBadEscape);
      m_escaped = false;
      if (m_body.size() >= m_capacity) return Fail(FrameError::kNoEnd);
      m_body.push_back(static_cast<std::uint8_t>(0xA0 | byte));
      continue;
    }
    if (byte == kFrameEnd) {
      m_inFrame = false;
      m_done = true;
      return State::kFrame;
    }
    if (byte == kFrameEscape) {
      m_escaped = true;
      continue;
    }
    if (IsFrameReserved(byte)) return Fail(FrameError::kRawReserved);
    if (m_body.size() >= m_capacity) return Fail(FrameError::kNoEnd);
    m_body.push_back(byte);
  }
  return State::kNeedMore;
}

}  // namespace vantorel

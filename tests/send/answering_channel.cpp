#include "answering_channel.h"

#include <algorithm>

#include "comm/sign_protocol.h"

namespace vantorel::test {

namespace {

SignIdentity Identity() {
  SignIdentity sign;
  sign.kind = kKindNetwork;
  return sign;
}

}  // namespace

AnsweringChannel::AnsweringChannel(ChannelLog& log) : CUniComm(kChannelNetwork, 255), m_log(log) { ++m_log.created; }

bool AnsweringChannel::Open() {
  if (!m_log.opens) return false;
  ++m_openCount;
  ++m_log.openCount;
  ++m_log.opened;
  return true;
}

void AnsweringChannel::Close() {
  if (m_openCount == 0) return;
  --m_openCount;
  --m_log.openCount;
}

bool AnsweringChannel::Send(std::span<const std::uint8_t> bytes) {
  m_pending.clear();
  const RequestDecode decoded = DecodeRequest(Identity(), bytes);
  if (decoded.refusal != Refusal::kNone) return true;  // sent, never answered
  m_log.requests.push_back(decoded.request);
  const auto found = m_log.answers.find(decoded.request.operation);
  if (found == m_log.answers.end()) return true;
  m_pending = EncodeAnswer(Identity(), decoded.request, found->second.status, found->second.data);
  return true;
}

int AnsweringChannel::Receive(std::span<std::uint8_t> buffer) {
  const std::size_t count = std::min(buffer.size(), m_pending.size());
  std::copy_n(m_pending.begin(), count, buffer.begin());
  m_pending.clear();
  return static_cast<int>(count);
}

std::function<std::unique_ptr<CUniComm>(tagCommParam&)> AnsweringChannels(ChannelLog& log) {
  return [&log](tagCommParam&) -> std::unique_ptr<CUniComm> { return std::make_unique<AnsweringChannel>(log); };
}

}  // namespace vantorel::test

#include "comm/comm_pending.h"

#include "app/status_text.h"
#include "app/text_ids.h"
#include "comm/packet.h"

namespace vantorel {

CCommPending::CCommPending(std::uint8_t kind, TextId text, std::string detail)
    : CUniComm(kind, kBroadcastAddress), m_why(Status::Failure(text, std::move(detail))) {}

bool CCommPending::Open() {
  SetFailure(m_why);
  return false;
}

std::string CCommPending::GetErrorText() const { return StatusMessage(m_why); }

bool CCommPending::Send(std::span<const std::uint8_t> /*bytes*/) {
  SetFailure(m_why);
  return false;
}

int CCommPending::Receive(std::span<std::uint8_t> /*buffer*/) { return 0; }

int CCommPending::BlockSize() const {
  return m_kind == kChannelRelayNetwork || m_kind == kChannelRelayGprs ? 1000 : CUniComm::BlockSize();
}

int CCommPending::PacketSize() const {
  return m_kind == kChannelRelayNetwork || m_kind == kChannelRelayGprs ? 1000 : CUniComm::PacketSize();
}

int CCommPending::PacketPause() const {
  if (m_kind == kChannelRelayNetwork) return 26;
  if (m_kind == kChannelRelayGprs) return 500;
  return CUniComm::PacketPause();
}

}  // namespace vantorel

#include "comm/comm_lan.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

#include "app/text_format.h"
#include "app/text_ids.h"
#include "app/text_table.h"
#include "comm/connection_slots.h"
#include "comm/packet.h"
#include "comm/probe.h"
#include "screen/comm_types.h"
#include "screen/controller_types.h"

namespace vantorel {
namespace {

constexpr std::uint16_t kModeProtected = 0x0002;
constexpr std::uint16_t kModeCustomPassword = 0x8000;
constexpr std::uint16_t kOptionOffAtClose = 0x0001;
constexpr std::uint16_t kOptionOnAtOpen = 0x0002;

void Pause(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

bool SkipsNetworkProbe(std::uint32_t modelCode) { return modelCode >= kModelM1 && modelCode <= kModelM5; }

CCommLan::CCommLan(std::uint32_t ipv4, std::uint32_t idCode, std::uint16_t port, std::string customPassword,
                   std::string fileServiceUser, std::string fileServicePassword)
    : CUniComm(kChannelNetwork, kBroadcastAddress),
      m_ipv4(ipv4),
      m_idCode(idCode),
      m_port(port),
      m_customPassword(std::move(customPassword)),
      m_fileServiceUser(std::move(fileServiceUser)),
      m_fileServicePassword(std::move(fileServicePassword)) {
  m_pauseMs = 2;
}

CCommLan::~CCommLan() {
  if (m_openCount > 0) {
    m_openCount = 1;
    Close();
  }
}

std::string CCommLan::GetErrorText() const {
  return FormatText(LoadText(kTextFailedToConnect).c_str(), FormatDottedQuad(m_ipv4).c_str(), static_cast<int>(m_port));
}

bool CCommLan::Probe() {
  m_keyText.clear();
  if (SkipsNetworkProbe(m_modelCode)) {
    m_protectOptions = m_protectMode = m_protectModeAtConnect = 1;
    return true;
  }
  std::array<char, 512> text{};
  const int length = KVLINK_GetInfo(m_ipv4, text, m_port, m_timeouts.probeMs);
  if (length <= 0) {
    // No answer (or no probe possible): the defaults, and the connection goes on.
    m_protectOptions = m_protectMode = m_protectModeAtConnect = 1;
    return true;
  }
  const std::string_view line(text.data(), std::min<std::size_t>(static_cast<std::size_t>(length), text.size()));
  const std::optional<ProbeInfo> info = ReadProbeLine(line);
  if (!info) {
    SetFailure(Status::Failure(kTextProbeAnswerRefused, std::string(line.substr(0, 64))));
    return false;
  }
  m_keyText = info->keyText;
  m_protectOptions = info->options;
  m_protectMode = info->mode;
  m_protectModeAtConnect = info->mode;
  return true;
}

bool CCommLan::Connect() {
  const std::optional<int> slot = ConnectionSlots::Instance().Take();
  if (!slot) {
    SetFailure(Status::Failure(kTextNoConnectionSlot, std::to_string(ConnectionSlots::kSlotCount)));
    return false;
  }
  Pause(m_timeouts.pauseMs);
  Expected<TcpSocket> socket = TcpSocket::Connect(m_ipv4, m_port, m_timeouts.connectMs);
  if (!socket) {
    ConnectionSlots::Instance().Release(*slot);
    SetFailure(socket.status());
    return false;
  }
  m_socket = std::move(*socket);
  m_socket.SetTimeouts(m_timeouts.sendMs, m_timeouts.receiveMs);
  m_slot = *slot;
  ConnectionSlots::Instance().Record(m_slot, m_socket.Descriptor(), m_ipv4, m_port, m_idCode);
  m_reader.DropKept();
  Pause(m_timeouts.pauseMs);
  return true;
}

void CCommLan::Disconnect() {
  m_socket.Shutdown();
  m_socket.Close();
  if (m_slot >= 0) ConnectionSlots::Instance().Release(m_slot);
  m_slot = -1;
  m_reader.DropKept();
}

bool CCommLan::Open() {
  if (m_openCount > 0) {
    ++m_openCount;
    return true;
  }
  if (!Probe() || !Connect()) return false;
  m_openCount = 1;
  if ((m_protectOptions & kOptionOnAtOpen) != 0 && (m_protectMode & kModeProtected) == 0) {
    if (AuthCommand(kAuthProtectOn, {})) {
      m_protectMode = kModeProtected;
      m_customPassword.clear();
    }
  }
  return true;
}

void CCommLan::Close() {
  if (m_openCount == 0) return;
  if (--m_openCount > 0) return;
  if ((m_protectOptions & kOptionOffAtClose) != 0 && (m_protectModeAtConnect & kModeProtected) == 0 &&
      (m_protectMode & kModeProtected) != 0 && (m_protectMode & kModeCustomPassword) == 0) {
    if (AuthCommand(kAuthProtectOff, {})) m_protectMode = kModeUnprotected;
  }
  Disconnect();
  // The file-service connection joins here once the file service exists.
}

void CCommLan::ConfigureContext(KvlinkContext& ctx) const {
  if ((m_protectMode & kModeProtected) != 0) {
    KVLINK_CommData_SetParam(ctx, 1, m_keyText);
    if ((m_protectMode & kModeCustomPassword) != 0) {
      KVLINK_CommData_SetParam(ctx, 2, std::to_string(kModeKeyTextAndPassword));
      KVLINK_CommData_SetParam(ctx, 3, m_customPassword);
    } else {
      KVLINK_CommData_SetParam(ctx, 2, std::to_string(kModeKeyText));
    }
  } else {
    KVLINK_CommData_SetParam(ctx, 1, "");
    KVLINK_CommData_SetParam(ctx, 2, std::to_string(kModeUnprotected));
  }
}

bool CCommLan::Send(std::span<const std::uint8_t> bytes) {
  if (!m_socket.IsOpen()) {
    SetFailure(Status::Failure(kTextFailed, "the network channel is not connected"));
    return false;
  }
  // Bytes left over from an earlier answer belong to no request that follows.
  m_reader.DropKept();
  const Status status = m_socket.SendAll(bytes);
  if (!status) {
    ConnectionSlots::Instance().MarkBroken(m_slot);
    SetFailure(status);
    return false;
  }
  return true;
}

int CCommLan::Receive(std::span<std::uint8_t> buffer) {
  if (!m_socket.IsOpen()) return 0;
  std::array<std::uint8_t, 2048> chunk{};
  const auto read = [&](int timeoutMs) -> Expected<std::span<const std::uint8_t>> {
    const Expected<std::size_t> got = m_socket.Receive(chunk, timeoutMs);
    if (!got) return got.status();
    return std::span<const std::uint8_t>(chunk).first(*got);
  };
  Status failure;
  const int received = ReceiveAnswer(m_reader, read, m_timeouts.receiveMs, buffer, "TCP", failure);
  // A controller leaves a request with another password than its own unanswered.
  if (received == 0) {
    SetFailure((m_protectMode & kModeCustomPassword) != 0 ? failure.WithText(kTextProtectedNoAnswer) : failure);
  }
  return received;
}

}  // namespace vantorel

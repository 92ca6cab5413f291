#pragma once
// The network channel: a controller reached over TCP at its IPv4 address and port. Packets go as
// they are; an answer's size is the 16-bit length at bytes 4-5 plus 8.
//
// The first Open probes the controller (KVLINK_GetInfo to the screen's port over UDP): the models
// Korvan-M1 to Korvan-M5 are not probed (options 1, mode 1); no answer gives the same defaults;
// an answer that is not a probe line of ours ("KV~:" ...) fails the open. Then it takes one of
// the 256 connection slots (connection_slots.h), connects (5,000 ms limit, send and receive
// time-outs 45,000 ms, pauses of 50 ms before and after) and, when the controller asks for it
// (options bit 1) and is not protected yet (mode bit 1), switches protection on with the default
// password. The last Close switches it off again when the controller asks for that (options bit
// 0), it was not protected at connection and was protected by us with the default password.
//
// A channel is used by one thread at a time.

#include <cstdint>
#include <optional>
#include <string>

#include "comm/answer_readers.h"
#include "comm/uni_comm.h"
#include "platform/tcp_socket.h"

namespace vantorel {

struct LanTimeouts {
  int connectMs = 5000;
  int sendMs = 45000;
  int receiveMs = 45000;
  int probeMs = 1000;   // the probe's wait for its answer
  int pauseMs = 50;     // before and after connecting
};

// Whether `modelCode` is one of Korvan-M1 .. Korvan-M5, which are never probed.
bool SkipsNetworkProbe(std::uint32_t modelCode);

class CCommLan : public CUniComm {
public:
  CCommLan(std::uint32_t ipv4, std::uint32_t idCode, std::uint16_t port, std::string customPassword,
           std::string fileServiceUser, std::string fileServicePassword);
  ~CCommLan() override;

  bool Open() override;
  void Close() override;
  // Protection parameters: with mode bit 1 the key text and "32770" plus the custom password
  // (mode bit 15) or "2"; without it an empty key text and "1".
  void ConfigureContext(KvlinkContext& ctx) const override;
  std::uint32_t ContextIdCode() const override { return m_idCode; }
  // "Failed to connect <dotted address> : <port>".
  std::string GetErrorText() const override;
  bool IsNetwork() const override { return true; }
  bool Send(std::span<const std::uint8_t> bytes) override;
  int Receive(std::span<std::uint8_t> buffer) override;

  void SetTimeouts(const LanTimeouts& timeouts) { m_timeouts = timeouts; }
  const LanTimeouts& Timeouts() const { return m_timeouts; }
  std::uint32_t Ipv4() const { return m_ipv4; }
  std::uint16_t Port() const { return m_port; }
  const std::string& KeyText() const { return m_keyText; }
  const std::string& CustomPassword() const { return m_customPassword; }
  const std::string& FileServiceUser() const { return m_fileServiceUser; }
  const std::string& FileServicePassword() const { return m_fileServicePassword; }
  // The connection slot while connected, else -1.
  int Slot() const { return m_slot; }

private:
  bool Probe();
  bool Connect();
  void Disconnect();

  std::uint32_t m_ipv4;
  std::uint32_t m_idCode;
  std::uint16_t m_port;
  std::string m_customPassword;
  std::string m_fileServiceUser;
  std::string m_fileServicePassword;
  std::string m_keyText;
  LanTimeouts m_timeouts;
  int m_slot = -1;
  TcpSocket m_socket;
  NetworkAnswerReader m_reader;
};

}  // namespace vantorel

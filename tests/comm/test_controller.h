#pragma once
// A small controller for the channel tests: answers every operation of the channels through the
// controller side of the protocol (comm/sign_protocol.h), over a pseudo-terminal (framed, the
// serial line) or a TCP listener on 127.0.0.1, on a thread of its own. It keeps what it is told
// (clock, brightness, schedule, switch block, message pieces, files) and logs the operation
// codes it answered. Faults make it misbehave in the ways the channels must survive. A UDP
// responder answers the network probe on the listener's port.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "comm/sign_protocol.h"
#include "platform/pseudo_terminal.h"
#include "platform/tcp_socket.h"
#include "platform/udp_socket.h"

namespace vantorel::test {

enum class ControllerFault {
  kNone,
  kSilent,                // reads requests, never answers
  kDisconnectMidAnswer,   // TCP: sends half an answer and closes the connection
  kEndlessFrame,          // 0xA5 and then bytes without 0xAE, for as long as it runs
  kEndlessRestarts,       // "A5 01" again and again: no frame ever ends, none grows
  kShortAnswers,          // answers the reading operations with 3 data bytes
  kCloseAfterAccept,      // TCP: closes every connection at once
};

struct ControllerState {
  std::vector<std::uint8_t> clock{30, 15, 9, 3, 9, 12, 26};
  std::vector<std::uint8_t> brightness = std::vector<std::uint8_t>(24, 31);
  std::vector<std::uint8_t> schedule{7, 0, 22, 30};
  std::vector<std::uint8_t> switches = std::vector<std::uint8_t>(16, 0);
  std::uint8_t temperatureAdjust = 0x42;
  std::vector<std::uint8_t> message;      // the pieces received, joined
  bool messageComplete = false;
  bool held = false;
  struct File {
    std::string name;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<File> files;
  std::vector<std::uint8_t> openFile;     // basic write in progress
  std::string openName;
  std::uint32_t openSize = 0;
  int protectionSwitches = 0;
};

class TestController {
public:
  static std::unique_ptr<TestController> OverPseudoTerminal(SignIdentity sign);
  static std::unique_ptr<TestController> OverTcp(SignIdentity sign);
  ~TestController();

  // The device the channel opens (pseudo-terminal).
  std::string DevicePath() const;
  // The TCP port (and the UDP port of the probe responder, when started).
  std::uint16_t Port() const { return m_port; }
  // Answers probes on Port() with `line` (made with MakeProbeLine, or any text).
  void AnswerProbes(std::string line);

  void SetFault(ControllerFault fault) { m_fault = fault; }
  // Operation codes answered (or, when silent, read), in order.
  std::vector<std::uint8_t> Log() const;
  ControllerState State() const;
  void SetFiles(std::vector<ControllerState::File> files);
  int ProtectionMode() const;
  int Connections() const { return m_connections; }

private:
  TestController() = default;
  void ServePseudoTerminal();
  void ServeTcp();
  void ServeProbes();
  // The answers to one request (a directory listing has several); nothing for a request that
  // gets no answer.
  std::vector<std::vector<std::uint8_t>> Answer(std::span<const std::uint8_t> bytes);

  SignIdentity m_sign;
  mutable std::mutex m_mutex;   // m_sign, m_state, m_log, m_probeLine
  ControllerState m_state;
  std::vector<std::uint8_t> m_log;
  std::string m_probeLine;
  std::atomic<ControllerFault> m_fault{ControllerFault::kNone};
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_connections{0};
  std::unique_ptr<PseudoTerminal> m_pty;
  std::unique_ptr<TcpListener> m_listener;
  std::unique_ptr<UdpSocket> m_udp;
  std::uint16_t m_port = 0;
  std::thread m_thread;
  std::thread m_probeThread;
};

}  // namespace vantorel::test

namespace vantorel {
class CUniComm;
}

namespace vantorel::test {

// Runs every controller operation of `channel` (open) against `controller` and checks each
// result and what the controller kept.
void ExpectEveryOperationWorks(CUniComm& channel, TestController& controller);

}  // namespace vantorel::test

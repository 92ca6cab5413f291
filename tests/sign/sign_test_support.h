#pragma once
// What the virtual sign's tests share: a sign running in-process on a thread of its own, and a
// line to it (TCP on 127.0.0.1 or its pseudo-terminal) that sends requests made with the KVLINK
// Make functions and gives back the answer bytes for the Parse functions.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "comm/kvlink.h"
#include "platform/tcp_socket.h"
#include "sign/sign_options.h"
#include "sign/sign_server.h"

namespace vantorel::test {

using Bytes = std::vector<std::uint8_t>;

// Options of a test sign: TCP on 127.0.0.1 at a free port, a pseudo-terminal, store `store`.
SignOptions TestSignOptions(const std::filesystem::path& store);

// A sign serving on a thread until Stop or the end of the object.
class RunningSign {
public:
  explicit RunningSign(const SignOptions& options, std::FILE* log = nullptr);
  ~RunningSign();
  RunningSign(const RunningSign&) = delete;
  RunningSign& operator=(const RunningSign&) = delete;

  bool ok() const { return m_server != nullptr; }
  std::uint16_t Port() const;
  std::string SerialPath() const;
  // Stops the sign and waits for its thread (the state is saved).
  void Stop();

private:
  RequestLog m_log;
  std::unique_ptr<SignServer> m_server;
  std::thread m_thread;
};

class SignLink {
public:
  static std::unique_ptr<SignLink> Tcp(std::uint16_t port, std::uint32_t idCode = 0xFFFFFFFF);
  static std::unique_ptr<SignLink> Serial(const std::string& path, std::uint8_t address = 1);
  ~SignLink();

  // Protection of the requests made by Context (network only): key text, mode "1", "2", "32770".
  void Protect(std::string keyText, std::string mode, std::string password = {});
  std::unique_ptr<KvlinkContext> Context() const;
  const char* Name() const { return m_serial ? "serial" : "tcp"; }

  bool Send(std::span<const std::uint8_t> bytes);
  // One answer (a packet, or a frame on the serial line); empty when none came in time.
  Bytes Receive(int timeoutMs = 2000);
  // True when the sign closed the connection (TCP) during the last Receive.
  bool Closed() const { return m_closed; }

  // Makes a request with `make` (a callable (ctx, out) -> length), sends it and gives the answer.
  template <typename Make>
  Bytes Ask(KvlinkContext& ctx, Make make, int timeoutMs = 2000) {
    Bytes request(4600);
    const int length = make(ctx, std::span<std::uint8_t>(request));
    EXPECT_GT(length, 0);
    request.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    if (!Send(request)) return {};
    return Receive(timeoutMs);
  }

private:
  SignLink() = default;
  int Fd() const;

  TcpSocket m_tcp;
  int m_serialFd = -1;
  bool m_serial = false;
  std::uint8_t m_address = 255;
  std::uint32_t m_idCode = 0;
  std::string m_keyText, m_mode = "1", m_password;
  Bytes m_pending;
  bool m_closed = false;
};

}  // namespace vantorel::test

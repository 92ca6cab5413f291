#pragma once
// TCP connections over IPv4: the network channel to a controller, and the listening end the
// tests and the virtual sign use. Addresses are in host order (127.0.0.1 is 0x7F000001).
//
// Connect waits at most its limit; a send waits at most the send time-out for room and loops over
// partial writes until every byte is out, so a short write is reported as a failure; a receive
// waits at most the receive time-out.
//
// A socket belongs to one thread at a time, except Shutdown, which another thread may call to
// end a blocked send or receive.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/status.h"

namespace vantorel {

class TcpSocket {
public:
  static constexpr int kDefaultTimeoutMs = 45000;

  // Connects to `ipv4`:`port`, waiting at most `limitMs`. Refuses 0.0.0.0, the broadcast address
  // and multicast addresses without sending anything.
  static Expected<TcpSocket> Connect(std::uint32_t ipv4, std::uint16_t port, int limitMs);

  TcpSocket() = default;
  TcpSocket(TcpSocket&& other) noexcept;
  TcpSocket& operator=(TcpSocket&& other) noexcept;
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;
  ~TcpSocket();

  bool IsOpen() const { return m_descriptor >= 0; }
  int Descriptor() const { return m_descriptor; }
  void SetTimeouts(int sendMs, int receiveMs);

  // Every byte, or a failure that says how many went out (peer gone, time-out, error).
  Status SendAll(std::span<const std::uint8_t> bytes);
  // One receive of at most buffer.size() bytes: the count (at least 1). A failure when nothing
  // came within the receive time-out (ETIMEDOUT), the peer closed the connection (ECONNRESET,
  // "closed by the peer") or the system reported an error.
  Expected<std::size_t> Receive(std::span<std::uint8_t> buffer);
  // As Receive with its own time-out.
  Expected<std::size_t> Receive(std::span<std::uint8_t> buffer, int timeoutMs);
  // Ends both directions; a blocked call on another thread returns.
  void Shutdown();
  void Close();

private:
  explicit TcpSocket(int descriptor) : m_descriptor(descriptor) {}
  friend class TcpListener;

  int m_descriptor = -1;
  int m_sendMs = kDefaultTimeoutMs;
  int m_receiveMs = kDefaultTimeoutMs;
};

class TcpListener {
public:
  // Listens on `ipv4`:`port` (port 0: a free port, see Port()).
  static Expected<TcpListener> Listen(std::uint32_t ipv4, std::uint16_t port);

  TcpListener(TcpListener&& other) noexcept;
  TcpListener& operator=(TcpListener&& other) noexcept;
  TcpListener(const TcpListener&) = delete;
  TcpListener& operator=(const TcpListener&) = delete;
  ~TcpListener();

  std::uint16_t Port() const;
  // For a poll loop that waits on several descriptors at once.
  int Descriptor() const { return m_descriptor; }
  // Waits at most `timeoutMs` for a connection; a failure with ETIMEDOUT when none came.
  Expected<TcpSocket> Accept(int timeoutMs);

private:
  explicit TcpListener(int descriptor) : m_descriptor(descriptor) {}

  int m_descriptor = -1;
};

}  // namespace vantorel

#pragma once
// One UDP socket on an IPv4 address: the network probe of controllers and its answer. Datagrams go
// to one address at a time: broadcast is never switched on, and sending to a broadcast or
// multicast address is refused before anything is sent.
//
// A socket belongs to one thread at a time.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/status.h"

namespace vantorel {

// Addresses are in host order: 127.0.0.1 is 0x7F000001.
inline constexpr std::uint32_t kLoopbackIpv4 = 0x7F000001;

// False for 0.0.0.0, 255.255.255.255 and the multicast addresses 224.0.0.0/4 (and above).
bool IsUnicastIpv4(std::uint32_t ipv4);

struct Datagram {
  std::size_t size = 0;      // 0: nothing came in time
  std::uint32_t ipv4 = 0;    // the sender
  std::uint16_t port = 0;
};

class UdpSocket {
public:
  // A socket bound to `ipv4` and `port` (0: any address, any free port).
  static Expected<UdpSocket> Bind(std::uint32_t ipv4, std::uint16_t port);

  UdpSocket(UdpSocket&& other) noexcept;
  UdpSocket& operator=(UdpSocket&& other) noexcept;
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;
  ~UdpSocket();

  std::uint16_t Port() const;
  // For a poll loop that waits on several descriptors at once.
  int Descriptor() const { return m_descriptor; }
  Status SendTo(std::uint32_t ipv4, std::uint16_t port, std::span<const std::uint8_t> bytes);
  // Waits at most `timeoutMs` for one datagram; a datagram longer than `buffer` is cut.
  Expected<Datagram> Receive(std::span<std::uint8_t> buffer, int timeoutMs);

private:
  explicit UdpSocket(int descriptor) : m_descriptor(descriptor) {}

  int m_descriptor = -1;
};

}  // namespace vantorel

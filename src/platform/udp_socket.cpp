#include "platform/udp_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

#include "platform/descriptor_wait.h"

namespace vantorel {

bool IsUnicastIpv4(std::uint32_t ipv4) { return ipv4 != 0 && ipv4 < 0xE0000000u; }

Expected<UdpSocket> UdpSocket::Bind(std::uint32_t ipv4, std::uint16_t port) {
  const int descriptor = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (descriptor < 0) return Status::SystemError(errno, "UDP socket");
  UdpSocket socket(descriptor);
  const sockaddr_in address = Ipv4SocketAddress(ipv4, port);
  if (::bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    return Status::SystemError(errno, "UDP " + DottedEndpoint(ipv4, port));
  }
  return socket;
}

UdpSocket::UdpSocket(UdpSocket&& other) noexcept : m_descriptor(std::exchange(other.m_descriptor, -1)) {}

UdpSocket& UdpSocket::operator=(UdpSocket&& other) noexcept {
  if (this != &other) {
    if (m_descriptor >= 0) ::close(m_descriptor);
    m_descriptor = std::exchange(other.m_descriptor, -1);
  }
  return *this;
}

UdpSocket::~UdpSocket() {
  if (m_descriptor >= 0) ::close(m_descriptor);
}

std::uint16_t UdpSocket::Port() const { return BoundPort(m_descriptor); }

Status UdpSocket::SendTo(std::uint32_t ipv4, std::uint16_t port, std::span<const std::uint8_t> bytes) {
  if (!IsUnicastIpv4(ipv4)) return Status::SystemError(EACCES, "UDP " + DottedEndpoint(ipv4, port) + " (not one address)");
  const sockaddr_in address = Ipv4SocketAddress(ipv4, port);
  const ssize_t sent = ::sendto(m_descriptor, bytes.data(), bytes.size(), MSG_NOSIGNAL,
                                reinterpret_cast<const sockaddr*>(&address), sizeof address);
  if (sent < 0) return Status::SystemError(errno, "UDP " + DottedEndpoint(ipv4, port));
  if (static_cast<std::size_t>(sent) != bytes.size()) return Status::SystemError(EMSGSIZE, "UDP " + DottedEndpoint(ipv4, port));
  return Status::Ok();
}

Expected<Datagram> UdpSocket::Receive(std::span<std::uint8_t> buffer, int timeoutMs) {
  const int ready = WaitForDescriptor(m_descriptor, POLLIN, timeoutMs);
  if (ready < 0) return Status::SystemError(errno, "UDP receive");
  if (ready == 0) return Datagram{};
  sockaddr_in from{};
  socklen_t length = sizeof from;
  const ssize_t size = ::recvfrom(m_descriptor, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                  reinterpret_cast<sockaddr*>(&from), &length);
  if (size < 0) {
    if (errno == EAGAIN || errno == EWOULDBLOCK) return Datagram{};
    return Status::SystemError(errno, "UDP receive");
  }
  return Datagram{static_cast<std::size_t>(size), ntohl(from.sin_addr.s_addr), ntohs(from.sin_port)};
}

}  // namespace vantorel

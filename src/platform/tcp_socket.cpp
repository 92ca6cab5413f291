#include "platform/tcp_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <utility>

#include "platform/descriptor_wait.h"
#include "platform/udp_socket.h"

namespace vantorel {
namespace {

std::string Endpoint(std::uint32_t ipv4, std::uint16_t port) { return "TCP " + DottedEndpoint(ipv4, port); }

}  // namespace

Expected<TcpSocket> TcpSocket::Connect(std::uint32_t ipv4, std::uint16_t port, int limitMs) {
  if (!IsUnicastIpv4(ipv4)) return Status::SystemError(EACCES, Endpoint(ipv4, port) + " (not one address)");
  const int descriptor = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (descriptor < 0) return Status::SystemError(errno, Endpoint(ipv4, port));
  TcpSocket socket(descriptor);
  const sockaddr_in address = Ipv4SocketAddress(ipv4, port);
  if (::connect(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    if (errno != EINPROGRESS) return Status::SystemError(errno, Endpoint(ipv4, port));
    const int ready = WaitForDescriptor(descriptor, POLLOUT, limitMs);
    if (ready <= 0) return Status::SystemError(ready == 0 ? ETIMEDOUT : errno, Endpoint(ipv4, port));
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    if (error != 0) return Status::SystemError(error, Endpoint(ipv4, port));
  }
  const int on = 1;
  (void)::setsockopt(descriptor, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return socket;
}

TcpSocket::TcpSocket(TcpSocket&& other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1)), m_sendMs(other.m_sendMs), m_receiveMs(other.m_receiveMs) {}

TcpSocket& TcpSocket::operator=(TcpSocket&& other) noexcept {
  if (this != &other) {
    Close();
    m_descriptor = std::exchange(other.m_descriptor, -1);
    m_sendMs = other.m_sendMs;
    m_receiveMs = other.m_receiveMs;
  }
  return *this;
}

TcpSocket::~TcpSocket() { Close(); }

void TcpSocket::SetTimeouts(int sendMs, int receiveMs) {
  m_sendMs = sendMs;
  m_receiveMs = receiveMs;
}

Status TcpSocket::SendAll(std::span<const std::uint8_t> bytes) {
  if (m_descriptor < 0) return Status::SystemError(ENOTCONN, "TCP");
  const auto end = SteadyAfter(m_sendMs);
  std::size_t done = 0;
  const auto shortWrite = [&](int error) {
    return Status::SystemError(error, "TCP (" + std::to_string(done) + " of " + std::to_string(bytes.size()) +
                                          " bytes sent)");
  };
  while (done < bytes.size()) {
    const ssize_t sent = ::send(m_descriptor, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (sent > 0) {
      done += static_cast<std::size_t>(sent);
      continue;
    }
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return shortWrite(errno);
    short revents = 0;
    const int ready = WaitForDescriptor(m_descriptor, POLLOUT, RemainingMs(end), &revents);
    if (ready < 0) return shortWrite(errno);
    if (ready == 0) return shortWrite(ETIMEDOUT);
    if ((revents & (POLLERR | POLLNVAL)) != 0) return shortWrite(EPIPE);
  }
  return Status::Ok();
}

Expected<std::size_t> TcpSocket::Receive(std::span<std::uint8_t> buffer) { return Receive(buffer, m_receiveMs); }

Expected<std::size_t> TcpSocket::Receive(std::span<std::uint8_t> buffer, int timeoutMs) {
  if (m_descriptor < 0) return Status::SystemError(ENOTCONN, "TCP");
  if (buffer.empty()) return Status::SystemError(EINVAL, "TCP (no room to receive)");
  const auto end = SteadyAfter(timeoutMs);
  for (;;) {
    const ssize_t got = ::recv(m_descriptor, buffer.data(), buffer.size(), 0);
    if (got > 0) return static_cast<std::size_t>(got);
    if (got == 0) return Status::SystemError(ECONNRESET, "TCP (closed by the peer)");
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return Status::SystemError(errno, "TCP");
    const int ready = WaitForDescriptor(m_descriptor, POLLIN, RemainingMs(end));
    if (ready < 0) return Status::SystemError(errno, "TCP");
    if (ready == 0) return Status::SystemError(ETIMEDOUT, "TCP (no answer within " + std::to_string(timeoutMs) + " ms)");
  }
}

void TcpSocket::Shutdown() {
  if (m_descriptor >= 0) (void)::shutdown(m_descriptor, SHUT_RDWR);
}

void TcpSocket::Close() {
  if (m_descriptor >= 0) ::close(m_descriptor);
  m_descriptor = -1;
}

Expected<TcpListener> TcpListener::Listen(std::uint32_t ipv4, std::uint16_t port) {
  const int descriptor = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (descriptor < 0) return Status::SystemError(errno, Endpoint(ipv4, port));
  TcpListener listener(descriptor);
  const int on = 1;
  (void)::setsockopt(descriptor, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  const sockaddr_in address = Ipv4SocketAddress(ipv4, port);
  if (::bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(descriptor, 16) != 0) {
    return Status::SystemError(errno, Endpoint(ipv4, port));
  }
  return listener;
}

TcpListener::TcpListener(TcpListener&& other) noexcept : m_descriptor(std::exchange(other.m_descriptor, -1)) {}

TcpListener& TcpListener::operator=(TcpListener&& other) noexcept {
  if (this != &other) {
    if (m_descriptor >= 0) ::close(m_descriptor);
    m_descriptor = std::exchange(other.m_descriptor, -1);
  }
  return *this;
}

TcpListener::~TcpListener() {
  if (m_descriptor >= 0) ::close(m_descriptor);
}

std::uint16_t TcpListener::Port() const { return BoundPort(m_descriptor); }

Expected<TcpSocket> TcpListener::Accept(int timeoutMs) {
  const int ready = WaitForDescriptor(m_descriptor, POLLIN, timeoutMs);
  if (ready < 0) return Status::SystemError(errno, "TCP accept");
  if (ready == 0) return Status::SystemError(ETIMEDOUT, "TCP accept");
  const int descriptor = ::accept4(m_descriptor, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
  if (descriptor < 0) return Status::SystemError(errno, "TCP accept");
  const int on = 1;
  (void)::setsockopt(descriptor, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return TcpSocket(descriptor);
}

}  // namespace vantorel

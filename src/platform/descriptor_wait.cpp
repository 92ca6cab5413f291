#include "platform/descriptor_wait.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace vantorel {

sockaddr_in Ipv4SocketAddress(std::uint32_t ipv4, std::uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(ipv4);
  address.sin_port = htons(port);
  return address;
}

std::string DottedEndpoint(std::uint32_t ipv4, std::uint16_t port) {
  return std::to_string(ipv4 >> 24) + "." + std::to_string((ipv4 >> 16) & 0xFF) + "." +
         std::to_string((ipv4 >> 8) & 0xFF) + "." + std::to_string(ipv4 & 0xFF) + ":" + std::to_string(port);
}

std::uint16_t BoundPort(int descriptor) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (::getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
  return ntohs(address.sin_port);
}

int WaitForDescriptor(int descriptor, short events, int timeoutMs, short* revents) {
  pollfd wait{descriptor, events, 0};
  int ready = 0;
  do {
    ready = ::poll(&wait, 1, timeoutMs < 0 ? 0 : timeoutMs);
  } while (ready < 0 && errno == EINTR);
  if (revents != nullptr) *revents = wait.revents;
  return ready;
}

int RemainingMs(std::chrono::steady_clock::time_point end) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

std::chrono::steady_clock::time_point SteadyAfter(int ms) {
  return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms < 0 ? 0 : ms);
}

}  // namespace vantorel

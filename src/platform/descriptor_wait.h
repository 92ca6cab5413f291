#pragma once
// What the socket and serial port code share: IPv4 socket addresses, the text that names an
// endpoint in a failure, waiting on a descriptor, and time left until a steady-clock point.
// Stateless; every call may come from several threads at once.

#include <netinet/in.h>

#include <chrono>
#include <cstdint>
#include <string>

namespace vantorel {

sockaddr_in Ipv4SocketAddress(std::uint32_t ipv4, std::uint16_t port);
// "192.168.1.222:5200".
std::string DottedEndpoint(std::uint32_t ipv4, std::uint16_t port);
// The local port a socket is bound to (0 when unknown).
std::uint16_t BoundPort(int descriptor);
// poll() for `events` on one descriptor, restarted after signals: >0 ready, 0 time-out, <0 error
// (errno set). `revents` receives what happened.
int WaitForDescriptor(int descriptor, short events, int timeoutMs, short* revents = nullptr);
// Milliseconds from now until `end`, 0 once it has passed.
int RemainingMs(std::chrono::steady_clock::time_point end);
std::chrono::steady_clock::time_point SteadyAfter(int ms);

}  // namespace vantorel

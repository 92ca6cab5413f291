#pragma once
// What a program that acts as a controller (the virtual sign) needs beside the sockets and the
// pseudo-terminal (tcp_socket.h, udp_socket.h, pseudo_terminal.h): reading an explicit IPv4
// address, naming a connection's peer, a wake-up pipe that signals and other threads use to end
// a poll loop, and poll over a set of descriptors.
//
// A WakePipe's Wake may be called from any thread and from a signal handler; the rest belongs
// to one thread at a time.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/status.h"

namespace vantorel {

// "a.b.c.d" exactly (no shortened or octal forms), into host order; false for anything else.
bool ParseIpv4(const std::string& text, std::uint32_t& ipv4);

// "a.b.c.d:port" of the other end of a connected socket ("?" when unknown).
std::string PeerEndpoint(int descriptor);

// A pipe whose read end turns readable when Wake is called.
class WakePipe {
public:
  static Expected<WakePipe> Make();
  WakePipe(WakePipe&& other) noexcept;
  WakePipe& operator=(WakePipe&& other) noexcept;
  WakePipe(const WakePipe&) = delete;
  WakePipe& operator=(const WakePipe&) = delete;
  ~WakePipe();

  int Descriptor() const { return m_read; }
  void Wake() const;   // async-signal-safe
  void Drain() const;

private:
  friend class StopOnSignals;
  WakePipe(int read, int write) : m_read(read), m_write(write) {}
  int m_read = -1;
  int m_write = -1;
};

// Calls `pipe.Wake()` on SIGINT and SIGTERM for as long as the object lives (one at a time).
class StopOnSignals {
public:
  explicit StopOnSignals(const WakePipe& pipe);
  ~StopOnSignals();
  StopOnSignals(const StopOnSignals&) = delete;
  StopOnSignals& operator=(const StopOnSignals&) = delete;
};

// poll() on `descriptors` for reading, at most `timeoutMs` (-1: no limit); `ready[i]` says which
// are readable, hung up or failed. Interrupted waits are repeated.
Status WaitReadable(std::span<const int> descriptors, int timeoutMs, std::vector<bool>& ready);

// Sleeps `ms` milliseconds (the delay fault of a sign).
void SleepMs(int ms);

}  // namespace vantorel

#include "platform/sign_io.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>

#include "platform/descriptor_wait.h"

namespace vantorel {
namespace {

std::atomic<int> g_stopDescriptor{-1};

extern "C" void WakeOnSignal(int) {
  const int descriptor = g_stopDescriptor.load();
  if (descriptor >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(descriptor, &byte, 1);
  }
}

void SetStopHandler(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

bool ParseIpv4(const std::string& text, std::uint32_t& ipv4) {
  in_addr address{};
  if (::inet_pton(AF_INET, text.c_str(), &address) != 1) return false;
  ipv4 = ntohl(address.s_addr);
  return true;
}

std::string PeerEndpoint(int descriptor) {
  sockaddr_in peer{};
  socklen_t length = sizeof peer;
  if (::getpeername(descriptor, reinterpret_cast<sockaddr*>(&peer), &length) != 0 || peer.sin_family != AF_INET) {
    return "?";
  }
  return DottedEndpoint(ntohl(peer.sin_addr.s_addr), ntohs(peer.sin_port));
}

Expected<WakePipe> WakePipe::Make() {
  int ends[2] = {-1, -1};
  if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return Status::SystemError(errno, "pipe");
  return WakePipe(ends[0], ends[1]);
}

WakePipe::WakePipe(WakePipe&& other) noexcept
    : m_read(std::exchange(other.m_read, -1)), m_write(std::exchange(other.m_write, -1)) {}

WakePipe& WakePipe::operator=(WakePipe&& other) noexcept {
  if (this != &other) {
    this->~WakePipe();
    m_read = std::exchange(other.m_read, -1);
    m_write = std::exchange(other.m_write, -1);
  }
  return *this;
}

WakePipe::~WakePipe() {
  if (m_read >= 0) ::close(m_read);
  if (m_write >= 0) ::close(m_write);
  m_read = m_write = -1;
}

void WakePipe::Wake() const {
  const char byte = 1;
  [[maybe_unused]] const ssize_t ignored = ::write(m_write, &byte, 1);
}

void WakePipe::Drain() const {
  char bytes[64];
  while (::read(m_read, bytes, sizeof bytes) > 0) {
  }
}

StopOnSignals::StopOnSignals(const WakePipe& pipe) {
  g_stopDescriptor.store(pipe.m_write);
  SetStopHandler(WakeOnSignal);
}

StopOnSignals::~StopOnSignals() {
  SetStopHandler(SIG_DFL);
  g_stopDescriptor.store(-1);
}

Status WaitReadable(std::span<const int> descriptors, int timeoutMs, std::vector<bool>& ready) {
  std::vector<pollfd> waits;
  waits.reserve(descriptors.size());
  for (const int descriptor : descriptors) waits.push_back(pollfd{descriptor, POLLIN, 0});
  int count = 0;
  do {
    count = ::poll(waits.data(), waits.size(), timeoutMs);
  } while (count < 0 && errno == EINTR);
  if (count < 0) return Status::SystemError(errno, "poll");
  ready.assign(descriptors.size(), false);
  for (std::size_t i = 0; i < waits.size(); ++i) ready[i] = (waits[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
  return Status::Ok();
}

void SleepMs(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace vantorel

#include "platform/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <utility>

namespace vantorel {

Expected<PseudoTerminal> PseudoTerminal::Open() {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) return Status::SystemError(errno, "/dev/ptmx");
  char name[128] = {};
  if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0) {
    const int error = errno;
    ::close(master);
    return Status::SystemError(error, "/dev/ptmx");
  }
  const int device = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (device < 0) {
    const int error = errno;
    ::close(master);
    return Status::SystemError(error, name);
  }
  PseudoTerminal pair(master, device, name);
  termios mode{};
  if (::tcgetattr(device, &mode) == 0) {
    ::cfmakeraw(&mode);
    (void)::tcsetattr(device, TCSANOW, &mode);
  }
  const int flags = ::fcntl(master, F_GETFL);
  (void)::fcntl(master, F_SETFL, flags | O_NONBLOCK);
  return pair;
}

PseudoTerminal::PseudoTerminal(PseudoTerminal&& other) noexcept
    : m_master(std::exchange(other.m_master, -1)),
      m_device(std::exchange(other.m_device, -1)),
      m_path(std::move(other.m_path)) {}

PseudoTerminal& PseudoTerminal::operator=(PseudoTerminal&& other) noexcept {
  if (this != &other) {
    CloseAll();
    m_master = std::exchange(other.m_master, -1);
    m_device = std::exchange(other.m_device, -1);
    m_path = std::move(other.m_path);
  }
  return *this;
}

PseudoTerminal::~PseudoTerminal() { CloseAll(); }

void PseudoTerminal::CloseAll() {
  if (m_device >= 0) ::close(m_device);
  if (m_master >= 0) ::close(m_master);
  m_device = m_master = -1;
}

Status PseudoTerminal::Write(std::span<const std::uint8_t> bytes, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = ::write(m_master, bytes.data() + done, bytes.size() - done);
    if (wrote > 0) {
      done += static_cast<std::size_t>(wrote);
      continue;
    }
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0 && errno != EAGAIN) return Status::SystemError(errno, m_path);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) return Status::SystemError(ETIMEDOUT, m_path);
    pollfd wait{m_master, POLLOUT, 0};
    (void)::poll(&wait, 1, static_cast<int>(left.count()));
  }
  return Status::Ok();
}

Expected<std::size_t> PseudoTerminal::Read(std::span<std::uint8_t> buffer, int timeoutMs) {
  pollfd wait{m_master, POLLIN, 0};
  int ready = 0;
  do {
    ready = ::poll(&wait, 1, timeoutMs);
  } while (ready < 0 && errno == EINTR);
  if (ready < 0) return Status::SystemError(errno, m_path);
  if (ready == 0) return std::size_t{0};
  const ssize_t got = ::read(m_master, buffer.data(), buffer.size());
  if (got > 0) return static_cast<std::size_t>(got);
  if (got < 0 && (errno == EAGAIN || errno == EINTR)) return std::size_t{0};
  return Status::SystemError(got == 0 ? EIO : errno, m_path);
}

}  // namespace vantorel

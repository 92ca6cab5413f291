#include "platform/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <utility>

#include "platform/descriptor_wait.h"

namespace vantorel {
namespace {

struct BaudEntry {
  std::int32_t baud;
  speed_t speed;
};

constexpr BaudEntry kBauds[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},       {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800}, {500000, B500000},
    {576000, B576000}, {921600, B921600}, {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

std::optional<speed_t> SpeedOf(std::int32_t baud) {
  for (const BaudEntry& entry : kBauds) {
    if (entry.baud == baud) return entry.speed;
  }
  return std::nullopt;
}

bool IsSeparator(char c) { return c == ' ' || c == ',' || c == '\t' || c == '\r' || c == '\n'; }

std::optional<int> SmallNumber(std::string_view field) {
  if (field.empty() || field.size() > 9) return std::nullopt;
  int value = 0;
  for (const char c : field) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

std::optional<SerialSettings> ParseSerialSettings(std::string_view text) {
  std::string_view fields[5];
  std::size_t count = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && IsSeparator(text[at])) ++at;
    if (at == text.size()) break;
    const std::size_t start = at;
    while (at < text.size() && !IsSeparator(text[at])) ++at;
    if (count == 4) return std::nullopt;  // more than four fields
    fields[count++] = text.substr(start, at - start);
  }
  if (count == 0) return std::nullopt;
  SerialSettings settings;
  const auto baud = SmallNumber(fields[0]);
  if (!baud || *baud <= 0) return std::nullopt;
  settings.baud = *baud;
  if (count > 1) {
    const auto bits = SmallNumber(fields[1]);
    if (!bits || *bits < 5 || *bits > 8) return std::nullopt;
    settings.dataBits = *bits;
  }
  if (count > 2) {
    if (fields[2].size() != 1) return std::nullopt;
    switch (fields[2][0]) {
      case 'N': case 'n': settings.parity = SerialParity::kNone; break;
      case 'O': case 'o': settings.parity = SerialParity::kOdd; break;
      case 'E': case 'e': settings.parity = SerialParity::kEven; break;
      case 'M': case 'm': settings.parity = SerialParity::kMark; break;
      case 'S': case 's': settings.parity = SerialParity::kSpace; break;
      default: return std::nullopt;
    }
  }
  if (count > 3) {
    if (fields[3] == "1") settings.stopBits = SerialStopBits::kOne;
    else if (fields[3] == "1.5") settings.stopBits = SerialStopBits::kOneAndHalf;
    else if (fields[3] == "2") settings.stopBits = SerialStopBits::kTwo;
    else return std::nullopt;
  }
  return settings;
}

bool IsSupportedBaudRate(std::int32_t baud) { return SpeedOf(baud).has_value(); }

Expected<SerialPort> SerialPort::Open(const std::string& devicePath, const SerialSettings& settings) {
  const auto speed = SpeedOf(settings.baud);
  if (!speed || settings.dataBits < 5 || settings.dataBits > 8 || settings.parity == SerialParity::kMark ||
      settings.parity == SerialParity::kSpace || settings.stopBits == SerialStopBits::kOneAndHalf) {
    return Status::SystemError(EINVAL, devicePath);
  }
  const int descriptor = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return Status::SystemError(errno, devicePath);
  SerialPort port(descriptor, devicePath);
  if (!::isatty(descriptor)) return Status::SystemError(ENOTTY, devicePath);
  if (::ioctl(descriptor, TIOCEXCL) != 0) return Status::SystemError(errno, devicePath);

  termios mode{};
  if (::tcgetattr(descriptor, &mode) != 0) return Status::SystemError(errno, devicePath);
  ::cfmakeraw(&mode);
  mode.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  mode.c_cflag |= CLOCAL | CREAD;
  switch (settings.dataBits) {
    case 5: mode.c_cflag |= CS5; break;
    case 6: mode.c_cflag |= CS6; break;
    case 7: mode.c_cflag |= CS7; break;
    default: mode.c_cflag |= CS8; break;
  }
  if (settings.parity == SerialParity::kOdd) mode.c_cflag |= PARENB | PARODD;
  if (settings.parity == SerialParity::kEven) mode.c_cflag |= PARENB;
  if (settings.stopBits == SerialStopBits::kTwo) mode.c_cflag |= CSTOPB;
  mode.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
  mode.c_cc[VMIN] = 0;
  mode.c_cc[VTIME] = 0;
  if (::cfsetispeed(&mode, *speed) != 0 || ::cfsetospeed(&mode, *speed) != 0 ||
      ::tcsetattr(descriptor, TCSANOW, &mode) != 0) {
    return Status::SystemError(errno, devicePath);
  }
  // DTR and RTS on; a pseudo-terminal has no modem lines and refuses, which is harmless.
  int lines = TIOCM_DTR | TIOCM_RTS;
  (void)::ioctl(descriptor, TIOCMBIS, &lines);
  port.Flush();
  return port;
}

SerialPort::SerialPort(SerialPort&& other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1)), m_path(std::move(other.m_path)) {}

SerialPort& SerialPort::operator=(SerialPort&& other) noexcept {
  if (this != &other) {
    CloseDescriptor();
    m_descriptor = std::exchange(other.m_descriptor, -1);
    m_path = std::move(other.m_path);
  }
  return *this;
}

SerialPort::~SerialPort() { CloseDescriptor(); }

void SerialPort::CloseDescriptor() {
  if (m_descriptor < 0) return;
  // Exclusive use ends with this descriptor, also when another one keeps the device open.
  (void)::ioctl(m_descriptor, TIOCNXCL);
  ::close(m_descriptor);
  m_descriptor = -1;
}

Status SerialPort::Write(std::span<const std::uint8_t> bytes, int timeoutMs) {
  const auto end = SteadyAfter(timeoutMs);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = ::write(m_descriptor, bytes.data() + done, bytes.size() - done);
    if (wrote > 0) {
      done += static_cast<std::size_t>(wrote);
      continue;
    }
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      return Status::SystemError(errno, m_path + " (" + std::to_string(done) + " of " +
                                            std::to_string(bytes.size()) + " bytes written)");
    }
    short revents = 0;
    const int ready = WaitForDescriptor(m_descriptor, POLLOUT, RemainingMs(end), &revents);
    if (ready <= 0 || (revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
      return Status::SystemError(ready < 0 ? errno : (ready == 0 ? ETIMEDOUT : EIO),
                                 m_path + " (" + std::to_string(done) + " of " + std::to_string(bytes.size()) +
                                     " bytes written)");
    }
  }
  return Status::Ok();
}

Expected<std::size_t> SerialPort::Read(std::span<std::uint8_t> buffer, int timeoutMs) {
  if (buffer.empty()) return std::size_t{0};
  short revents = 0;
  const int ready = WaitForDescriptor(m_descriptor, POLLIN, timeoutMs, &revents);
  if (ready < 0) return Status::SystemError(errno, m_path);
  if (ready == 0) return std::size_t{0};
  for (;;) {
    const ssize_t got = ::read(m_descriptor, buffer.data(), buffer.size());
    if (got > 0) return static_cast<std::size_t>(got);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return std::size_t{0};
    return Status::SystemError(got == 0 ? EIO : errno, m_path);
  }
}

void SerialPort::Flush() { (void)::tcflush(m_descriptor, TCIOFLUSH); }

}  // namespace vantorel

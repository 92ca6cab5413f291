#include "sign_test_support.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>

#include "comm/packet.h"
#include "comm/serial_frame.h"
#include "platform/udp_socket.h"

namespace vantorel::test {

SignOptions TestSignOptions(const std::filesystem::path& store) {
  const Expected<SignOptions> options =
      ParseSignOptions({"--tcp", "127.0.0.1:0", "--serial", "--store", store.string()});
  EXPECT_TRUE(options.ok()) << options.status().detail();
  return options.value_or(SignOptions{});
}

RunningSign::RunningSign(const SignOptions& options, std::FILE* log) : m_log(log) {
  Expected<std::unique_ptr<SignServer>> server = SignServer::Start(options, m_log);
  EXPECT_TRUE(server.ok()) << server.status().detail();
  if (!server) return;
  m_server = std::move(*server);
  m_thread = std::thread([this] { EXPECT_TRUE(m_server->Run().ok()); });
}

RunningSign::~RunningSign() { Stop(); }

std::uint16_t RunningSign::Port() const { return m_server ? m_server->Addresses().front().port : 0; }
std::string RunningSign::SerialPath() const { return m_server ? m_server->SerialPath() : std::string(); }

void RunningSign::Stop() {
  if (!m_thread.joinable()) return;
  m_server->Stop();
  m_thread.join();
}

std::unique_ptr<SignLink> SignLink::Tcp(std::uint16_t port, std::uint32_t idCode) {
  Expected<TcpSocket> socket = TcpSocket::Connect(kLoopbackIpv4, port, 2000);
  EXPECT_TRUE(socket.ok()) << socket.status().detail();
  if (!socket) return nullptr;
  std::unique_ptr<SignLink> link(new SignLink);
  link->m_tcp = std::move(*socket);
  link->m_tcp.SetTimeouts(2000, 2000);
  link->m_idCode = idCode;
  return link;
}

std::unique_ptr<SignLink> SignLink::Serial(const std::string& path, std::uint8_t address) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  EXPECT_GE(fd, 0) << path;
  if (fd < 0) return nullptr;
  termios raw{};
  ::tcgetattr(fd, &raw);
  ::cfmakeraw(&raw);
  ::cfsetspeed(&raw, B115200);
  ::tcsetattr(fd, TCSANOW, &raw);
  ::tcflush(fd, TCIOFLUSH);
  std::unique_ptr<SignLink> link(new SignLink);
  link->m_serialFd = fd;
  link->m_serial = true;
  link->m_address = address;
  return link;
}

SignLink::~SignLink() {
  if (m_serialFd >= 0) ::close(m_serialFd);
}

void SignLink::Protect(std::string keyText, std::string mode, std::string password) {
  m_keyText = std::move(keyText);
  m_mode = std::move(mode);
  m_password = std::move(password);
}

std::unique_ptr<KvlinkContext> SignLink::Context() const {
  auto ctx = KVLINK_CreateContext(m_serial ? kKindSerial : kKindNetwork, m_address, m_serial ? 0 : m_idCode);
  if (!m_serial) {
    EXPECT_EQ(KVLINK_CommData_SetParam(*ctx, 1, m_keyText), 0);
    EXPECT_EQ(KVLINK_CommData_SetParam(*ctx, 2, m_mode), 0);
    EXPECT_EQ(KVLINK_CommData_SetParam(*ctx, 3, m_password), 0);
  }
  return ctx;
}

int SignLink::Fd() const { return m_serial ? m_serialFd : m_tcp.Descriptor(); }

bool SignLink::Send(std::span<const std::uint8_t> bytes) {
  if (m_serial) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t sent = ::write(m_serialFd, bytes.data() + done, bytes.size() - done);
      if (sent < 0 && errno != EAGAIN && errno != EINTR) return false;
      if (sent > 0) done += static_cast<std::size_t>(sent);
      if (sent <= 0) ::usleep(1000);
    }
    return true;
  }
  return m_tcp.SendAll(bytes).ok();
}

Bytes SignLink::Receive(int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  m_closed = false;
  while (true) {
    // A whole answer already here?
    if (m_serial) {
      for (std::size_t i = 0; i < m_pending.size(); ++i) {
        if (m_pending[i] != kFrameEnd) continue;
        Bytes frame(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(i + 1));
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(i + 1));
        return frame;
      }
    } else if (const auto total = PacketTotalLength(m_pending); total && m_pending.size() >= *total) {
      Bytes packet(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(*total));
      m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(*total));
      return packet;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return {};
    pollfd wait{Fd(), POLLIN, 0};
    if (::poll(&wait, 1, static_cast<int>(left)) <= 0) continue;
    std::uint8_t buffer[4096];
    const ssize_t got = ::read(Fd(), buffer, sizeof buffer);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
      m_closed = true;
      return {};
    }
    if (got > 0) m_pending.insert(m_pending.end(), buffer, buffer + got);
  }
}

}  // namespace vantorel::test

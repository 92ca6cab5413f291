// Serial ports over a pseudo-terminal: settings texts, raw bytes both ways, time-outs and short
// writes.

#include <gtest/gtest.h>

#include <chrono>

#include "platform/pseudo_terminal.h"
#include "platform/serial_port.h"

namespace vantorel::test {
namespace {

TEST(SerialPortTest, SettingsTexts) {
  using P = SerialParity;
  using S = SerialStopBits;
  struct Row {
    const char* text;
    std::optional<SerialSettings> settings;
  };
  const Row rows[] = {
      {"115200,8,N,1", SerialSettings{115200, 8, P::kNone, S::kOne}},
      {"9600 7 e 2", SerialSettings{9600, 7, P::kEven, S::kTwo}},
      {"19200\t8\tO\t1.5", SerialSettings{19200, 8, P::kOdd, S::kOneAndHalf}},
      {"2400,,8, M ,1\r\n", SerialSettings{2400, 8, P::kMark, S::kOne}},
      {"4800,5,S", SerialSettings{4800, 5, P::kSpace, S::kOne}},
      {"57600", SerialSettings{57600, 8, P::kNone, S::kOne}},
      {"", std::nullopt},
      {"fast,8,N,1", std::nullopt},
      {"0,8,N,1", std::nullopt},
      {"9600,9,N,1", std::nullopt},
      {"9600,4,N,1", std::nullopt},
      {"9600,8,X,1", std::nullopt},
      {"9600,8,NN,1", std::nullopt},
      {"9600,8,N,3", std::nullopt},
      {"9600,8,N,1,1", std::nullopt},
      {"-9600,8,N,1", std::nullopt},
      {"99999999999,8,N,1", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ParseSerialSettings(row.text), row.settings);
  }
}

TEST(SerialPortTest, RawBytesBothWays) {
  Expected<PseudoTerminal> pty = PseudoTerminal::Open();
  ASSERT_TRUE(pty.ok()) << pty.status().detail();
  for (const std::int32_t baud : {9600, 115200}) {
    SCOPED_TRACE(baud);
    Expected<SerialPort> port = SerialPort::Open(pty->DevicePath(), SerialSettings{baud});
    ASSERT_TRUE(port.ok()) << port.status().detail();
    // Every byte value, line ends and control characters included, passes unchanged.
    std::vector<std::uint8_t> all(256);
    for (int i = 0; i < 256; ++i) all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    ASSERT_TRUE(port->Write(all, 1000).ok());
    std::vector<std::uint8_t> got;
    std::array<std::uint8_t, 512> buffer{};
    while (got.size() < all.size()) {
      const Expected<std::size_t> n = pty->Read(buffer, 1000);
      ASSERT_TRUE(n.ok() && *n > 0);
      got.insert(got.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(*n));
    }
    EXPECT_EQ(got, all);
    ASSERT_TRUE(pty->Write(all, 1000).ok());
    got.clear();
    while (got.size() < all.size()) {
      const Expected<std::size_t> n = port->Read(buffer, 1000);
      ASSERT_TRUE(n.ok() && *n > 0);
      got.insert(got.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(*n));
    }
    EXPECT_EQ(got, all);
  }
}

TEST(SerialPortTest, ReadTimesOutAndShortWritesFail) {
  Expected<PseudoTerminal> pty = PseudoTerminal::Open();
  ASSERT_TRUE(pty.ok());
  Expected<SerialPort> port = SerialPort::Open(pty->DevicePath(), SerialSettings{115200});
  ASSERT_TRUE(port.ok());
  std::array<std::uint8_t, 16> buffer{};
  const auto start = std::chrono::steady_clock::now();
  const Expected<std::size_t> nothing = port->Read(buffer, 100);
  ASSERT_TRUE(nothing.ok());
  EXPECT_EQ(*nothing, 0u);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));
  // Nobody reads the other end: the queue fills and the write stops short within its time-out.
  const std::vector<std::uint8_t> lots(4 * 1024 * 1024, 0x55);
  const Status status = port->Write(lots, 200);
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.detail().find("bytes written"), std::string::npos) << status.detail();
}

TEST(SerialPortTest, OpenFailures) {
  struct Row {
    const char* name;
    std::string path;
    SerialSettings settings;
  };
  Expected<PseudoTerminal> pty = PseudoTerminal::Open();
  ASSERT_TRUE(pty.ok());
  const Row rows[] = {
      {"no such device", "/nonexistent/ttyS0", SerialSettings{}},
      {"not a terminal", "/dev/null", SerialSettings{}},
      {"baud rate termios does not name", pty->DevicePath(), SerialSettings{12345}},
      {"mark parity", pty->DevicePath(), SerialSettings{9600, 8, SerialParity::kMark}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Expected<SerialPort> port = SerialPort::Open(row.path, row.settings);
    ASSERT_FALSE(port.ok());
    EXPECT_NE(port.status().detail().find(row.path), std::string::npos) << port.status().detail();
  }
  EXPECT_TRUE(IsSupportedBaudRate(115200));
  EXPECT_FALSE(IsSupportedBaudRate(14400));
}

}  // namespace
}  // namespace vantorel::test

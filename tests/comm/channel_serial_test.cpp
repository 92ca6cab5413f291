// The serial channel against a controller on the other end of a pseudo-terminal: real frames
// through the real port code.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "comm/comm_rs232.h"
#include "comm/create_comm.h"
#include "comm/serial_port_table.h"
#include "test_controller.h"

namespace vantorel::test {
namespace {

constexpr std::uint8_t kScreenId = 7;
constexpr int kPort = 3;  // COM4, pointed at the pseudo-terminal

struct SerialSign {
  std::unique_ptr<TestController> controller;
  std::unique_ptr<CUniComm> channel;
};

SerialSign Start(std::int32_t baud, std::int32_t answerTimeoutMs = 500) {
  SignIdentity sign;
  sign.address = kScreenId;
  SerialSign result;
  result.controller = TestController::OverPseudoTerminal(sign);
  if (!result.controller) return result;
  SetSerialDevicePath(kPort, result.controller->DevicePath());
  tagCommParam param;
  param.commType = 0;
  param.screenId = kScreenId;
  param.portIndex = kPort;
  param.baudRate = baud;
  param.timeoutMs = answerTimeoutMs;
  result.channel = CreateComm(param);
  return result;
}

class SerialChannelTest : public ::testing::Test {
protected:
  void TearDown() override { SetSerialDevicePath(kPort, {}); }
};

TEST_F(SerialChannelTest, EveryOperationAtBothRates) {
  for (const std::int32_t baud : {9600, 115200}) {
    SCOPED_TRACE(baud);
    SerialSign sign = Start(baud);
    ASSERT_TRUE(sign.controller && sign.channel);
    ASSERT_TRUE(sign.channel->Open()) << sign.channel->LastFailure().detail();
    ExpectEveryOperationWorks(*sign.channel, *sign.controller);
    sign.channel->Close();
    EXPECT_EQ(sign.channel->OpenCount(), 0);
  }
}

TEST_F(SerialChannelTest, NestedOpensKeepThePortUntilTheLastClose) {
  SerialSign sign = Start(115200);
  ASSERT_TRUE(sign.channel);
  auto& serial = static_cast<CCommRs232&>(*sign.channel);
  ASSERT_TRUE(serial.Open());
  ASSERT_TRUE(serial.Open());
  EXPECT_EQ(serial.OpenCount(), 2);
  ASSERT_NE(serial.Port(), nullptr);
  EXPECT_EQ(serial.Port()->OpenCount(), 1) << "the device opened once";
  EXPECT_EQ(serial.Port()->ReadTimeoutMs(), 2000);
  EXPECT_EQ(serial.Port()->Settings(), (SerialSettings{115200, 8, SerialParity::kNone, SerialStopBits::kOne}));
  serial.Close();
  EXPECT_EQ(serial.OpenCount(), 1);
  std::array<std::uint8_t, 7> clock{};
  EXPECT_TRUE(serial.ReadClock(clock)) << "still open after the inner close";
  serial.Close();
  EXPECT_EQ(serial.OpenCount(), 0);
  EXPECT_EQ(serial.Port(), nullptr);
  EXPECT_FALSE(serial.ReadClock(clock)) << "closed";
  serial.Close();
  EXPECT_EQ(serial.OpenCount(), 0) << "a close too many changes nothing";
  // The port opens again after the last close.
  ASSERT_TRUE(serial.Open()) << serial.LastFailure().detail();
  EXPECT_TRUE(serial.ReadClock(clock));
  serial.Close();
}

TEST_F(SerialChannelTest, TheDeviceIsHeldExclusively) {
  SerialSign sign = Start(9600);
  ASSERT_TRUE(sign.channel);
  // Exclusive use as the device reports it: another open fails (EBUSY), or, for a user the
  // system lets past it, the flag is set.
  const auto exclusive = [&] {
    const int other = ::open(sign.controller->DevicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (other < 0) return errno == EBUSY;
    int flag = 0;
    const bool set = ::ioctl(other, TIOCGEXCL, &flag) == 0 && flag != 0;
    ::close(other);
    return set;
  };
  EXPECT_FALSE(exclusive());
  ASSERT_TRUE(sign.channel->Open());
  EXPECT_TRUE(exclusive());
  sign.channel->Close();
  EXPECT_FALSE(exclusive()) << "released at the last close";
  if (::geteuid() != 0) {
    ASSERT_TRUE(sign.channel->Open());
    CCommRs232 second(kScreenId, kPort, 9600, 500);
    EXPECT_FALSE(second.Open()) << "a second channel cannot take the port";
    EXPECT_EQ(second.GetErrorText(), "Failed to open COM4");
    sign.channel->Close();
  }
}

TEST_F(SerialChannelTest, APortWithoutDeviceFailsToOpen) {
  SetSerialDevicePath(kPort, "/nonexistent/tty-vantorel");
  CCommRs232 channel(kScreenId, kPort, 9600, 500);
  EXPECT_FALSE(channel.Open());
  EXPECT_EQ(channel.OpenCount(), 0);
  EXPECT_EQ(channel.GetErrorText(), "Failed to open COM4");
  EXPECT_NE(channel.LastFailure().detail().find("/nonexistent/tty-vantorel"), std::string::npos);
}

TEST_F(SerialChannelTest, FaultsFailWithinTheSerialTimeout) {
  struct Row {
    const char* name;
    ControllerFault fault;
  };
  const Row rows[] = {
      {"never answers", ControllerFault::kSilent},
      {"a frame that never ends", ControllerFault::kEndlessFrame},
      {"frames restarting for ever", ControllerFault::kEndlessRestarts},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SerialSign sign = Start(115200, 500);
    ASSERT_TRUE(sign.channel && sign.channel->Open());
    sign.controller->SetFault(row.fault);
    const auto start = std::chrono::steady_clock::now();
    std::array<std::uint8_t, 7> clock{1, 2, 3, 4, 5, 6, 7};
    EXPECT_FALSE(sign.channel->ReadClock(clock));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(2000 + 1500)) << "the serial time-out is 2,000 ms";
    EXPECT_EQ(clock, (std::array<std::uint8_t, 7>{})) << "no stale bytes";
    sign.controller->SetFault(ControllerFault::kNone);
    sign.channel->Close();
  }
}

TEST_F(SerialChannelTest, AnswersShorterThanAnOperationReadsFail) {
  SerialSign sign = Start(115200);
  ASSERT_TRUE(sign.channel && sign.channel->Open());
  sign.controller->SetFault(ControllerFault::kShortAnswers);
  std::array<std::uint8_t, 24> out{};
  out.fill(0x55);
  EXPECT_FALSE(sign.channel->ReadClock(std::span(out).first(7)));
  EXPECT_FALSE(sign.channel->ReadTemperature(std::span(out).first(6), 3));
  EXPECT_FALSE(sign.channel->ReadVersion(std::span(out).first(8)));
  EXPECT_FALSE(sign.channel->ReadPowerSchedule(std::span(out).first(4)));
  EXPECT_FALSE(sign.channel->ReadBrightness(out));
  EXPECT_FALSE(sign.channel->ReadRunningInfo(std::span(out).first(8), 2));
  std::array<std::uint8_t, 256> all{};
  EXPECT_EQ(sign.channel->ReadAllVersions(all), 0);
  EXPECT_EQ(out, (std::array<std::uint8_t, 24>{})) << "outputs cleared, never stale";
  sign.controller->SetFault(ControllerFault::kNone);
  EXPECT_TRUE(sign.channel->ReadClock(std::span(out).first(7)));
  sign.channel->Close();
}

TEST_F(SerialChannelTest, DirectoryOfManyFramesBackToBack) {
  SerialSign sign = Start(115200);
  ASSERT_TRUE(sign.controller && sign.channel->Open());
  std::vector<ControllerState::File> files;
  for (int i = 0; i < 9; ++i) files.push_back({"\xA5name" + std::to_string(i), std::vector<std::uint8_t>(0xAE)});
  sign.controller->SetFiles(files);
  std::vector<ControllerFileEntry> entries;
  ASSERT_TRUE(sign.channel->ReadDirectory(1, entries));
  ASSERT_EQ(entries.size(), 9u);
  EXPECT_EQ(entries[8].name, "\xA5name8");
  EXPECT_EQ(entries[8].size, 0xAEu);
  std::array<std::uint8_t, 7> clock{};
  EXPECT_TRUE(sign.channel->ReadClock(clock));
  sign.channel->Close();
}

TEST_F(SerialChannelTest, ARequestForAnotherScreenIsNotAnswered) {
  SerialSign sign = Start(115200);
  ASSERT_TRUE(sign.controller);
  CCommRs232 other(kScreenId + 1, kPort, 115200, 500);
  ASSERT_TRUE(other.Open());
  std::array<std::uint8_t, 7> clock{};
  EXPECT_FALSE(other.ReadClock(clock));
  other.Close();
  EXPECT_TRUE(sign.controller->Log().empty());
}

}  // namespace
}  // namespace vantorel::test

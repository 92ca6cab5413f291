// A sign over several requests and runs: protection by key text and password, the protection
// command switching modes, the network probe, and state that outlives the sign's process.

#include <gtest/gtest.h>

#include <array>

#include "comm/probe.h"
#include "platform/udp_socket.h"
#include "sign_test_support.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using test::Bytes;
using test::SignLink;

Bytes ProtectionCommand(std::uint16_t flags, std::string_view password) {
  Bytes data{0, static_cast<std::uint8_t>(flags), static_cast<std::uint8_t>(flags >> 8), 1, 2, 3, 4};
  const std::string key = std::string(password) + "ZORTAKEP";
  for (std::size_t i = 0; i < key.size(); ++i) {
    const auto r = static_cast<std::uint8_t>(31 * i + 7);
    data.push_back(r);
    data.push_back(static_cast<std::uint8_t>(~(static_cast<std::uint8_t>(key[i]) ^ r)));
  }
  return data;
}

// Reads the clock through `link`: true when the answer came and parsed.
bool ReadsClock(SignLink& link, int timeoutMs = 300) {
  const auto ctx = link.Context();
  const Bytes answer = link.Ask(*ctx, KVLINK_MakeReadClockData, timeoutMs);
  std::array<std::uint8_t, 7> clock{};
  return !answer.empty() && KVLINK_ParseReadClockRet(*ctx, answer, clock) == 7;
}

// Sends the protection command; gives the Parse result.
int Protect(SignLink& link, std::uint16_t flags, std::string_view password) {
  const auto ctx = link.Context();
  const Bytes block = ProtectionCommand(flags, password);
  const Bytes answer = link.Ask(*ctx, [&](auto& c, auto o) { return KVLINK_MakeBaseProtocolData(c, o, 225, block); });
  std::array<std::uint8_t, 4> out{};
  const int result = KVLINK_ParseBaseProtocolRet(*ctx, answer, out);
  if (result == 2) {
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 2), (Bytes{0, 1}));
  }
  return result;
}

std::optional<ProbeInfo> Probe(std::uint16_t port) {
  std::array<char, 512> line{};
  const int length = KVLINK_GetInfo(kLoopbackIpv4, line, port, 1000);
  if (length <= 0) return std::nullopt;
  return ReadProbeLine(std::string_view(line.data(), static_cast<std::size_t>(length)));
}

class SignSessionTest : public ::testing::Test {
protected:
  test::TempFolder m_temp;
};

TEST_F(SignSessionTest, ThreadProtectedSignTakesOnlyRequestsWithItsKey) {
  SignOptions options = test::TestSignOptions(m_temp.Path());
  options.keyText = "Kx9#q";
  options.password = "pass5678";
  struct Row {
    const char* name;
    int signMode;
    std::string key, mode, password;
    bool answered;
  };
  const Row rows[] = {
      {"mode 2, the key", 2, "Kx9#q", "2", "", true},
      {"mode 2, another key", 2, "Kx9#Q", "2", "", false},
      {"mode 2, unprotected", 2, "", "1", "", false},
      {"mode 2, key and password", 2, "Kx9#q", "32770", "pass5678", true},
      {"mode 32770, key and password", 32770, "Kx9#q", "32770", "pass5678", true},
      {"mode 32770, wrong password", 32770, "Kx9#q", "32770", "pass5679", false},
      {"mode 32770, key only", 32770, "Kx9#q", "2", "", false},
      {"mode 1, unprotected", 1, "", "1", "", true},
      {"mode 1, the key", 1, "Kx9#q", "2", "", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    options.protectMode = row.signMode;
    test::RunningSign sign(options);
    ASSERT_TRUE(sign.ok());
    const auto link = SignLink::Tcp(sign.Port());
    link->Protect(row.key, row.mode, row.password);
    EXPECT_EQ(ReadsClock(*link), row.answered);
    const auto probe = Probe(sign.Port());
    ASSERT_TRUE(probe.has_value());
    EXPECT_EQ(probe->mode, row.signMode);
    EXPECT_EQ(probe->keyText, "Kx9#q");
  }
}

TEST_F(SignSessionTest, ThreadProtectionCommandSwitchesTheModeTheProbeReports) {
  SignOptions options = test::TestSignOptions(m_temp.Path());
  options.keyText = "key-1";
  options.password = "custom88";
  options.protectOptions = 3;
  options.name = "Gate sign";
  test::RunningSign sign(options);
  ASSERT_TRUE(sign.ok());
  auto probe = Probe(sign.Port());
  ASSERT_TRUE(probe.has_value());
  EXPECT_EQ(probe->name, "Gate sign");
  EXPECT_EQ(probe->model, "Korvan-M5");
  EXPECT_EQ(probe->options, 3);
  EXPECT_EQ(probe->mode, 1);

  const auto link = SignLink::Tcp(sign.Port());
  EXPECT_EQ(Protect(*link, 2, "velorupo"), kKvlinkRefused);   // not its default password
  EXPECT_EQ(Protect(*link, 2, "velorupa"), 2);                // on, with the default password
  EXPECT_EQ(Probe(sign.Port())->mode, 2);
  EXPECT_FALSE(ReadsClock(*link));                            // unprotected requests go unanswered now
  link->Protect("key-1", "2");
  EXPECT_TRUE(ReadsClock(*link));
  EXPECT_EQ(Protect(*link, 0x8002, "velorupa"), kKvlinkRefused);   // the custom password is another
  EXPECT_EQ(Protect(*link, 0x8002, "custom88"), 2);
  EXPECT_EQ(Probe(sign.Port())->mode, 0x8002);
  EXPECT_FALSE(ReadsClock(*link));
  link->Protect("key-1", "32770", "custom88");
  EXPECT_TRUE(ReadsClock(*link));
  EXPECT_EQ(Protect(*link, 1, "velorupa"), 2);                // off
  EXPECT_EQ(Probe(sign.Port())->mode, 1);
  link->Protect("", "1");
  EXPECT_TRUE(ReadsClock(*link));
}

TEST_F(SignSessionTest, ThreadAProbeThatIsNotOneGetsNoAnswer) {
  test::RunningSign sign(test::TestSignOptions(m_temp.Path()));
  ASSERT_TRUE(sign.ok());
  Expected<UdpSocket> socket = UdpSocket::Bind(kLoopbackIpv4, 0);
  ASSERT_TRUE(socket.ok());
  const Bytes wrong{'K', 'V', '?', '!'};
  ASSERT_TRUE(socket->SendTo(kLoopbackIpv4, sign.Port(), wrong).ok());
  std::array<std::uint8_t, 512> buffer{};
  const Expected<Datagram> answer = socket->Receive(buffer, 300);
  ASSERT_TRUE(answer.ok());
  EXPECT_EQ(answer->size, 0u);
  EXPECT_TRUE(Probe(sign.Port()).has_value());
}

TEST_F(SignSessionTest, ThreadSettingsOutliveTheSign) {
  const std::array<std::uint8_t, 4> power{7, 15, 21, 45};
  std::array<std::uint8_t, 24> brightness{};
  brightness.fill(9);
  brightness[20] = 255;
  const std::array<std::uint8_t, 7> clock{0, 0, 12, 0, 1, 1, 40};   // 2040-01-01 12:00
  {
    test::RunningSign sign(test::TestSignOptions(m_temp.Path()));
    ASSERT_TRUE(sign.ok());
    const auto link = SignLink::Tcp(sign.Port());
    const auto ask = [&](auto make, auto parse) {
      const auto ctx = link->Context();
      EXPECT_EQ(parse(*ctx, link->Ask(*ctx, make)), 0);
    };
    ask([&](auto& c, auto o) { return KVLINK_MakeWritePowerScheduleData(c, o, power); },
        KVLINK_ParseWritePowerScheduleRet);
    ask([&](auto& c, auto o) { return KVLINK_MakeWriteBrightnessData(c, o, brightness); },
        KVLINK_ParseWriteBrightnessRet);
    ask([&](auto& c, auto o) { return KVLINK_MakeSetClockData(c, o, clock); }, KVLINK_ParseSetClockRet);
    const std::array<std::uint8_t, 6> adjust{0, 4, 0, 0, 0x83, 0};
    ask([&](auto& c, auto o) { return KVLINK_MakeWriteTemperatureAdjustData(c, o, adjust); },
        KVLINK_ParseWriteTemperatureAdjustRet);
    EXPECT_EQ(Protect(*link, 2, "velorupa"), 2);
    sign.Stop();
  }
  test::RunningSign again(test::TestSignOptions(m_temp.Path()));
  ASSERT_TRUE(again.ok());
  const auto link = SignLink::Tcp(again.Port());
  link->Protect("vantorel", "2");
  const auto ctx = link->Context();
  std::array<std::uint8_t, 24> read{};
  EXPECT_EQ(KVLINK_ParseReadBrightnessRet(*ctx, link->Ask(*ctx, KVLINK_MakeReadBrightnessData), read), 24);
  EXPECT_EQ(read, brightness);
  const auto ctx2 = link->Context();
  std::array<std::uint8_t, 4> readPower{};
  EXPECT_EQ(KVLINK_ParseReadPowerScheduleRet(*ctx2, link->Ask(*ctx2, KVLINK_MakeReadPowerScheduleData), readPower), 4);
  EXPECT_EQ(readPower, power);
  const auto ctx3 = link->Context();
  std::array<std::uint8_t, 7> readClock{};
  EXPECT_EQ(KVLINK_ParseReadClockRet(*ctx3, link->Ask(*ctx3, KVLINK_MakeReadClockData), readClock), 7);
  EXPECT_EQ(Bytes(readClock.begin() + 2, readClock.end()), Bytes(clock.begin() + 2, clock.end()));
  const auto ctx4 = link->Context();
  std::array<std::uint8_t, 6> temperature{};
  EXPECT_EQ(KVLINK_ParseReadTemperatureRet(
                *ctx4, link->Ask(*ctx4, [](auto& c, auto o) { return KVLINK_MakeReadTemperatureData(c, o, 3); }),
                temperature),
            6);
  EXPECT_EQ(temperature[5], 0x83);
  EXPECT_EQ(Probe(again.Port())->mode, 2);
}

}  // namespace
}  // namespace vantorel

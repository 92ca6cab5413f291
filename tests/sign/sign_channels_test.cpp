// The program's own channels (CreateComm: the network channel over TCP with its probe and
// protection switching, the serial line channel over the sign's pseudo-terminal) against the
// virtual sign: every controller operation of CUniComm, and the faults as a channel meets them.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <fstream>
#include <iterator>

#include "comm/comm_lan.h"
#include "comm/create_comm.h"
#include "comm/serial_port_table.h"
#include "screen/controller_types.h"
#include "sign_test_support.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using test::Bytes;

tagCommParam NetworkParams(std::uint16_t port) {
  tagCommParam param;
  param.modelCode = kModelM7;   // a model the network channel probes
  param.commType = 2;
  param.ipv4 = kLoopbackIpv4;
  param.port = port;
  param.idCode = 0xFFFFFFFF;
  return param;
}

tagCommParam SerialParams(std::uint8_t screenId, int baud) {
  tagCommParam param;
  param.modelCode = kModelM5;
  param.commType = 0;
  param.screenId = screenId;
  param.portIndex = 0;
  param.baudRate = baud;
  param.timeoutMs = 500;
  return param;
}

// Every controller operation through the channel, checked against what the sign keeps.
void RunEveryOperation(CUniComm& comm, const std::filesystem::path& store) {
  std::array<std::uint8_t, 256> out{};
  EXPECT_TRUE(comm.ReadVersion(out));
  EXPECT_EQ(out[1], 98);
  EXPECT_GE(comm.ReadAllVersions(out), 24);
  EXPECT_EQ(out[0], 0x62);
  const std::array<std::uint8_t, 7> clock{30, 15, 9, 3, 9, 12, 26};
  EXPECT_TRUE(comm.SetClock(clock));
  EXPECT_TRUE(comm.ReadClock(out));
  EXPECT_EQ(Bytes(out.begin() + 1, out.begin() + 7), Bytes(clock.begin() + 1, clock.end()));
  EXPECT_TRUE(comm.WriteTemperatureAdjust(std::array<std::uint8_t, 6>{0, 4, 0, 0, 0x01, 0}));
  EXPECT_TRUE(comm.ReadTemperature(out, 3));
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 3), (Bytes{1, 0x01, 0xA5}));   // 25.5 + 1 = 26.5 C
  std::uint32_t answered = 0, refused = 0;
  EXPECT_TRUE(comm.ReadCounters(0, answered, refused));
  EXPECT_GT(answered, 0u);
  const std::array<std::uint8_t, 4> power{7, 0, 23, 30};
  EXPECT_TRUE(comm.WritePowerSchedule(power));
  EXPECT_TRUE(comm.ReadPowerSchedule(out));
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 4), Bytes(power.begin(), power.end()));
  EXPECT_TRUE(comm.WriteSoftwareSwitchInfo(Bytes{5, 6}));
  EXPECT_TRUE(comm.ReadSoftwareSwitchInfo(out));
  EXPECT_EQ(out[0], 5);
  std::array<std::uint8_t, 24> brightness{};
  brightness.fill(20);
  EXPECT_TRUE(comm.WriteBrightness(brightness));
  EXPECT_TRUE(comm.ReadBrightness(out));
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 24), Bytes(brightness.begin(), brightness.end()));
  Bytes message(22 + 3, 0);
  message[0] = 119, message[21] = 3, message[2] = 3;
  message[22] = 'A', message[23] = 'B', message[24] = 'C';
  EXPECT_TRUE(comm.SendInstantMessage(message, 0, 17));
  EXPECT_TRUE(std::filesystem::exists(store / "messages" / "000001.msg"));
  EXPECT_TRUE(comm.ReadRunningInfo(out, 2));
  EXPECT_EQ(out[1], 1);
  EXPECT_TRUE(comm.BaseCommand(true));
  EXPECT_TRUE(comm.BaseCommand(false));
  EXPECT_TRUE(comm.Restart());
  EXPECT_TRUE(comm.RestartLegacy());

  const Bytes info{26, 12, 9, 9, 15, 30};
  const Bytes content(1000, 0x33);
  EXPECT_EQ(comm.OpenWrite("show.lpp", 1000, info), 1);
  std::uint32_t cookie = 0;
  EXPECT_EQ(comm.WriteBlock(std::span(content).first(600), cookie), 1);
  EXPECT_EQ(comm.WriteBlock(std::span(content).subspan(600), cookie), 1);
  EXPECT_EQ(comm.CloseWrite(cookie), 1);
  EXPECT_EQ(comm.StartFastWrite("other.lpp", 10, info), 17);
  std::vector<ControllerFileEntry> list;
  EXPECT_TRUE(comm.ReadDirectory(1, list));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].name, "show.lpp");
  EXPECT_EQ(list[0].size, 1000u);
  std::uint32_t size = 0;
  EXPECT_EQ(comm.ReadFileBack("show.lpp", 990, 100, out, size), 10);
  EXPECT_EQ(size, 1000u);
  EXPECT_GT(comm.QueryControllerInfo(0, out), 2);
  const int free = comm.GetFreeSpace(1);
  EXPECT_GT(free, 0);
  EXPECT_EQ(comm.GetFreeSpace64(1), static_cast<std::uint64_t>(free));
  EXPECT_TRUE(comm.DeleteFiles("*.*"));
  EXPECT_EQ(comm.FormatStorage(1), 1);
  EXPECT_TRUE(std::filesystem::is_empty(store / "files"));
}

class SignChannelsTest : public ::testing::Test {
protected:
  ~SignChannelsTest() override { ResetSerialPortTable(); }
  test::TempFolder m_temp;
};

TEST_F(SignChannelsTest, ThreadNetworkChannelRunsEveryOperationAndSwitchesProtection) {
  SignOptions options = test::TestSignOptions(m_temp.Path());
  options.protectOptions = 3;   // on at open, off at close
  test::RunningSign sign(options);
  ASSERT_TRUE(sign.ok());
  tagCommParam param = NetworkParams(sign.Port());
  const auto comm = CreateComm(param);
  ASSERT_NE(comm, nullptr);
  ASSERT_TRUE(comm->Open()) << comm->GetErrorText();
  EXPECT_EQ(comm->ProtectionMode(), 2);   // switched on with the default password
  RunEveryOperation(*comm, m_temp.Path());
  comm->Close();
  sign.Stop();
  // Switched off again at the last close: the stored mode is 1.
  std::string state;
  std::ifstream in(m_temp / "state.txt");
  state.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  EXPECT_NE(state.find("protection-mode=1\n"), std::string::npos) << state;
}

TEST_F(SignChannelsTest, ThreadSerialChannelRunsEveryOperationAtEachRate) {
  for (const int baud : {9600, 115200}) {
    SCOPED_TRACE(baud);
    test::TempFolder store;
    SignOptions options = test::TestSignOptions(store.Path());
    options.screenId = 5;
    test::RunningSign sign(options);
    ASSERT_TRUE(sign.ok());
    SetSerialDevicePath(0, sign.SerialPath());
    tagCommParam param = SerialParams(5, baud);
    const auto comm = CreateComm(param);
    ASSERT_NE(comm, nullptr);
    ASSERT_TRUE(comm->Open()) << comm->GetErrorText();
    RunEveryOperation(*comm, store.Path());
    comm->Close();
  }
}

TEST_F(SignChannelsTest, ThreadAChannelMeetingAFaultFailsWithinItsTimeOut) {
  struct Row {
    const char* name;
    SignFaultOptions faults;
  };
  const Row rows[] = {
      {"no answer", {1.0, 0, 0, 0, 1}},
      {"a corrupted answer", {0, 1.0, 0, 0, 1}},
      {"disconnected mid-answer", {0, 0, 0, 10, 1}},
      {"answer later than the time-out", {0, 0, 1500, 0, 1}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::TempFolder store;
    SignOptions options = test::TestSignOptions(store.Path());
    options.faults = row.faults;
    test::RunningSign sign(options);
    ASSERT_TRUE(sign.ok());
    tagCommParam param = NetworkParams(sign.Port());
    param.modelCode = kModelM5;   // no probe: the fault meets the operation
    const auto comm = CreateComm(param);
    auto* lan = dynamic_cast<CCommLan*>(comm.get());
    ASSERT_NE(lan, nullptr);
    LanTimeouts timeouts;
    timeouts.receiveMs = 700;
    timeouts.pauseMs = 0;
    lan->SetTimeouts(timeouts);
    ASSERT_TRUE(comm->Open()) << comm->GetErrorText();
    const auto start = std::chrono::steady_clock::now();
    std::array<std::uint8_t, 100> out{};
    EXPECT_FALSE(comm->ReadClock(out));
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(elapsed, 1400);
    comm->Close();
  }
}

}  // namespace
}  // namespace vantorel

// The channel framework without a partner: the checksum, the password and protection blocks,
// the factory, the connection parameters, the pacing tables and the port table.

#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>

#include "comm/comm_lan.h"
#include "comm/comm_rs232.h"
#include "comm/connection_params.h"
#include "comm/create_comm.h"
#include "comm/serial_port_table.h"
#include "comm/sign_protocol.h"
#include "comm/uni_comm.h"
#include "screen/controller_types.h"

namespace vantorel::test {
namespace {

RandomSource Constant(std::uint32_t value) {
  return [value] { return value; };
}

RandomSource Counting() {
  auto next = std::make_shared<std::uint32_t>(0);
  return [next] { return (*next)++ * 2654435761u; };
}

TEST(UniCommTest, AppendChecksum) {
  struct Row {
    const char* name;
    std::vector<std::uint8_t> data;
    std::uint16_t sum;
  };
  const Row rows[] = {
      {"five bytes: (a + c) + (b + d) + e", {10, 20, 30, 40, 50}, 150},
      {"pairs only", {0xFF, 0xFF, 0xFF, 0xFF}, 0x3FC},
      {"one byte", {0x80}, 0x80},
      {"nothing", {}, 0},
      {"16-bit wrap", std::vector<std::uint8_t>(600, 0xFF), static_cast<std::uint16_t>(600 * 255)},
      {"odd length with a large last byte", {1, 2, 0xFE}, 0x101},
  };
  CCommLan channel(0x7F000001, 0, 5200, "", "", "");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::uint8_t> buffer = row.data;
    buffer.resize(buffer.size() + 2, 0xEE);
    const int length = static_cast<int>(row.data.size());
    EXPECT_EQ(channel.AppendChecksum(buffer, length), length + 2);
    EXPECT_EQ(buffer[row.data.size()], row.sum & 0xFF);
    EXPECT_EQ(buffer[row.data.size() + 1], row.sum >> 8);
    EXPECT_TRUE(std::equal(row.data.begin(), row.data.end(), buffer.begin()));
    // No room for the two bytes: nothing written.
    std::vector<std::uint8_t> tight = row.data;
    tight.push_back(0xEE);
    EXPECT_EQ(channel.AppendChecksum(tight, length), -1);
    EXPECT_EQ(tight.back(), 0xEE);
  }
}

TEST(UniCommTest, PasswordBlockFromTheDrawnNumbers) {
  std::array<std::uint8_t, 36> block{};
  // Every draw 1: s = 2 and r = 1, so each pair is (NOT(k XOR 1), 1).
  ASSERT_TRUE(BuildPasswordBlock("velorupa", block, Constant(1)));
  EXPECT_EQ(block[0] | block[1] << 8 | block[2] << 16 | static_cast<std::uint32_t>(block[3]) << 24, 0xAAAAAAA8u);
  EXPECT_EQ(block[4], 0x88);
  EXPECT_EQ(block[5], 0x01);
  EXPECT_EQ(block[6], 0x9B);  // 'e'
  EXPECT_EQ(block[7], 0x01);
  // Every draw 0: s = 1 and r = 0, so each pair is (0, NOT k).
  ASSERT_TRUE(BuildPasswordBlock("velorupa", block, Constant(0)));
  EXPECT_EQ(block[0] | block[1] << 8 | block[2] << 16 | static_cast<std::uint32_t>(block[3]) << 24, 0x55555554u);
  EXPECT_EQ(block[4], 0x00);
  EXPECT_EQ(block[5], 0x89);
  // Any draws: the controller side reads the password back.
  for (const char* password : {"velorupa", "pass5678", "\x01\x02\xFF\xA5\xAE...", "ZORTAKEP"}) {
    SCOPED_TRACE(password);
    for (const RandomSource& random : {Counting(), TimeSeededRandom()}) {
      ASSERT_TRUE(BuildPasswordBlock(password, block, random));
      EXPECT_EQ(ReadPasswordBlock(block).value_or("?"), password);
      for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(static_cast<std::uint8_t>(block[4 + 2 * i] ^ block[5 + 2 * i]),
                  static_cast<std::uint8_t>(~password[i]));
      }
    }
  }
}

TEST(UniCommTest, PasswordBlockIsBuiltOnlyForEightCharactersAndRoom) {
  struct Row {
    const char* name;
    std::string password;
    std::size_t room;
    bool built;
  };
  const Row rows[] = {
      {"seven characters", "velorup", 36, false}, {"nine characters", "velorupas", 36, false},
      {"empty", "", 36, false},                    {"eight", "velorupa", 36, true},
      {"no room", "velorupa", 35, false},          {"more room", "velorupa", 40, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::uint8_t> out(row.room, 0xEE);
    EXPECT_EQ(BuildPasswordBlock(row.password, out, Counting()), row.built);
    if (!row.built) {
      EXPECT_EQ(out, std::vector<std::uint8_t>(row.room, 0xEE)) << "nothing written";
    }
  }
}

TEST(UniCommTest, AuthBlock) {
  struct Row {
    const char* name;
    std::uint16_t flags;
    std::string password;
    const char* carried;   // nullptr: zeros
  };
  const Row rows[] = {
      {"default password unless flag 0x8000", 2, "pass5678", "velorupa"},
      {"custom password with 0x8000", 0x8002, "pass5678", "pass5678"},
      {"custom password of 7 characters: zeros", 0x8002, "pass567", nullptr},
      {"custom password of 9 characters: zeros", 0x8001, "pass56789", nullptr},
      {"switch off with the default", 1, "", "velorupa"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::vector<std::uint8_t> block = BuildAuthBlock(row.flags, row.password, Counting());
    ASSERT_EQ(block.size(), 39u);
    EXPECT_EQ(block[0], 0);
    EXPECT_EQ(block[1], row.flags & 0xFF);
    EXPECT_EQ(block[2], row.flags >> 8);
    const auto password = std::span(block).subspan(3);
    if (row.carried == nullptr) {
      EXPECT_TRUE(std::all_of(password.begin(), password.end(), [](std::uint8_t b) { return b == 0; }));
    } else {
      EXPECT_EQ(ReadPasswordBlock(password).value_or("?"), row.carried);
    }
  }
}

TEST(UniCommTest, CreateCommPerType) {
  struct Row {
    const char* name;
    std::uint8_t type;
    int protocolKind;
    std::uint8_t address;
    bool network;
    int blockSize, packetSize, pause;
    bool wait;
  };
  const Row rows[] = {
      {"serial 9600", 0, 0, 9, false, 512, 112, 25, true},
      {"GPRS DTU", 1, 0, 255, false, 512, 512, 10, false},
      {"network", 2, 1, 255, true, 512, 512, 2, false},
      {"relay, network", 3, 2, 255, false, 1000, 1000, 26, false},
      {"relay, GPRS", 4, 3, 255, false, 1000, 1000, 500, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    tagCommParam param;
    param.commType = row.type;
    param.screenId = 9;
    param.baudRate = 9600;
    param.subMode = 3;
    param.modelCode = kModelM2;
    param.ipv4 = 0x7F000001;
    const auto channel = CreateComm(param);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->GetType(), row.type);
    EXPECT_EQ(channel->ProtocolKind(), row.protocolKind);
    EXPECT_EQ(channel->Address(), row.address);
    EXPECT_EQ(channel->IsNetwork(), row.network);
    EXPECT_EQ(channel->BlockSize(), row.blockSize);
    EXPECT_EQ(channel->PacketSize(), row.packetSize);
    EXPECT_EQ(channel->PacketPause(), row.pause);
    EXPECT_EQ(channel->WaitEachPacket(), row.wait);
    EXPECT_EQ(channel->SubMode(), 3);
    EXPECT_EQ(channel->ModelCode(), kModelM2);
    EXPECT_EQ(channel->OpenCount(), 0);
    EXPECT_EQ(channel->FtpUpload("/tmp/x", "x", 1, {}), -1);
  }
  for (const int type : {5, 6, 255}) {
    tagCommParam param;
    param.commType = static_cast<std::uint8_t>(type);
    EXPECT_EQ(CreateComm(param), nullptr) << type;
  }
}

TEST(UniCommTest, ChannelsThatCannotOpenYetSayWhy) {
  struct Row {
    const char* name;
    std::uint8_t type, subMode;
    const char* deviceId;
    const char* text;
  };
  const Row rows[] = {
      {"GPRS DTU", 1, 0, "", "Connections over GPRS DTU are not available in this version."},
      {"relay over network", 3, 0, "",
       "Connections over relay server (controller on the network) are not available in this version."},
      {"relay with GPRS", 4, 0, "",
       "Connections over relay server (GPRS on the controller board) are not available in this version."},
      {"network, name lookup", 2, 1, "@@sign-7",
       "The name lookup that finds controller sign-7 is not available in this version."},
      {"network, search by name", 2, 1, "sign-7",
       "The network search that finds controller sign-7 is not available in this version."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    tagCommParam param;
    param.commType = row.type;
    param.subMode = row.subMode;
    param.deviceId = row.deviceId;
    const auto channel = CreateComm(param);
    ASSERT_NE(channel, nullptr);
    EXPECT_FALSE(channel->Open());
    EXPECT_EQ(channel->OpenCount(), 0);
    EXPECT_EQ(channel->GetErrorText(), row.text);
    EXPECT_FALSE(channel->LastFailure().ok());
    std::array<std::uint8_t, 7> clock{};
    EXPECT_FALSE(channel->ReadClock(clock));
    EXPECT_EQ(channel->OpenWrite("a", 1, {}), kCommSendFailed);
  }
}

TEST(UniCommTest, SetPacketPauseReturnsThePrevious) {
  CCommRs232 serial(1, 0, 9600, 1000);
  EXPECT_EQ(serial.SetPacketPause(40), 10);
  EXPECT_EQ(serial.SetPacketPause(7), 40);
  EXPECT_EQ(serial.PacketPause(), 25) << "the serial pause follows the baud rate";
  CCommLan lan(0x7F000001, 0, 5200, "", "", "");
  EXPECT_EQ(lan.SetPacketPause(40), 2);
  EXPECT_EQ(lan.PacketPause(), 40);
}

TEST(UniCommTest, ConnectionParamsFromAScreen) {
  tagScreenInfo screen;
  screen.type = 7;
  screen.number = 12;
  screen.model = kModelM4;
  tagCommInfo comm;
  comm.commType = 2;
  comm.subMode = 1;
  comm.portIndex = 2;
  comm.baudRate = 57600;
  comm.timeout = 3000;
  comm.gprsId = "@sign";
  comm.domain = "relay.example";
  comm.ipAddr = 0x0A000002;
  comm.idCode = 0xDEADBEEF;
  comm.ipPort = 5300;
  comm.userName = "ana";
  comm.password = "secret";
  tagCommParam expected;
  expected.modelCode = kModelM4;
  expected.screenId = 12;
  expected.commType = 2;
  expected.subMode = 1;
  expected.portIndex = 2;
  expected.baudRate = 57600;
  expected.timeoutMs = 3000;
  expected.relayHost = "relay.example";
  expected.ipv4 = 0x0A000002;
  expected.idCode = 0xDEADBEEF;
  expected.port = 5300;
  expected.deviceId = "@sign";
  expected.relayUser = "ana";
  expected.relayPassword = "secret";
  expected.fileServiceUser = "root";
  expected.fileServicePassword = "QrVsK274";
  EXPECT_EQ(ConnectionParamsFor(screen, comm), expected);
  screen.type = 6;
  expected.fileServiceUser.clear();
  expected.fileServicePassword.clear();
  EXPECT_EQ(ConnectionParamsFor(screen, comm), expected);
  EXPECT_TRUE(ConnectionParamsFor(screen, comm).customPassword.empty());
}

TEST(UniCommTest, NetworkChannelGetsTheParameters) {
  tagCommParam param;
  param.commType = 2;
  param.ipv4 = 0xC0A801DE;
  param.port = 5201;
  param.idCode = 77;
  param.customPassword = "pass5678";
  param.fileServiceUser = "root";
  param.fileServicePassword = "QrVsK274";
  const auto channel = CreateComm(param);
  const auto* lan = dynamic_cast<const CCommLan*>(channel.get());
  ASSERT_NE(lan, nullptr);
  EXPECT_EQ(lan->Ipv4(), 0xC0A801DEu);
  EXPECT_EQ(lan->Port(), 5201);
  EXPECT_EQ(lan->ContextIdCode(), 77u);
  EXPECT_EQ(lan->CustomPassword(), "pass5678");
  EXPECT_EQ(lan->FileServiceUser(), "root");
  EXPECT_EQ(lan->FileServicePassword(), "QrVsK274");
  EXPECT_EQ(lan->GetErrorText(), "Failed to connect 192.168.1.222 : 5201");
  EXPECT_EQ(lan->Timeouts().connectMs, 5000);
  EXPECT_EQ(lan->Timeouts().sendMs, 45000);
  EXPECT_EQ(lan->Timeouts().receiveMs, 45000);
  EXPECT_EQ(lan->Timeouts().pauseMs, 50);
}

TEST(UniCommTest, SerialTables) {
  struct Row {
    int baud;
    int timeoutFrom500, timeoutFrom5000, packetSize, pause;
  };
  const Row rows[] = {
      {1200, 2000, 5000, 112, 50},   {2400, 2600, 5600, 112, 40},  {4800, 2500, 5500, 112, 30},
      {9600, 2400, 5400, 112, 25},   {19200, 2300, 5300, 112, 20}, {38400, 2200, 5200, 112, 15},
      {57600, 2100, 5100, 512, 13},  {115200, 2000, 5000, 512, 12}, {230400, 2000, 5000, 512, 12},
      {14400, 2000, 5000, 112, 25},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.baud);
    EXPECT_EQ(SerialTimeoutMs(500, row.baud), row.timeoutFrom500);
    EXPECT_EQ(SerialTimeoutMs(5000, row.baud), row.timeoutFrom5000);
    EXPECT_EQ(SerialPacketSize(row.baud), row.packetSize);
    EXPECT_EQ(SerialPacketPause(row.baud), row.pause);
    CCommRs232 channel(1, 0, row.baud, 500);
    EXPECT_EQ(channel.PacketSize(), row.packetSize);
    EXPECT_EQ(channel.PacketPause(), row.pause);
    EXPECT_EQ(channel.TimeoutMs(), row.timeoutFrom500);
  }
}

TEST(UniCommTest, SerialPortOverrides) {
  using Entries = std::vector<std::pair<int, std::string>>;
  struct Row {
    const char* name;
    const char* text;
    std::optional<Entries> entries;
  };
  const Row rows[] = {
      {"two", "0=/dev/pts/5,1=/dev/ttyUSB0", Entries{{0, "/dev/pts/5"}, {1, "/dev/ttyUSB0"}}},
      {"blanks and empty entries", " 3 = /dev/x , ,98=/dev/y,", Entries{{3, "/dev/x"}, {98, "/dev/y"}}},
      {"empty", "", Entries{}},
      {"index 99", "99=/dev/x", std::nullopt},
      {"no equals", "0/dev/x", std::nullopt},
      {"no path", "0=", std::nullopt},
      {"letters", "a=/dev/x", std::nullopt},
      {"negative", "-1=/dev/x", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ParseSerialPortOverrides(row.text), row.entries);
  }
}

TEST(UniCommTest, SerialPortTableLayers) {
  ::setenv(kSerialPortsVariable, "1=/dev/from-env,2=/dev/env2", 1);
  ResetSerialPortTable();
  EXPECT_EQ(SerialDevicePath(0), "/dev/ttyS0");
  EXPECT_EQ(SerialDevicePath(1), "/dev/from-env");
  SetSerialDevicePath(1, "/dev/set");
  EXPECT_EQ(SerialDevicePath(1), "/dev/set") << "the setter wins";
  SetSerialDevicePath(1, "");
  EXPECT_EQ(SerialDevicePath(1), "/dev/from-env");
  EXPECT_EQ(SerialDevicePath(-1), "");
  EXPECT_EQ(SerialDevicePath(99), "");
  ::setenv(kSerialPortsVariable, "garbage", 1);
  ResetSerialPortTable();
  EXPECT_EQ(SerialDevicePath(1), "/dev/ttyS1") << "a malformed variable changes nothing";
  ::unsetenv(kSerialPortsVariable);
  ResetSerialPortTable();
}

}  // namespace
}  // namespace vantorel::test

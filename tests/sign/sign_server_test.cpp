// The sign served over TCP on 127.0.0.1 and over its pseudo-terminal, asked with the program
// side's Make functions and read with its Parse functions. The sign runs on a thread of its own.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <fstream>
#include <iterator>
#include <set>

#include "comm/operations.h"
#include "comm/probe.h"
#include "platform/udp_socket.h"
#include "sign_test_support.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using test::Bytes;
using test::SignLink;

// An instant message block of the send dialog's layout with `text`.
Bytes MessageBlock(std::string_view text) {
  Bytes block(22 + text.size(), 0);
  std::copy(text.begin(), text.end(), block.begin() + 22);
  block[0] = 119;
  block[3] = 1;              // loop count
  block[8] = 0, block[9] = 128, block[11] = 64;
  block[12] = 0x12;
  block[18] = 50, block[19] = 3;
  block[20] = static_cast<std::uint8_t>(text.size() >> 8), block[21] = static_cast<std::uint8_t>(text.size());
  std::uint16_t sum = 0;
  for (std::size_t i = 3; i <= 21; ++i) sum = static_cast<std::uint16_t>(sum + block[i]);
  block[1] = static_cast<std::uint8_t>(sum >> 8), block[2] = static_cast<std::uint8_t>(sum);
  return block;
}

// The protection command's block: 0, flags, the 36-byte password block of `password`.
Bytes ProtectionBlock(std::uint16_t flags, std::string_view password) {
  Bytes data{0, static_cast<std::uint8_t>(flags), static_cast<std::uint8_t>(flags >> 8), 0x10, 0x20, 0x30, 0x40};
  const std::string key = std::string(password) + "ZORTAKEP";
  for (std::size_t i = 0; i < key.size(); ++i) {
    const auto r = static_cast<std::uint8_t>(17 * i + 5);
    const auto scrambled = static_cast<std::uint8_t>(~(static_cast<std::uint8_t>(key[i]) ^ r));
    data.push_back(i % 2 ? r : scrambled);
    data.push_back(i % 2 ? scrambled : r);
  }
  return data;
}

struct Case {
  const char* name;
  std::vector<Op> ops;   // what the case asks
  std::function<void(SignLink&, const std::filesystem::path& store)> run;
};

using Make = std::function<int(KvlinkContext&, std::span<std::uint8_t>)>;

// Asks with `make` on a fresh context and parses with `parse`; gives the Parse result.
int AskParse(SignLink& link, const Make& make,
             const std::function<int(KvlinkContext&, std::span<const std::uint8_t>)>& parse) {
  const auto ctx = link.Context();
  const Bytes answer = link.Ask(*ctx, make);
  EXPECT_FALSE(answer.empty()) << "no answer";
  return parse(*ctx, answer);
}

std::vector<Case> Cases() {
  std::vector<Case> cases;
  cases.push_back({"version", {Op::kReadVersion, Op::kReadAllVersions}, [](SignLink& link, const auto&) {
    std::array<std::uint8_t, 20> version{};
    EXPECT_EQ(AskParse(link, KVLINK_MakeReadVersionData,
                       [&](auto& c, auto a) { return KVLINK_ParseReadVersionRet2(c, a, version); }), 8);
    EXPECT_EQ(Bytes(version.begin(), version.begin() + 8), (Bytes{0x62, 98, 0x12, 0x00, 0x10, 0x00, 0x15, 0x00}));
    std::array<std::uint8_t, 256> all{};
    EXPECT_GE(AskParse(link, KVLINK_MakeReadAllVerData,
                       [&](auto& c, auto a) { return KVLINK_ParseReadAllVerRet(c, a, all); }), 24);
    EXPECT_EQ(Bytes(all.begin(), all.begin() + 6), (Bytes{0x62, 6, 0x02, 0x01, 0x45, 0x00}));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&all[12])), "Korvan-M5");
  }});
  cases.push_back({"clock", {Op::kSetClock, Op::kReadClock}, [](SignLink& link, const auto&) {
    const std::array<std::uint8_t, 7> set{9, 8, 7, 2, 6, 5, 31};   // 2031-05-06 07:08:09, a Tuesday
    EXPECT_EQ(AskParse(link, [&](auto& c, auto o) { return KVLINK_MakeSetClockData(c, o, set); },
                       KVLINK_ParseSetClockRet), 0);
    std::array<std::uint8_t, 7> read{};
    EXPECT_EQ(AskParse(link, KVLINK_MakeReadClockData,
                       [&](auto& c, auto a) { return KVLINK_ParseReadClockRet(c, a, read); }), 7);
    EXPECT_EQ(Bytes(read.begin() + 1, read.end()), Bytes(set.begin() + 1, set.end()));
    EXPECT_GE(read[0], 9);
    EXPECT_LE(read[0], 12);
  }});
  cases.push_back({"temperature", {Op::kReadTemperature, Op::kWriteTemperatureAdjust}, [](SignLink& link, const auto&) {
    std::array<std::uint8_t, 100> t{};
    EXPECT_EQ(AskParse(link, [](auto& c, auto o) { return KVLINK_MakeReadTemperatureData(c, o, 3); },
                       [&](auto& c, auto a) { return KVLINK_ParseReadTemperatureRet(c, a, t); }), 6);
    EXPECT_EQ(Bytes(t.begin(), t.begin() + 6), (Bytes{0x01, 0x01, 0x95, 0x04, 0xD9, 0x00}));   // 25.5 C, 77.9 F
    const std::array<std::uint8_t, 6> adjust{0, 4, 0, 0, 0x42, 0};                               // -2 C
    EXPECT_EQ(AskParse(link, [&](auto& c, auto o) { return KVLINK_MakeWriteTemperatureAdjustData(c, o, adjust); },
                       KVLINK_ParseWriteTemperatureAdjustRet), 0);
    EXPECT_EQ(AskParse(link, [](auto& c, auto o) { return KVLINK_MakeReadTemperatureData(c, o, 3); },
                       [&](auto& c, auto a) { return KVLINK_ParseReadTemperatureRet(c, a, t); }), 6);
    EXPECT_EQ(Bytes(t.begin(), t.begin() + 6), (Bytes{0x01, 0x01, 0x75, 0x04, 0xA3, 0x42}));   // 23.5 C, 74.3 F
    EXPECT_EQ(AskParse(link, [](auto& c, auto o) { return KVLINK_MakeReadTemperatureData(c, o, 0); },
                       [&](auto& c, auto a) { return KVLINK_ParseReadTemperatureRet(c, a, t); }), 6);
    EXPECT_EQ(Bytes(t.begin(), t.begin() + 3), (Bytes{0x01, 0x01, 0x95}));
  }});
  cases.push_back({"counters", {Op::kReadCounters}, [](SignLink& link, const auto&) {
    std::uint32_t answered = 0, refused = 99;
    EXPECT_EQ(AskParse(link, [](auto& c, auto o) { return KVLINK_MakeReadCountersData(c, o, 0); },
                       [&](auto& c, auto a) { return KVLINK_ParseReadCountersRet(c, a, answered, refused); }), 8);
    EXPECT_GE(answered, 1u);   // the cases before this one
    EXPECT_EQ(refused, 0u);
  }});
  cases.push_back({"power schedule", {Op::kReadPowerSchedule, Op::kWritePowerSchedule}, [](SignLink& link, const auto&) {
    std::array<std::uint8_t, 4> read{};
    EXPECT_EQ(AskParse(link, KVLINK_MakeReadPowerScheduleData,
                       [&](auto& c, auto a) { return KVLINK_ParseReadPowerScheduleRet(c, a, read); }), 4);
    EXPECT_EQ(read, (std::array<std::uint8_t, 4>{0xFF, 0xFF, 0xFF, 0xFF}));
    const std::array<std::uint8_t, 4> set{6, 30, 22, 15};
    EXPECT_EQ(AskParse(link, [&](auto& c, auto o) { return KVLINK_MakeWritePowerScheduleData(c, o, set); },
                       KVLINK_ParseWritePowerScheduleRet), 0);
    EXPECT_EQ(AskParse(link, KVLINK_MakeReadPowerScheduleData,
                       [&](auto& c, auto a) { return KVLINK_ParseReadPowerScheduleRet(c, a, read); }), 4);
    EXPECT_EQ(read, set);
  }});
  cases.push_back({"software switches", {Op::kReadSoftwareSwitchInfo, Op::kWriteSoftwareSwitchInfo},
                   [](SignLink& link, const auto&) {
    std::array<std::uint8_t, 128> read{};
    EXPECT_EQ(AskParse(link, KVLINK_MakeReadSoftwareSwitchInfoData,
                       [&](auto& c, auto a) { return KVLINK_ParseReadSoftwareSwitchInfoRet(c, a, read); }), 16);
    const Bytes set{1, 2, 3};
    std::array<std::uint8_t, 100> ignored{};
    EXPECT_EQ(AskParse(link, [&](auto& c, auto o) { return KVLINK_MakeWriteSoftwareSwitchInfoData(c, o, set); },
                       [&](auto& c, auto a) { return KVLINK_ParseWriteSoftwareSwitchInfoRet(c, a, ignored); }), 0);
    EXPECT_EQ(AskParse(link, KVLINK_MakeReadSoftwareSwitchInfoData,
                       [&](auto& c, auto a) { return KVLINK_ParseReadSoftwareSwitchInfoRet(c, a, read); }), 3);
    EXPECT_EQ(Bytes(read.begin(), read.begin() + 3), set);
  }});
  cases.push_back({"brightness", {Op::kReadBrightness, Op::kWriteBrightness}, [](SignLink& link, const auto&) {
    std::array<std::uint8_t, 24> set{};
    for (std::size_t hour = 0; hour < 24; ++hour) set[hour] = static_cast<std::uint8_t>(hour == 12 ? 255 : hour);
    EXPECT_EQ(AskParse(link, [&](auto& c, auto o) { return KVLINK_MakeWriteBrightnessData(c, o, set); },
                       KVLINK_ParseWriteBrightnessRet), 0);
    std::array<std::uint8_t, 100> read{};
    EXPECT_EQ(AskParse(link, KVLINK_MakeReadBrightnessData,
                       [&](auto& c, auto a) { return KVLINK_ParseReadBrightnessRet(c, a, read); }), 24);
    EXPECT_EQ(Bytes(read.begin(), read.begin() + 24), Bytes(set.begin(), set.end()));
  }});
  cases.push_back({"instant message", {Op::kSendInstantMessage}, [](SignLink& link, const auto& store) {
    const Bytes block = MessageBlock(std::string(300, 'x') + "Opening at nine");
    for (std::size_t offset = 0; offset < block.size(); offset += 128) {
      const std::size_t length = std::min<std::size_t>(128, block.size() - offset);
      const std::uint8_t flag = offset + length == block.size() ? 17 : 1;
      EXPECT_EQ(AskParse(link,
                         [&](auto& c, auto o) {
                           return KVLINK_MakeSendInstantMessageData(c, o, std::span(block).subspan(offset, length),
                                                                    static_cast<std::uint16_t>(offset), flag);
                         },
                         KVLINK_ParseSendInstantMessageRet), 0);
    }
    std::ifstream saved(store / "messages" / "000001.msg", std::ios::binary);
    const Bytes kept((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_EQ(kept, block);
  }});
  cases.push_back({"fonts and play state", {Op::kReadRunningInfo, Op::kHoldPlaying, Op::kResumePlaying},
                   [](SignLink& link, const auto&) {
    std::array<std::uint8_t, 100> info{};
    const Bytes nine(9, 0);
    std::array<std::uint8_t, 4> out{};
    EXPECT_EQ(AskParse(link, [&](auto& c, auto o) { return KVLINK_MakeBaseProtocolData(c, o, 33, nine); },
                       [&](auto& c, auto a) { return KVLINK_ParseBaseProtocolRet(c, a, out); }), 1);
    EXPECT_EQ(AskParse(link, [](auto& c, auto o) { return KVLINK_MakeReadRunningInfoData(c, o, 2); },
                       [&](auto& c, auto a) { return KVLINK_ParseReadRunningInfoRet(c, a, info); }), 8);
    EXPECT_EQ(Bytes(info.begin(), info.begin() + 8), (Bytes{2, 1, 0, 0x00, 0x3F, 0x00, 0x0F, 1}));
    EXPECT_EQ(AskParse(link, [&](auto& c, auto o) { return KVLINK_MakeBaseProtocolData(c, o, 32, nine); },
                       [&](auto& c, auto a) { return KVLINK_ParseBaseProtocolRet(c, a, out); }), 1);
    EXPECT_EQ(AskParse(link, [](auto& c, auto o) { return KVLINK_MakeReadRunningInfoData(c, o, 2); },
                       [&](auto& c, auto a) { return KVLINK_ParseReadRunningInfoRet(c, a, info); }), 8);
    EXPECT_EQ(info[7], 0);
  }});
  cases.push_back({"restart", {Op::kRestart, Op::kRestartLegacy}, [](SignLink& link, const auto&) {
    EXPECT_EQ(AskParse(link, KVLINK_MakeRestartData, KVLINK_ParseRestartRet), 1);
    EXPECT_EQ(AskParse(link, KVLINK_MakeRestartLegacyData, KVLINK_ParseRestartLegacyRet), 1);
  }});
  cases.push_back({"controller information", {Op::kQueryControllerInfo}, [](SignLink& link, const auto&) {
    std::array<std::uint8_t, 600> info{};
    const int length = AskParse(link, [](auto& c, auto o) { return KVLINK_MakeQueryControllerInfo(c, o, 0); },
                                [&](auto& c, auto a) { return KVLINK_ParseQueryControllerInfoRet(c, a, info); });
    ASSERT_GT(length, 2);
    const std::string text(info.begin() + 2, info.begin() + length);
    EXPECT_NE(text.find("model=Korvan-M5\n"), std::string::npos) << text;
    EXPECT_NE(text.find("kind=0x62\n"), std::string::npos) << text;
    EXPECT_EQ(info[1], 1);   // one page
  }});
  cases.push_back({"files: write, list, read back, free space, delete, format",
                   {Op::kOpenFile, Op::kWriteBlock, Op::kCloseFile, Op::kGetDirentry, Op::kReadFile, Op::kGetFreeSpace,
                    Op::kDeleteFiles, Op::kFormatStorage},
                   [](SignLink& link, const auto& store) {
    const Bytes info{26, 12, 9, 21, 40, 5};
    const Bytes content(700, 0x5A);
    EXPECT_EQ(AskParse(link, [&](auto& c, auto o) { return KVLINK_MakeOpenFileData(c, o, "play.lpp", 700, info); },
                       KVLINK_ParseOpenFileRet), 1);
    std::uint32_t cookie = 0;
    for (std::size_t at = 0; at < content.size(); at += 512) {
      const auto piece = std::span(content).subspan(at, std::min<std::size_t>(512, content.size() - at));
      EXPECT_EQ(AskParse(link, [&](auto& c, auto o) { return KVLINK_MakeWriteBlockData(c, o, piece, cookie); },
                         [&](auto& c, auto a) { return KVLINK_ParseWriteBlockRet(c, a, cookie); }), 1);
    }
    EXPECT_EQ(cookie, 700u);
    EXPECT_EQ(AskParse(link, [&](auto& c, auto o) { return KVLINK_MakeCloseFileNoData(c, o, cookie); },
                       KVLINK_ParseCloseFileNoRet), 1);
    for (const char* name : {"b.txt", "c.txt", "d.txt", "e.rsf"}) {
      std::ofstream(store / "files" / name) << name;
    }
    // Five files: a packet of four, then one of one.
    const auto ctx = link.Context();
    const Bytes first = link.Ask(*ctx, [](auto& c, auto o) { return KVLINK_MakeGetDirentryData(c, o, 1); });
    std::array<std::uint8_t, 56> entry{};
    EXPECT_EQ(KVLINK_ParseGetDirentryRet(*ctx, first, 0, entry), 4);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry.data())), "b.txt");
    const Bytes second = link.Receive();
    EXPECT_EQ(KVLINK_ParseGetDirentryRet(*ctx, second, 0, entry), 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry.data())), "play.lpp");
    EXPECT_EQ(entry[52] | entry[53] << 8, 700);
    EXPECT_EQ(entry[45], 20);
    std::array<std::uint8_t, 1100> back{};
    EXPECT_EQ(AskParse(link, [](auto& c, auto o) { return KVLINK_MakeReadFileNoData(c, o, "play.lpp", 600, 1024); },
                       [&](auto& c, auto a) { return KVLINK_ParseReadFileNoRet(c, a, back); }), 8 + 100);
    EXPECT_EQ(back[4] | back[5] << 8, 700);
    EXPECT_EQ(back[8], 0x5A);
    const int free = AskParse(link, [](auto& c, auto o) { return KVLINK_MakeGetFreeSpaceData(c, o, 1); },
                              KVLINK_ParseGetFreeSpaceRet);
    EXPECT_GT(free, 0);
    EXPECT_LE(free, (64 << 20) - 700);
    std::array<std::uint8_t, 8> free64{};
    EXPECT_EQ(AskParse(link, [](auto& c, auto o) { return KVLINK_MakeGetFreeSpaceData(c, o, 1); },
                       [&](auto& c, auto a) { return KVLINK_ParseGetFreeSpaceRet2(c, a, free64); }), 8);
    EXPECT_EQ(free64[0] | free64[1] << 8 | free64[2] << 16 | free64[3] << 24, free);
    EXPECT_EQ(AskParse(link, [](auto& c, auto o) { return KVLINK_MakeDeleteFilesData(c, o, "?.TXT"); },
                       KVLINK_ParseDeleteFilesRet), 3);
    EXPECT_EQ(AskParse(link, [](auto& c, auto o) { return KVLINK_MakeFormatStorageData(c, o, 1); },
                       KVLINK_ParseFormatStorageRet), 1);
    EXPECT_EQ(AskParse(link, [](auto& c, auto o) { return KVLINK_MakeDeleteFilesData(c, o, "*.*"); },
                       KVLINK_ParseDeleteFilesRet), 0);
    EXPECT_TRUE(std::filesystem::is_empty(store / "files"));
  }});
  cases.push_back({"writes the sign does not take yet",
                   {Op::kStartFastWrite, Op::kSendPacket, Op::kQueryMissing, Op::kWriteFileRequest, Op::kWriteFileData,
                    Op::kWriteFileConfirm},
                   [](SignLink& link, const auto&) {
    const Bytes info{26, 12, 9, 21, 40, 5};
    EXPECT_EQ(AskParse(link, [&](auto& c, auto o) { return KVLINK_MakeStartFastWriteData(c, o, "x.lpp", 10, info); },
                       KVLINK_ParseStartFastWriteRet), 17);
    const Bytes ten(10, 1);
    const std::array<std::uint8_t, 7> time{0xEA, 0x07, 12, 9, 21, 40, 5};
    const std::array<std::uint8_t, 16> digest{};
    std::array<std::uint16_t, 40> list{};
    std::array<std::uint8_t, 520> out{};
    struct Refused { const char* name; Make make; std::function<int(KvlinkContext&, std::span<const std::uint8_t>)> parse; int status; };
    const Refused refused[] = {
        {"packet", [&](auto& c, auto o) { return KVLINK_MakeSendPacketData(c, o, ten, 0, 512, true); },
         KVLINK_ParseSendPacketRet, kStatusFileError},
        {"missing", [](auto& c, auto o) { return KVLINK_MakeQueryMissingData(c, o, 1); },
         [&](auto& c, auto a) { return KVLINK_ParseQueryMissingRet(c, a, list); }, kStatusFileError},
        {"confirmed request",
         [&](auto& c, auto o) { return KVLINK_MakeWriteFileRequestData(c, o, "x.lpp", 10, time, digest, 1); },
         [&](auto& c, auto a) { return KVLINK_ParseWriteFileRequestRet(c, a, out); }, kStatusUnknownOperation},
        {"confirmed data", [&](auto& c, auto o) { return KVLINK_MakeWriteFileDataData(c, o, 7, 0, 0, ten, true); },
         [&](auto& c, auto a) { return KVLINK_ParseWriteFileDataRet(c, a, out); }, kStatusFileError},
        {"confirm", [](auto& c, auto o) { return KVLINK_MakeWriteFileConfirmData(c, o, 7, 0, 0x1234); },
         [&](auto& c, auto a) { return KVLINK_ParseWriteFileConfirmRet(c, a, out); }, kStatusFileError},
    };
    for (const Refused& row : refused) {
      SCOPED_TRACE(row.name);
      const auto ctx = link.Context();
      const Bytes answer = link.Ask(*ctx, row.make);
      EXPECT_EQ(row.parse(*ctx, answer), kKvlinkRefused);
      EXPECT_EQ(KVLINK_GetLastStatus(*ctx), row.status);
    }
    // Packets that ask for no answer get none.
    const auto ctx = link.Context();
    EXPECT_TRUE(link.Ask(*ctx, [&](auto& c, auto o) { return KVLINK_MakeSendPacketData(c, o, ten, 0, 512, false); },
                         300).empty());
  }});
  cases.push_back({"protection command", {Op::kAuthorise}, [](SignLink& link, const auto&) {
    std::array<std::uint8_t, 4> out{};
    // The sign's default password switches nothing here (flags 0) and is taken; another is not.
    const Bytes right = ProtectionBlock(0, "velorupa");
    EXPECT_EQ(AskParse(link, [&](auto& c, auto o) { return KVLINK_MakeBaseProtocolData(c, o, 225, right); },
                       [&](auto& c, auto a) { return KVLINK_ParseBaseProtocolRet(c, a, out); }), 2);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 2), (Bytes{0, 1}));
    const Bytes wrong = ProtectionBlock(0, "velorupo");
    EXPECT_EQ(AskParse(link, [&](auto& c, auto o) { return KVLINK_MakeBaseProtocolData(c, o, 225, wrong); },
                       [&](auto& c, auto a) { return KVLINK_ParseBaseProtocolRet(c, a, out); }), kKvlinkRefused);
  }});
  return cases;
}

class SignServerTest : public ::testing::Test {
protected:
  test::TempFolder m_temp;
};

TEST_F(SignServerTest, ThreadAnswersEveryOperationOverTcpAndThePseudoTerminal) {
  for (const bool serial : {false, true}) {
    SCOPED_TRACE(serial ? "serial" : "tcp");
    const auto store = m_temp / (serial ? "serial" : "tcp");
    test::RunningSign sign(test::TestSignOptions(store));
    ASSERT_TRUE(sign.ok());
    const auto link = serial ? SignLink::Serial(sign.SerialPath()) : SignLink::Tcp(sign.Port());
    ASSERT_NE(link, nullptr);
    for (const Case& row : Cases()) {
      SCOPED_TRACE(row.name);
      row.run(*link, store);
    }
  }
}

TEST(SignServerCases, CoverEveryOperationOfTheProtocol) {
  std::set<Op> covered;
  for (const Case& row : Cases()) covered.insert(row.ops.begin(), row.ops.end());
  for (const OperationInfo& info : Operations()) EXPECT_TRUE(covered.contains(info.op)) << info.name;
}

TEST_F(SignServerTest, ThreadSerialLineAnswersItsOwnAddressAndEverySign) {
  SignOptions options = test::TestSignOptions(m_temp.Path());
  options.screenId = 7;
  test::RunningSign sign(options);
  ASSERT_TRUE(sign.ok());
  struct Row { const char* name; std::uint8_t address; bool answered; };
  const Row rows[] = {{"its own", 7, true}, {"every sign", 255, true}, {"another", 6, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto link = SignLink::Serial(sign.SerialPath(), row.address);
    const auto ctx = link->Context();
    const Bytes answer = link->Ask(*ctx, KVLINK_MakeReadClockData, 300);
    std::array<std::uint8_t, 7> clock{};
    EXPECT_EQ(!answer.empty() && KVLINK_ParseReadClockRet(*ctx, answer, clock) == 7, row.answered);
  }
}

}  // namespace
}  // namespace vantorel

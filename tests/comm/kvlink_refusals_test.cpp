// Answers a Parse function must refuse, on every protocol kind; each answer lies in a buffer of
// exactly its own size, so a read past its end is caught by the address sanitizer.

#include <gtest/gtest.h>

#include <functional>

#include "comm/operations.h"
#include "comm/packet.h"
#include "comm_test_support.h"

namespace vantorel {
namespace {

using test::Bytes;

const Bytes kClock = {30, 15, 9, 3, 9, 12, 26};

struct Made {
  std::unique_ptr<KvlinkContext> ctx;
  PacketFields answer;  // the right answer to the request made
  PacketKeys keys;
};

Made ReadClockRequest(const test::Link& link) {
  Made made{test::ContextFor(link), {}, {}};
  const SignIdentity sign = test::SignFor(link);
  const PacketFields request = test::SendRequest(*made.ctx, sign, KVLINK_MakeReadClockData);
  made.answer = request;
  made.answer.answer = true;
  made.answer.data = kClock;
  made.keys = {sign.keyText, sign.password};
  return made;
}

int ParseClock(KvlinkContext& ctx, const Bytes& answer) {
  std::array<std::uint8_t, 7> clock{};
  const auto exact = std::make_unique<std::uint8_t[]>(answer.size());
  std::copy(answer.begin(), answer.end(), exact.get());
  return KVLINK_ParseReadClockRet(ctx, std::span<const std::uint8_t>(exact.get(), answer.size()), clock);
}

TEST(KvlinkRefusals, TheRightAnswerIsTakenOnEveryLink) {
  for (const test::Link& link : test::AllLinks()) {
    SCOPED_TRACE(link.name);
    Made made = ReadClockRequest(link);
    EXPECT_EQ(ParseClock(*made.ctx, WrapPacket(link.kind, BuildPacket(made.answer, made.keys))), 7);
  }
}

TEST(KvlinkRefusals, AnswersThatAreNotTheAnswerToTheRequestAreRefused) {
  struct Row {
    const char* name;
    std::function<void(PacketFields&, PacketKeys&)> change;
    int result;
  };
  const Row rows[] = {
      {"a request instead", [](PacketFields& f, PacketKeys&) { f.answer = false; }, kKvlinkNotAnswer},
      {"another address", [](PacketFields& f, PacketKeys&) { f.address = static_cast<std::uint8_t>(f.address ^ 1); },
       kKvlinkAddress},
      {"another ID code", [](PacketFields& f, PacketKeys&) { f.idCode ^= 0x100; }, kKvlinkIdCode},
      {"another device ID", [](PacketFields& f, PacketKeys&) { f.deviceId += "1"; }, kKvlinkDeviceId},
      {"another operation", [](PacketFields& f, PacketKeys&) { f.operation = Code(Op::kReadVersion); },
       kKvlinkOperation},
      {"another sequence number", [](PacketFields& f, PacketKeys&) { ++f.sequence; }, kKvlinkSequence},
      {"a refusal status", [](PacketFields& f, PacketKeys&) { f.status = kStatusBusy; }, kKvlinkRefused},
      {"a clock of 6 bytes", [](PacketFields& f, PacketKeys&) { f.data.pop_back(); }, kKvlinkDataSize},
      {"a clock of 8 bytes", [](PacketFields& f, PacketKeys&) { f.data.push_back(0); }, kKvlinkDataSize},
      {"other protection", [](PacketFields& f, PacketKeys&) { f.protection = f.protection == 0 ? 1 : 0; },
       kKvlinkBadCheck},
  };
  for (const test::Link& link : test::AllLinks()) {
    SCOPED_TRACE(link.name);
    for (const Row& row : rows) {
      SCOPED_TRACE(row.name);
      Made made = ReadClockRequest(link);
      row.change(made.answer, made.keys);
      const int result = ParseClock(*made.ctx, WrapPacket(link.kind, BuildPacket(made.answer, made.keys)));
      EXPECT_EQ(KVLINK_ErrorName(result), KVLINK_ErrorName(row.result));
    }
  }
}

TEST(KvlinkRefusals, AProtectedAnswerWithAnotherKeyIsRefused) {
  for (const test::Link& link : test::AllLinks()) {
    if (link.mode == "1") continue;
    SCOPED_TRACE(link.name);
    for (const bool changeKey : {true, false}) {
      Made made = ReadClockRequest(link);
      (changeKey ? made.keys.keyText : made.keys.password) += "x";
      const int result = ParseClock(*made.ctx, WrapPacket(link.kind, BuildPacket(made.answer, made.keys)));
      if (!changeKey && link.mode == "2") {
        EXPECT_EQ(result, 7);  // mode 2 does not use the password
      } else {
        EXPECT_EQ(result, kKvlinkBadCheck);
      }
    }
  }
}

TEST(KvlinkRefusals, EveryTruncationAndEveryByteFlipIsRefused) {
  for (const test::Link& link : test::AllLinks()) {
    SCOPED_TRACE(link.name);
    Made made = ReadClockRequest(link);
    const Bytes good = WrapPacket(link.kind, BuildPacket(made.answer, made.keys));
    for (std::size_t length = 0; length < good.size(); ++length) {
      EXPECT_LT(ParseClock(*made.ctx, Bytes(good.begin(), good.begin() + length)), 0) << length;
    }
    for (std::size_t at = 0; at < good.size(); ++at) {
      for (const int flip : {0x01, 0x80, 0xFF}) {
        Bytes bad = good;
        bad[at] = static_cast<std::uint8_t>(bad[at] ^ flip);
        EXPECT_LT(ParseClock(*made.ctx, bad), 0) << at << " ^ " << flip;
      }
    }
    Bytes longer = good;
    longer.push_back(0x00);
    EXPECT_LT(ParseClock(*made.ctx, longer), 0);
    EXPECT_EQ(ParseClock(*made.ctx, good), 7);
  }
}

TEST(KvlinkRefusals, LengthFieldAndReceivedBytesMustAgree) {
  struct Row {
    const char* name;
    int lengthChange;   // added to bytes 4-5
    int extraBytes;     // appended after the packet
    int result;
  };
  const Row rows[] = {
      {"as built", 0, 0, 7},
      {"length says more than came", 1, 0, kKvlinkShort},
      {"length says far more", 0x7000, 0, kKvlinkShort},
      {"length says less", -1, 0, kKvlinkTooLong},
      {"length below the smallest packet", -10, 0, kKvlinkShort},
      {"a byte after the packet", 0, 1, kKvlinkTooLong},
      {"a second packet after it", 0, 22, kKvlinkTooLong},
  };
  const test::Link link = test::AllLinks()[2];
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Made made = ReadClockRequest(link);
    Bytes bytes = BuildPacket(made.answer, made.keys);
    const int length = bytes[4] + 256 * bytes[5] + row.lengthChange;
    bytes[4] = static_cast<std::uint8_t>(length & 0xFF);
    bytes[5] = static_cast<std::uint8_t>(length >> 8);
    bytes.insert(bytes.end(), static_cast<std::size_t>(row.extraBytes), 0x68);
    const int result = ParseClock(*made.ctx, bytes);
    // A changed length also changes what the CRC covers; a refusal is all that counts there.
    if (row.result < 0) {
      EXPECT_LT(result, 0);
    } else {
      EXPECT_EQ(result, row.result);
    }
    if (row.lengthChange > 0) {
      EXPECT_EQ(result, kKvlinkShort);
    }
  }
}

TEST(KvlinkRefusals, TheSerialLineTakesTheFrameOrTheBodyAFrameDecoderGave) {
  const test::Link link = test::AllLinks()[0];
  Made made = ReadClockRequest(link);
  const Bytes body = BuildPacket(made.answer, made.keys);
  EXPECT_EQ(ParseClock(*made.ctx, body), 7);
  EXPECT_EQ(ParseClock(*made.ctx, WrapPacket(0, body)), 7);
  Bytes unended = WrapPacket(0, body);
  unended.pop_back();
  EXPECT_EQ(ParseClock(*made.ctx, unended), kKvlinkBadFrame);
}

TEST(KvlinkRefusals, AnAnswerToAnEarlierContextIsNotTakenForTheNextOne) {
  const test::Link link = test::AllLinks()[2];
  Made first = ReadClockRequest(link);
  Made second = ReadClockRequest(link);
  const Bytes late = BuildPacket(first.answer, first.keys);
  EXPECT_EQ(ParseClock(*second.ctx, late), kKvlinkSequence);
}

TEST(KvlinkRefusals, RequestsThatDoNotFitOrHaveWrongSizesAreNotMade) {
  const auto ctx = test::ContextFor(test::AllLinks()[2]);
  Bytes out(200);
  const Bytes six(6, 0), seven(7, 0);
  EXPECT_EQ(KVLINK_MakeSetClockData(*ctx, out, six), 0);
  EXPECT_GT(KVLINK_MakeSetClockData(*ctx, out, seven), 0);
  const int length = KVLINK_MakeSetClockData(*ctx, out, seven);
  EXPECT_EQ(KVLINK_MakeSetClockData(*ctx, std::span(out).first(static_cast<std::size_t>(length) - 1), seven), 0);
  EXPECT_EQ(KVLINK_MakeDeleteFilesData(*ctx, out, ""), 0);
  EXPECT_EQ(KVLINK_MakeOpenFileData(*ctx, out, std::string(65, 'a'), 1, {}), 0);
  EXPECT_EQ(KVLINK_MakeSendPacketData(*ctx, out, seven, 0, 6, false), 0);  // more than the packet size
  EXPECT_EQ(KVLINK_MakeBaseProtocolData(*ctx, out, 0x77, Bytes(1025, 0)), 0);
  EXPECT_EQ(KVLINK_MakeWriteFileRequestData(*ctx, out, "a", 1, six, Bytes(16, 0), 1), 0);
}

TEST(KvlinkRefusals, ContextsAndParametersOutsideTheirValuesAreRefused) {
  EXPECT_EQ(KVLINK_CreateContext(-1, 1, 0), nullptr);
  EXPECT_EQ(KVLINK_CreateContext(4, 1, 0), nullptr);
  const auto network = KVLINK_CreateContext(1, 255, 7);
  ASSERT_NE(network, nullptr);
  struct Row {
    int index;
    std::string_view text;
    int result;
  };
  const Row rows[] = {
      {1, "any key text of any length, longer than twenty", 0},
      {2, "1", 0}, {2, "2", 0}, {2, "32770", 0}, {2, "3", kKvlinkBadValue}, {2, "32770 ", kKvlinkBadValue},
      {2, "", kKvlinkBadValue}, {2, "0x8002", kKvlinkBadValue}, {3, "pass5678", 0}, {0, "x", kKvlinkBadValue},
      {4, "x", kKvlinkBadValue},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(KVLINK_CommData_SetParam(*network, row.index, row.text), row.result);
  }
  const auto relay = KVLINK_CreateContext(2, 255, 0);
  EXPECT_EQ(KVLINK_CommData_SetParam(*relay, 1, std::string(20, '1')), 0);
  EXPECT_EQ(KVLINK_CommData_SetParam(*relay, 1, std::string(21, '1')), kKvlinkBadValue);
}

}  // namespace
}  // namespace vantorel

#include "comm/sign_protocol.h"

#include <gtest/gtest.h>

#include <functional>

#include "comm/operations.h"
#include "comm_test_support.h"

namespace vantorel {
namespace {

using test::Bytes;

// A ReadClock request made by a context of `link`, read by a controller of `sign`.
Refusal Decode(const test::Link& link, const SignIdentity& sign) {
  const auto ctx = test::ContextFor(link);
  Bytes out(200);
  const int length = KVLINK_MakeReadClockData(*ctx, out);
  out.resize(static_cast<std::size_t>(length));
  return DecodeRequest(sign, out).refusal;
}

TEST(SignProtocol, RefusesRequestsMeantForAnotherControllerOrWronglyProtected) {
  struct Row {
    const char* name;
    int link;                                       // of test::AllLinks()
    std::function<void(test::Link&, SignIdentity&)> change;
    Refusal refusal;
  };
  const Row rows[] = {
      {"serial, its own address", 0, [](test::Link&, SignIdentity&) {}, Refusal::kNone},
      {"serial, another screen", 0, [](test::Link&, SignIdentity& s) { s.address = 8; }, Refusal::kWrongAddress},
      {"serial, to every screen", 0, [](test::Link& l, SignIdentity& s) { l.address = 255, s.address = 8; },
       Refusal::kNone},
      {"network, ID code", 2, [](test::Link&, SignIdentity&) {}, Refusal::kNone},
      {"network, another ID code", 2, [](test::Link&, SignIdentity& s) { s.idCode = 0x12345679; },
       Refusal::kWrongIdCode},
      {"serial, ID code not checked", 0, [](test::Link&, SignIdentity& s) { s.idCode = 99; }, Refusal::kNone},
      {"relay, another device ID", 5, [](test::Link&, SignIdentity& s) { s.deviceId = "000123456788"; },
       Refusal::kWrongDeviceId},
      {"relay with GPRS, no device ID", 6, [](test::Link& l, SignIdentity&) { l.param1.clear(); },
       Refusal::kWrongDeviceId},
      {"key text, right key", 3, [](test::Link&, SignIdentity&) {}, Refusal::kNone},
      {"key text, wrong key", 3, [](test::Link& l, SignIdentity&) { l.param1 = "Kx9#Q"; }, Refusal::kBadCheck},
      {"key text, sent unprotected", 3, [](test::Link& l, SignIdentity&) { l.mode = "1"; }, Refusal::kNotProtected},
      {"key text, sent with key and password", 3, [](test::Link& l, SignIdentity&) { l.mode = "32770"; },
       Refusal::kNone},
      {"password, right", 4, [](test::Link&, SignIdentity&) {}, Refusal::kNone},
      {"password, wrong", 4, [](test::Link& l, SignIdentity&) { l.password = "pass5679"; }, Refusal::kBadCheck},
      {"password, key text only", 4, [](test::Link& l, SignIdentity&) { l.mode = "2"; }, Refusal::kNotProtected},
      {"password, none", 4, [](test::Link& l, SignIdentity&) { l.mode = "1"; }, Refusal::kNotProtected},
      {"unprotected controller, protected request", 2,
       [](test::Link& l, SignIdentity& s) { l.mode = "2", l.param1 = s.keyText = "k"; }, Refusal::kNone},
      {"unprotected controller, wrongly protected request", 2,
       [](test::Link& l, SignIdentity& s) { l.mode = "2", l.param1 = "k", s.keyText = "j"; }, Refusal::kBadCheck},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::Link link = test::AllLinks()[static_cast<std::size_t>(row.link)];
    SignIdentity sign = test::SignFor(link);
    row.change(link, sign);
    EXPECT_EQ(RefusalName(Decode(link, sign)), RefusalName(row.refusal));
  }
}

TEST(SignProtocol, RefusesBrokenBytesWithTheirReason) {
  const test::Link link = test::AllLinks()[2];
  const SignIdentity sign = test::SignFor(link);
  const auto ctx = test::ContextFor(link);
  Bytes good(200);
  good.resize(static_cast<std::size_t>(KVLINK_MakeReadClockData(*ctx, good)));
  struct Row {
    const char* name;
    std::function<void(Bytes&)> change;
    Refusal refusal;
  };
  const Row rows[] = {
      {"nothing", [](Bytes& b) { b.clear(); }, Refusal::kShort},
      {"header only", [](Bytes& b) { b.resize(8); }, Refusal::kShort},
      {"one byte missing", [](Bytes& b) { b.pop_back(); }, Refusal::kShort},
      {"one byte more", [](Bytes& b) { b.push_back(0); }, Refusal::kTooLong},
      {"bad CRC", [](Bytes& b) { b.back() ^= 1; }, Refusal::kBadCrc},
      {"an answer", [](Bytes& b) { b[0] = kPacketAnswer; }, Refusal::kBadCrc},
      {"a frame on the network", [](Bytes& b) { b = EncodeFrame(b); }, Refusal::kShort},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Bytes bytes = good;
    row.change(bytes);
    EXPECT_EQ(RefusalName(DecodeRequest(sign, bytes).refusal), RefusalName(row.refusal));
  }
  // An answer with a right CRC is still no request.
  PacketFields fields = DecodeRequest(sign, good).request;
  fields.answer = true;
  EXPECT_EQ(DecodeRequest(sign, BuildPacket(fields, {})).refusal, Refusal::kNotRequest);
  EXPECT_EQ(RefusalStatus(Refusal::kBadCrc).detail(), "bad CRC");
  EXPECT_TRUE(RefusalStatus(Refusal::kNone).ok());
}

TEST(SignProtocol, AnswersOnFramedKindsAreFramesWithoutRawReservedBytes) {
  for (const test::Link& link : test::AllLinks()) {
    if (!IsFramedKind(link.kind)) continue;
    SCOPED_TRACE(link.name);
    const SignIdentity sign = test::SignFor(link);
    const auto ctx = test::ContextFor(link);
    const PacketFields request = test::SendRequest(*ctx, sign, KVLINK_MakeReadBrightnessData);
    Bytes all(24);
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<std::uint8_t>(0xA0 + i);
    const Bytes answer = EncodeAnswer(sign, request, kStatusDone, all);
    EXPECT_EQ(answer.front(), kFrameStart);
    EXPECT_EQ(answer.back(), kFrameEnd);
    for (std::size_t i = 1; i + 1 < answer.size(); ++i) {
      if (IsFrameReserved(answer[i])) {
        EXPECT_EQ(answer[i], kFrameEscape) << i;
      }
      if (answer[i] == kFrameEscape) ++i;
    }
    std::array<std::uint8_t, 24> out{};
    EXPECT_EQ(KVLINK_ParseReadBrightnessRet(*ctx, answer, out), 24);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), all.begin()));
  }
}

TEST(SignProtocol, TheNetworkLengthRuleGivesEachPacketsSize) {
  const test::Link link = test::AllLinks()[4];
  const SignIdentity sign = test::SignFor(link);
  const auto ctx = test::ContextFor(link);
  Bytes stream;
  std::vector<std::size_t> sizes;
  for (std::size_t size : {1u, 40u, 1024u}) {
    Bytes out(1200);
    out.resize(static_cast<std::size_t>(KVLINK_MakeSendInstantMessageData(*ctx, out, Bytes(size, 0x55), 0, 1)));
    sizes.push_back(out.size());
    stream.insert(stream.end(), out.begin(), out.end());
  }
  std::span<const std::uint8_t> rest(stream);
  for (const std::size_t size : sizes) {
    ASSERT_EQ(PacketTotalLength(rest), size);
    EXPECT_EQ(DecodeRequest(sign, rest.first(size)).refusal, Refusal::kNone);
    rest = rest.subspan(size);
  }
  EXPECT_FALSE(PacketTotalLength(Bytes{0x68, 1, 2, 3, 4}));
  EXPECT_EQ(PacketTotalLength(Bytes{0x68, 1, 2, 3, 0xFF, 0xFF}), 0xFFFFu + 8);
}

// The block of the protection command: a pair's two bytes XOR to the inverted key character, in
// either order.
TEST(SignProtocol, ReadsThePasswordOfAPasswordBlock) {
  auto block = [](std::string_view key, unsigned seed) {
    Bytes bytes(36, 0);
    for (std::size_t i = 0; i < key.size(); ++i) {
      seed = seed * 1103515245u + 12345u;
      const auto r = static_cast<std::uint8_t>(seed >> 16);
      const auto x = static_cast<std::uint8_t>(~(static_cast<std::uint8_t>(key[i]) ^ r));
      const bool swap = (seed >> 8) & 1;
      bytes[4 + 2 * i] = swap ? x : r;
      bytes[5 + 2 * i] = swap ? r : x;
    }
    return bytes;
  };
  struct Row {
    const char* name;
    Bytes block;
    std::optional<std::string> password;
  };
  const Row rows[] = {
      {"default password", block("velorupaZORTAKEP", 1), "velorupa"},
      {"custom password", block("pass5678ZORTAKEP", 77), "pass5678"},
      {"another tail", block("pass5678ZORTAKEQ", 3), std::nullopt},
      {"all zero", Bytes(36, 0), std::nullopt},
      {"short block", Bytes(35, 0), std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ReadPasswordBlock(row.block), row.password);
  }
}

}  // namespace
}  // namespace vantorel

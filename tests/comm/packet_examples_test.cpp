// The example packets of docs/protocol.md, byte for byte: whoever writes controller firmware
// from that page gets the bytes this library makes and takes.

#include <gtest/gtest.h>

#include "comm/operations.h"
#include "comm_test_support.h"

namespace vantorel {
namespace {

using test::Bytes;

Bytes Make(int kind, std::uint8_t address, std::uint32_t idCode, std::string_view param1, std::string_view mode,
           std::string_view password, std::uint8_t sequence, Op op) {
  const auto ctx = KVLINK_CreateContext(kind, address, idCode);
  KVLINK_CommData_SetParam(*ctx, 1, param1);
  KVLINK_CommData_SetParam(*ctx, 2, mode);
  KVLINK_CommData_SetParam(*ctx, 3, password);
  KVLINK_SetSequence(*ctx, sequence);
  Bytes out(200);
  const int length = KVLINK_MakeBaseProtocolData(*ctx, out, Code(op), {});
  out.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return out;
}

TEST(PacketExamples, AreTheBytesOfTheProtocolPage) {
  struct Row {
    const char* name;
    Bytes made;
    Bytes expected;
  };
  const Row rows[] = {
      {"network, read clock", Make(1, 255, 0x12345678, "", "1", "", 5, Op::kReadClock),
       {0x68, 0xFF, 0x04, 0x00, 0x07, 0x00, 0x00, 0x05, 0x78, 0x56, 0x34, 0x12, 0x00, 0x8C, 0xFB}},
      {"serial line, read brightness", Make(0, 7, 0, "", "1", "", 0xA5, Op::kReadBrightness),
       {0xA5, 0x68, 0x07, 0x0C, 0x00, 0x07, 0x00, 0x00, 0xAA, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0xEE, 0xBC, 0xAE}},
      {"network, key text", Make(1, 255, 0x12345678, "Kx9#q", "2", "", 5, Op::kReadClock),
       {0x68, 0xFF, 0x04, 0x01, 0x0F, 0x00, 0x00, 0x05, 0x78, 0x56, 0x34, 0x12, 0x00, 0x8B, 0xE5, 0xC2, 0x66, 0x60,
        0x5E, 0x2C, 0x65, 0x47, 0xDD}},
      {"network, key text and password", Make(1, 255, 0x12345678, "Kx9#q", "32770", "pass5678", 5, Op::kReadClock),
       {0x68, 0xFF, 0x04, 0x02, 0x0F, 0x00, 0x00, 0x05, 0x78, 0x56, 0x34, 0x12, 0x00, 0x68, 0xE8, 0xA9, 0xE0, 0x3A,
        0xF2, 0xEE, 0xAE, 0xE0, 0x31}},
      {"relay server", Make(2, 255, 0, "000123456789", "1", "", 5, Op::kReadClock),
       {0x68, 0xFF, 0x04, 0x00, 0x13, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x30, 0x30, 0x30, 0x31, 0x32,
        0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0xBC, 0x5D}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.made, row.expected);
  }
}

TEST(PacketExamples, TheClockAnswerOfTheProtocolPageIsRead) {
  const auto ctx = KVLINK_CreateContext(1, 255, 0x12345678);
  KVLINK_SetSequence(*ctx, 5);
  Bytes out(200);
  ASSERT_GT(KVLINK_MakeReadClockData(*ctx, out), 0);
  const Bytes answer = {0xE8, 0xFF, 0x04, 0x00, 0x0E, 0x00, 0x00, 0x05, 0x78, 0x56, 0x34,
                        0x12, 0x00, 0x1E, 0x0F, 0x09, 0x03, 0x09, 0x0C, 0x1A, 0xF9, 0xF3};
  std::array<std::uint8_t, 7> clock{};
  EXPECT_EQ(KVLINK_ParseReadClockRet(*ctx, answer, clock), 7);
  EXPECT_EQ(clock, (std::array<std::uint8_t, 7>{30, 15, 9, 3, 9, 12, 26}));
}

}  // namespace
}  // namespace vantorel

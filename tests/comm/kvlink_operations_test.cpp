// Every Make / Parse pair through the controller side: the request the controller reads holds
// the operation and data the Make function was given, and the answer the controller makes from
// its data is read back by the Parse function, on every protocol kind and protection mode.

#include <gtest/gtest.h>

#include <functional>

#include "comm/operations.h"
#include "comm_test_support.h"

namespace vantorel {
namespace {

using test::Bytes;
using Out = std::span<std::uint8_t>;
using In = std::span<const std::uint8_t>;
using MakeFn = std::function<int(KvlinkContext&, Out)>;
// Parses into `out` (resized to what the function gave) and returns the Parse result.
using ParseFn = std::function<int(KvlinkContext&, In, Bytes& out)>;

// A Parse function with an output area: `out` keeps the bytes it reported.
template <typename F>
ParseFn Into(F parse, std::size_t capacity = 300) {
  return [parse, capacity](KvlinkContext& ctx, In answer, Bytes& out) {
    out.assign(capacity, 0);
    const int result = parse(ctx, answer, Out(out));
    out.resize(result > 0 ? static_cast<std::size_t>(result) : 0);
    return result;
  };
}
template <typename F>
ParseFn Plain(F parse) {
  return [parse](KvlinkContext& ctx, In answer, Bytes& out) {
    out.clear();
    return parse(ctx, answer);
  };
}

Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }
Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}
Bytes Counting(std::size_t size, std::uint8_t from = 0) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(from + i);
  return bytes;
}

struct OpCase {
  const char* name;
  MakeFn make;
  std::uint8_t op;
  Bytes request;      // the data the controller reads
  Bytes answer;       // the data it answers with
  ParseFn parse;
  int result;
  Bytes output;
};

std::vector<OpCase> Cases() {
  const Bytes clock = {30, 15, 9, 3, 9, 12, 26};
  const Bytes version = {0x62, 98, 0x12, 0x34, 0x21, 0x03, 0x45, 0x06};
  const Bytes allVersions = Join({{0x62, 6, 0x34, 0x12, 0x45, 0x80}, Counting(26, 0x40)});
  const Bytes temperature = {1, 0x01, 0x95, 0x04, 0x51, 0x42};
  const Bytes adjust = {0, 4, 0, 0, 0x43, 0};
  const Bytes schedule = {7, 30, 22, 15};
  const Bytes brightness = Counting(24, 8);
  const Bytes piece = Counting(128, 0x90);
  const Bytes running = {2, 1, 0, 0x00, 0x3F, 0x01, 0x0F, 0};
  const Bytes freeSpace = {0x00, 0x10, 0x00, 0x80, 0x01, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0};
  const Bytes info6 = {26, 12, 9, 21, 5, 0};
  const Bytes chunk = Counting(512, 0xA0);
  const Bytes time7 = {0xEA, 0x07, 12, 9, 21, 5, 0};
  const Bytes digest = Counting(16, 0xF0);
  Bytes entries = {4, 0};
  for (int i = 0; i < 4; ++i) {
    Bytes entry(56, 0);
    entry[0] = static_cast<std::uint8_t>('a' + i);
    entry[45] = 20;
    entry[46] = 26;
    entry[55] = static_cast<std::uint8_t>(i);
    entries.insert(entries.end(), entry.begin(), entry.end());
  }
  const Bytes thirdEntry(entries.begin() + 2 + 2 * 56, entries.begin() + 2 + 3 * 56);
  const Bytes confirmAnswer = {0x78, 0x56, 0x34, 0x12, 3, 0, 4, 2, 0, 5, 0, 9, 0};
  const Bytes requestAnswer = {0, 0x78, 0x56, 0x34, 0x12, 0x00, 0x40, 0, 0, 0x00, 0x04, 20, 0, 1, 0};
  const Bytes authBlock = Join({{0, 2, 0}, Bytes(36, 0x5A)});

  return {
      {"read version", KVLINK_MakeReadVersionData, 0x01, {}, version, Into(KVLINK_ParseReadVersionRet2), 8, version},
      {"read version into 20 bytes", KVLINK_MakeReadVersionData, 0x01, {}, version,
       Into(KVLINK_ParseReadVersionRet2, 20), 8, version},
      {"read version into 4 bytes is cut", KVLINK_MakeReadVersionData, 0x01, {}, version,
       Into(KVLINK_ParseReadVersionRet2, 4), 4, Bytes(version.begin(), version.begin() + 4)},
      {"read all versions", KVLINK_MakeReadAllVerData, 0x02, {}, allVersions, Into(KVLINK_ParseReadAllVerRet),
       32, allVersions},
      {"set clock", [=](KvlinkContext& c, Out o) { return KVLINK_MakeSetClockData(c, o, clock); }, 0x03, clock, {},
       Plain(KVLINK_ParseSetClockRet), 0, {}},
      {"read clock", KVLINK_MakeReadClockData, 0x04, {}, clock, Into(KVLINK_ParseReadClockRet), 7, clock},
      {"read temperature", [](KvlinkContext& c, Out o) { return KVLINK_MakeReadTemperatureData(c, o, 3); }, 0x05,
       {3}, temperature, Into(KVLINK_ParseReadTemperatureRet), 6, temperature},
      {"write temperature adjustment",
       [=](KvlinkContext& c, Out o) { return KVLINK_MakeWriteTemperatureAdjustData(c, o, adjust); }, 0x06, adjust, {},
       Plain(KVLINK_ParseWriteTemperatureAdjustRet), 0, {}},
      {"read counters", [](KvlinkContext& c, Out o) { return KVLINK_MakeReadCountersData(c, o, 0); }, 0x07, {0},
       {1, 2, 3, 4, 0xFF, 0, 0, 0x80},
       [](KvlinkContext& c, In a, Bytes& out) {
         std::uint32_t first = 0, second = 0;
         const int result = KVLINK_ParseReadCountersRet(c, a, first, second);
         out = {static_cast<std::uint8_t>(first == 0x04030201), static_cast<std::uint8_t>(second == 0x800000FF)};
         return result;
       },
       8, {1, 1}},
      {"read power schedule", KVLINK_MakeReadPowerScheduleData, 0x08, {}, schedule,
       Into(KVLINK_ParseReadPowerScheduleRet), 4, schedule},
      {"write power schedule", [=](KvlinkContext& c, Out o) { return KVLINK_MakeWritePowerScheduleData(c, o, schedule); },
       0x09, schedule, {}, Plain(KVLINK_ParseWritePowerScheduleRet), 0, {}},
      {"read switches", KVLINK_MakeReadSoftwareSwitchInfoData, 0x0A, {}, Counting(16),
       Into(KVLINK_ParseReadSoftwareSwitchInfoRet), 16, Counting(16)},
      {"write switches",
       [](KvlinkContext& c, Out o) { return KVLINK_MakeWriteSoftwareSwitchInfoData(c, o, Counting(128, 1)); }, 0x0B,
       Counting(128, 1), {}, Into(KVLINK_ParseWriteSoftwareSwitchInfoRet, 100), 0, {}},
      {"read brightness", KVLINK_MakeReadBrightnessData, 0x0C, {}, brightness, Into(KVLINK_ParseReadBrightnessRet),
       24, brightness},
      {"write brightness", [=](KvlinkContext& c, Out o) { return KVLINK_MakeWriteBrightnessData(c, o, brightness); },
       0x0D, brightness, {}, Plain(KVLINK_ParseWriteBrightnessRet), 0, {}},
      {"instant message piece",
       [=](KvlinkContext& c, Out o) { return KVLINK_MakeSendInstantMessageData(c, o, piece, 0x0180, 17); }, 0x0E,
       Join({{17, 0x80, 0x01}, piece}), {}, Plain(KVLINK_ParseSendInstantMessageRet), 0, {}},
      {"read running info", [](KvlinkContext& c, Out o) { return KVLINK_MakeReadRunningInfoData(c, o, 2); }, 0x0F,
       {2}, running, Into(KVLINK_ParseReadRunningInfoRet), 8, running},
      {"restart", KVLINK_MakeRestartData, 0x10, {}, {1}, Plain(KVLINK_ParseRestartRet), 1, {}},
      {"restart, not taken", KVLINK_MakeRestartData, 0x10, {}, {0}, Plain(KVLINK_ParseRestartRet), 0, {}},
      {"legacy restart", KVLINK_MakeRestartLegacyData, 0x11, {}, {1}, Plain(KVLINK_ParseRestartLegacyRet), 1, {}},
      {"format", [](KvlinkContext& c, Out o) { return KVLINK_MakeFormatStorageData(c, o, 1); }, 0x12, {1}, {1},
       Plain(KVLINK_ParseFormatStorageRet), 1, {}},
      {"delete files", [](KvlinkContext& c, Out o) { return KVLINK_MakeDeleteFilesData(c, o, "*.*"); }, 0x13,
       Text("*.*"), {0x2C, 0x01}, Plain(KVLINK_ParseDeleteFilesRet), 300, {}},
      {"free space", [](KvlinkContext& c, Out o) { return KVLINK_MakeGetFreeSpaceData(c, o, 1); }, 0x14, {1},
       freeSpace, Plain(KVLINK_ParseGetFreeSpaceRet), 0x7FFFFFFF, {}},
      {"free space, small", [](KvlinkContext& c, Out o) { return KVLINK_MakeGetFreeSpaceData(c, o, 1); }, 0x14, {1},
       Join({{0x00, 0x10, 0x02, 0, 0, 0, 0, 0}, Bytes(8, 0)}), Plain(KVLINK_ParseGetFreeSpaceRet), 0x21000, {}},
      {"free space, 64 bits", [](KvlinkContext& c, Out o) { return KVLINK_MakeGetFreeSpaceData(c, o, 1); }, 0x14, {1},
       freeSpace, Into(KVLINK_ParseGetFreeSpaceRet2, 8), 8, Bytes(freeSpace.begin(), freeSpace.begin() + 8)},
      {"controller information", [](KvlinkContext& c, Out o) { return KVLINK_MakeQueryControllerInfo(c, o, 0); },
       0x15, {0}, Join({{0, 1}, Text("model=Korvan-N5A\n")}), Into(KVLINK_ParseQueryControllerInfoRet), 19,
       Join({{0, 1}, Text("model=Korvan-N5A\n")})},
      {"generic command 33",
       [](KvlinkContext& c, Out o) { return KVLINK_MakeBaseProtocolData(c, o, 33, Bytes(9, 0)); }, 33, Bytes(9, 0),
       {0}, Into(KVLINK_ParseBaseProtocolRet), 1, {0}},
      {"generic command 32",
       [](KvlinkContext& c, Out o) { return KVLINK_MakeBaseProtocolData(c, o, 32, Bytes(9, 0)); }, 32, Bytes(9, 0),
       {0}, Into(KVLINK_ParseBaseProtocolRet), 1, {0}},
      {"protection command 225",
       [=](KvlinkContext& c, Out o) { return KVLINK_MakeBaseProtocolData(c, o, 225, authBlock); }, 225, authBlock,
       {0, 1}, Into(KVLINK_ParseBaseProtocolRet), 2, {0, 1}},
      {"generic command of no operation of ours",
       [](KvlinkContext& c, Out o) { return KVLINK_MakeBaseProtocolData(c, o, 0x77, Bytes{1, 2}); }, 0x77, {1, 2},
       {9, 8, 7}, Into(KVLINK_ParseBaseProtocolRet), 3, {9, 8, 7}},
      {"open file", [=](KvlinkContext& c, Out o) { return KVLINK_MakeOpenFileData(c, o, "0001.lpp", 1000, info6); },
       0x30, Join({{0xE8, 0x03, 0, 0, 6}, info6, Text("0001.lpp")}), {1}, Plain(KVLINK_ParseOpenFileRet), 1, {}},
      {"open file, already there",
       [=](KvlinkContext& c, Out o) { return KVLINK_MakeOpenFileData(c, o, "0001.lpp", 1000, info6); }, 0x30,
       Join({{0xE8, 0x03, 0, 0, 6}, info6, Text("0001.lpp")}), {2}, Plain(KVLINK_ParseOpenFileRet), 2, {}},
      {"write block", [=](KvlinkContext& c, Out o) { return KVLINK_MakeWriteBlockData(c, o, chunk, 0x200); }, 0x31,
       Join({{0x00, 0x02, 0, 0}, chunk}), {0x00, 0x04, 0, 0},
       [](KvlinkContext& c, In a, Bytes& out) {
         std::uint32_t cookie = 0;
         const int result = KVLINK_ParseWriteBlockRet(c, a, cookie);
         out = {static_cast<std::uint8_t>(cookie >> 8)};
         return result;
       },
       1, {0x04}},
      {"close file", [](KvlinkContext& c, Out o) { return KVLINK_MakeCloseFileNoData(c, o, 1000); }, 0x32,
       {0xE8, 0x03, 0, 0}, {1}, Plain(KVLINK_ParseCloseFileNoRet), 1, {}},
      {"start fast write",
       [=](KvlinkContext& c, Out o) { return KVLINK_MakeStartFastWriteData(c, o, "a.lpb", 70000, info6); }, 0x33,
       Join({{0x70, 0x11, 0x01, 0, 6}, info6, Text("a.lpb")}), {17}, Plain(KVLINK_ParseStartFastWriteRet), 17, {}},
      {"send packet", [=](KvlinkContext& c, Out o) { return KVLINK_MakeSendPacketData(c, o, chunk, 3, 512, true); },
       0x34, Join({{3, 0, 0x00, 0x02, 1}, chunk}), {3, 0}, Plain(KVLINK_ParseSendPacketRet), 3, {}},
      {"query missing packets", [](KvlinkContext& c, Out o) { return KVLINK_MakeQueryMissingData(c, o, 137); }, 0x35,
       {137, 0}, {3, 5, 0, 0x10, 0, 0x88, 0},
       [](KvlinkContext& c, In a, Bytes& out) {
         std::uint16_t list[256] = {};
         const int result = KVLINK_ParseQueryMissingRet(c, a, list);
         out = {static_cast<std::uint8_t>(list[0]), static_cast<std::uint8_t>(list[1]),
                static_cast<std::uint8_t>(list[2])};
         return result;
       },
       3, {5, 16, 136}},
      {"query missing packets, complete", [](KvlinkContext& c, Out o) { return KVLINK_MakeQueryMissingData(c, o, 9); },
       0x35, {9, 0}, {255},
       [](KvlinkContext& c, In a, Bytes& out) {
         std::uint16_t list[4] = {};
         out.clear();
         return KVLINK_ParseQueryMissingRet(c, a, list);
       },
       0, {}},
      {"directory entry 2", [](KvlinkContext& c, Out o) { return KVLINK_MakeGetDirentryData(c, o, 1); }, 0x36, {1},
       entries,
       [](KvlinkContext& c, In a, Bytes& out) {
         out.assign(200, 0xEE);
         const int result = KVLINK_ParseGetDirentryRet(c, a, 2, Out(out));
         out.resize(56);
         return result;
       },
       4, thirdEntry},
      {"directory, last packet empty", [](KvlinkContext& c, Out o) { return KVLINK_MakeGetDirentryData(c, o, 1); },
       0x36, {1}, {0, 3},
       [](KvlinkContext& c, In a, Bytes& out) {
         out.assign(200, 0xEE);
         const int result = KVLINK_ParseGetDirentryRet(c, a, 0, Out(out));
         out.resize(1);
         return result;
       },
       0, {0xEE}},
      {"read file back", [](KvlinkContext& c, Out o) { return KVLINK_MakeReadFileNoData(c, o, "0001.lpp", 512, 256); },
       0x37, Join({{0x00, 0x02, 0, 0, 0x00, 0x01}, Text("0001.lpp")}),
       Join({{0x00, 0x02, 0, 0, 0xE8, 0x03, 0, 0}, Counting(256)}), Into(KVLINK_ParseReadFileNoRet, 1024), 264,
       Join({{0x00, 0x02, 0, 0, 0xE8, 0x03, 0, 0}, Counting(256)})},
      {"confirmed write request",
       [=](KvlinkContext& c, Out o) {
         return KVLINK_MakeWriteFileRequestData(c, o, "playbill.lpp", 100000, time7, digest, 1);
       },
       0x38, Join({{0xA0, 0x86, 0x01, 0}, time7, digest, {1}, Text("playbill.lpp")}), requestAnswer,
       Into(KVLINK_ParseWriteFileRequestRet, 16), 15, requestAnswer},
      {"confirmed write request, already there",
       [=](KvlinkContext& c, Out o) {
         return KVLINK_MakeWriteFileRequestData(c, o, "playbill.lpp", 100000, time7, digest, 1);
       },
       0x38, Join({{0xA0, 0x86, 0x01, 0}, time7, digest, {1}, Text("playbill.lpp")}), {1},
       Into(KVLINK_ParseWriteFileRequestRet, 16), 1, {1}},
      {"confirmed write data",
       [=](KvlinkContext& c, Out o) { return KVLINK_MakeWriteFileDataData(c, o, 0x12345678, 3, 7, chunk, true); },
       0x39, Join({{0x78, 0x56, 0x34, 0x12, 3, 0, 7, 0, 1}, chunk}), {0x78, 0x56, 0x34, 0x12, 3, 0, 7, 0, 0},
       Into(KVLINK_ParseWriteFileDataRet), 9, Bytes{0x78, 0x56, 0x34, 0x12, 3, 0, 7, 0, 0}},
      {"confirm a group",
       [](KvlinkContext& c, Out o) { return KVLINK_MakeWriteFileConfirmData(c, o, 0x12345678, 3, 0xBEEF); }, 0x3A,
       {0x78, 0x56, 0x34, 0x12, 3, 0, 0xEF, 0xBE}, confirmAnswer, Into(KVLINK_ParseWriteFileConfirmRet, 1024), 13,
       confirmAnswer},
  };
}

// Runs `check` for every case on every link, with a fresh context and the request as the
// controller read it.
void ForEveryCaseAndLink(const std::function<void(KvlinkContext&, const SignIdentity&, const PacketFields&,
                                                  const OpCase&)>& check) {
  for (const test::Link& link : test::AllLinks()) {
    SCOPED_TRACE(link.name);
    const SignIdentity sign = test::SignFor(link);
    for (const OpCase& row : Cases()) {
      SCOPED_TRACE(row.name);
      const auto ctx = test::ContextFor(link);
      check(*ctx, sign, test::SendRequest(*ctx, sign, row.make), row);
    }
  }
}

TEST(KvlinkOperations, EveryRequestReachesTheControllerAndEveryAnswerComesBack) {
  ForEveryCaseAndLink([](KvlinkContext& ctx, const SignIdentity& sign, const PacketFields& request, const OpCase& row) {
    EXPECT_EQ(request.operation, row.op);
    EXPECT_EQ(request.data, row.request);
    const Bytes answer = EncodeAnswer(sign, request, kStatusDone, row.answer);
    Bytes output;
    const int result = row.parse(ctx, answer, output);
    EXPECT_EQ(result, row.result) << KVLINK_ErrorName(result);
    EXPECT_EQ(output, row.output);
    EXPECT_EQ(KVLINK_GetLastStatus(ctx), 0);
  });
}

// Every operation of the table has a Make / Parse pair above (the generic commands through
// KVLINK_MakeBaseProtocolData).
TEST(KvlinkOperations, TheCasesCoverEveryOperation) {
  std::vector<std::uint8_t> covered;
  for (const OpCase& row : Cases()) covered.push_back(row.op);
  for (const OperationInfo& info : Operations()) {
    EXPECT_NE(std::find(covered.begin(), covered.end(), Code(info.op)), covered.end()) << info.name;
  }
}

// A refusal status from the controller is a refused answer, and the context keeps the status.
TEST(KvlinkOperations, AnAnswerWithAStatusOtherThanDoneIsRefused) {
  ForEveryCaseAndLink([](KvlinkContext& ctx, const SignIdentity& sign, const PacketFields& request, const OpCase& row) {
    Bytes output;
    EXPECT_EQ(row.parse(ctx, EncodeAnswer(sign, request, kStatusNotPermitted, row.answer), output), kKvlinkRefused);
    EXPECT_EQ(KVLINK_GetLastStatus(ctx), kStatusNotPermitted);
  });
}

// Answer data one byte shorter than an operation reads, or one byte longer than its layout, is
// refused (a clock of 6 bytes is never read as a clock).
TEST(KvlinkOperations, AnswerDataOfTheWrongSizeIsRefused) {
  const test::Link link = test::AllLinks()[2];
  const SignIdentity sign = test::SignFor(link);
  for (const OpCase& row : Cases()) {
    SCOPED_TRACE(row.name);
    const OperationInfo* info = FindOperation(row.op);
    if (info == nullptr) continue;
    if (info->answerMin > 0) {
      const auto ctx = test::ContextFor(link);
      const PacketFields request = test::SendRequest(*ctx, sign, row.make);
      const Bytes shorter(info->answerMin - 1, 0);
      Bytes output;
      EXPECT_EQ(row.parse(*ctx, EncodeAnswer(sign, request, kStatusDone, shorter), output), kKvlinkDataSize);
    }
    const auto ctx = test::ContextFor(link);
    const PacketFields request = test::SendRequest(*ctx, sign, row.make);
    const Bytes longer(info->answerMax + 1, 0);
    Bytes output;
    EXPECT_EQ(row.parse(*ctx, EncodeAnswer(sign, request, kStatusDone, longer), output), kKvlinkDataSize);
  }
}

}  // namespace
}  // namespace vantorel

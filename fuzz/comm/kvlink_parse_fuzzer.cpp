// Answers from a controller reach every Parse function: whatever the bytes, a Parse function
// never reads past them, never reports more bytes than its output holds, and an accepted answer
// is the answer to the request made.
//
// Input: byte 0 picks the link (protocol kind and protection), byte 1 the operation and whether
// the rest is a whole answer as received (bit 7 clear) or only its data, which is then sent in a
// right answer packet so that the operations' own data checks are reached.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <span>
#include <vector>

#include "comm/kvlink.h"
#include "comm/operations.h"
#include "comm/sign_protocol.h"

namespace {

using namespace vantorel;
using Out = std::span<std::uint8_t>;
using In = std::span<const std::uint8_t>;

struct Link {
  int kind;
  const char* param1;
  const char* mode;
  const char* password;
};
constexpr Link kLinks[] = {
    {0, "", "1", ""}, {1, "", "1", ""}, {1, "key", "2", ""}, {1, "key", "32770", "pass5678"},
    {2, "000123", "1", ""}, {3, "98765", "1", ""},
};

struct Entry {
  std::function<int(KvlinkContext&, Out)> make;
  // Parses into `out`; returns the result and the bytes that may have been written.
  std::function<int(KvlinkContext&, In, Out)> parse;
  bool copies;  // the result is a count of bytes written to out
};

const std::vector<Entry>& Entries() {
  static const std::array<std::uint8_t, 7> kSeven{};
  static const std::array<std::uint8_t, 6> kSix{};
  static const std::array<std::uint8_t, 4> kFour{};
  static const std::array<std::uint8_t, 24> kDay{};
  static const std::array<std::uint8_t, 16> kDigest{};
  static const std::vector<Entry> entries = {
      {KVLINK_MakeReadVersionData, KVLINK_ParseReadVersionRet2, true},
      {KVLINK_MakeReadAllVerData, KVLINK_ParseReadAllVerRet, true},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeSetClockData(c, o, kSeven); },
       [](KvlinkContext& c, In a, Out) { return KVLINK_ParseSetClockRet(c, a); }, false},
      {KVLINK_MakeReadClockData, KVLINK_ParseReadClockRet, true},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeReadTemperatureData(c, o, 3); }, KVLINK_ParseReadTemperatureRet,
       true},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeWriteTemperatureAdjustData(c, o, kSix); },
       [](KvlinkContext& c, In a, Out) { return KVLINK_ParseWriteTemperatureAdjustRet(c, a); }, false},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeReadCountersData(c, o, 0); },
       [](KvlinkContext& c, In a, Out) {
         std::uint32_t first = 0, second = 0;
         return KVLINK_ParseReadCountersRet(c, a, first, second);
       },
       false},
      {KVLINK_MakeReadPowerScheduleData, KVLINK_ParseReadPowerScheduleRet, true},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeWritePowerScheduleData(c, o, kFour); },
       [](KvlinkContext& c, In a, Out) { return KVLINK_ParseWritePowerScheduleRet(c, a); }, false},
      {KVLINK_MakeReadSoftwareSwitchInfoData, KVLINK_ParseReadSoftwareSwitchInfoRet, true},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeWriteSoftwareSwitchInfoData(c, o, kFour); },
       KVLINK_ParseWriteSoftwareSwitchInfoRet, true},
      {KVLINK_MakeReadBrightnessData, KVLINK_ParseReadBrightnessRet, true},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeWriteBrightnessData(c, o, kDay); },
       [](KvlinkContext& c, In a, Out) { return KVLINK_ParseWriteBrightnessRet(c, a); }, false},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeSendInstantMessageData(c, o, kDay, 0, 17); },
       [](KvlinkContext& c, In a, Out) { return KVLINK_ParseSendInstantMessageRet(c, a); }, false},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeReadRunningInfoData(c, o, 2); }, KVLINK_ParseReadRunningInfoRet,
       true},
      {KVLINK_MakeRestartData, [](KvlinkContext& c, In a, Out) { return KVLINK_ParseRestartRet(c, a); }, false},
      {KVLINK_MakeRestartLegacyData, [](KvlinkContext& c, In a, Out) { return KVLINK_ParseRestartLegacyRet(c, a); },
       false},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeFormatStorageData(c, o, 1); },
       [](KvlinkContext& c, In a, Out) { return KVLINK_ParseFormatStorageRet(c, a); }, false},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeDeleteFilesData(c, o, "*.*"); },
       [](KvlinkContext& c, In a, Out) { return KVLINK_ParseDeleteFilesRet(c, a); }, false},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeGetFreeSpaceData(c, o, 1); },
       [](KvlinkContext& c, In a, Out) { return KVLINK_ParseGetFreeSpaceRet(c, a); }, false},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeGetFreeSpaceData(c, o, 1); }, KVLINK_ParseGetFreeSpaceRet2, true},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeQueryControllerInfo(c, o, 0); },
       KVLINK_ParseQueryControllerInfoRet, true},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeBaseProtocolData(c, o, 225, std::array<std::uint8_t, 39>{}); },
       KVLINK_ParseBaseProtocolRet, true},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeOpenFileData(c, o, "a.lpp", 10, kSix); },
       [](KvlinkContext& c, In a, Out) { return KVLINK_ParseOpenFileRet(c, a); }, false},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeWriteBlockData(c, o, kSix, 0); },
       [](KvlinkContext& c, In a, Out) {
         std::uint32_t cookie = 0;
         return KVLINK_ParseWriteBlockRet(c, a, cookie);
       },
       false},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeCloseFileNoData(c, o, 6); },
       [](KvlinkContext& c, In a, Out) { return KVLINK_ParseCloseFileNoRet(c, a); }, false},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeStartFastWriteData(c, o, "a.lpp", 10, kSix); },
       [](KvlinkContext& c, In a, Out) { return KVLINK_ParseStartFastWriteRet(c, a); }, false},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeSendPacketData(c, o, kSix, 0, 6, true); },
       [](KvlinkContext& c, In a, Out) { return KVLINK_ParseSendPacketRet(c, a); }, false},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeQueryMissingData(c, o, 9); },
       [](KvlinkContext& c, In a, Out o) {
         std::array<std::uint16_t, 3> list{};  // fewer than an answer may list
         const int result = KVLINK_ParseQueryMissingRet(c, a, list);
         if (result > 36) std::abort();
         (void)o;
         return result;
       },
       false},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeGetDirentryData(c, o, 1); },
       [](KvlinkContext& c, In a, Out o) {
         int count = KVLINK_ParseGetDirentryRet(c, a, 0, o);
         for (int i = 1; i < count + 1; ++i) KVLINK_ParseGetDirentryRet(c, a, i, o);
         if (count > 4) std::abort();
         return count;
       },
       false},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeReadFileNoData(c, o, "a.lpp", 0, 64); }, KVLINK_ParseReadFileNoRet,
       true},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeWriteFileRequestData(c, o, "a.lpp", 10, kSeven, kDigest, 1); },
       KVLINK_ParseWriteFileRequestRet, true},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeWriteFileDataData(c, o, 1, 0, 0, kSix, true); },
       KVLINK_ParseWriteFileDataRet, true},
      {[](KvlinkContext& c, Out o) { return KVLINK_MakeWriteFileConfirmData(c, o, 1, 0, 0xFFFF); },
       KVLINK_ParseWriteFileConfirmRet, true},
  };
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const Link& link = kLinks[data[0] % std::size(kLinks)];
  const std::vector<Entry>& entries = Entries();
  const Entry& entry = entries[(data[1] & 0x7F) % entries.size()];
  const bool dataOnly = (data[1] & 0x80) != 0;
  const In rest(data + 2, size - 2);

  auto ctx = KVLINK_CreateContext(link.kind, link.kind == 0 ? 7 : 255, link.kind == 1 ? 0x12345678 : 0);
  KVLINK_CommData_SetParam(*ctx, 1, link.param1);
  KVLINK_CommData_SetParam(*ctx, 2, link.mode);
  KVLINK_CommData_SetParam(*ctx, 3, link.password);
  KVLINK_SetSequence(*ctx, 0x5A);  // the whole answers of the seed corpus repeat it
  std::vector<std::uint8_t> request(4600);
  const int length = entry.make(*ctx, request);
  if (length <= 0) std::abort();
  request.resize(static_cast<std::size_t>(length));

  std::vector<std::uint8_t> answer(rest.begin(), rest.end());
  if (dataOnly) {
    SignIdentity sign;
    sign.kind = link.kind;
    sign.address = 7;
    sign.idCode = link.kind == 1 ? 0x12345678 : 0;
    sign.deviceId = link.kind >= 2 ? link.param1 : "";
    sign.keyText = link.kind == 1 ? link.param1 : "";
    sign.password = link.password;
    const RequestDecode decoded = DecodeRequest(sign, request);
    if (decoded.refusal != Refusal::kNone) std::abort();  // our own request
    answer = EncodeAnswer(sign, decoded.request, kStatusDone, rest);
  }
  // The answer in a buffer of exactly its size, the output smaller than most answers.
  const auto exact = std::make_unique<std::uint8_t[]>(answer.size());
  std::copy(answer.begin(), answer.end(), exact.get());
  std::array<std::uint8_t, 20> out{};
  const int result = entry.parse(*ctx, In(exact.get(), answer.size()), out);
  if (entry.copies && result > static_cast<int>(out.size())) std::abort();
  return 0;
}

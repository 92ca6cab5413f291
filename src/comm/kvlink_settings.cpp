// Make and Parse of the settings and control operations (versions, clock, temperature, counters,
// power schedule, switches, brightness, instant message, running info, restart, storage).

#include <limits>

#include "comm/kvlink.h"
#include "comm/kvlink_request.h"
#include "platform/byte_reader.h"
#include "platform/byte_writer.h"

namespace vantorel {
namespace {

using Bytes = std::span<const std::uint8_t>;
using Out = std::span<std::uint8_t>;

// Answers without data: 0.
int ReadEmpty(KvlinkContext& ctx, Bytes answer, Op op) {
  std::vector<std::uint8_t> data;
  return ReadAnswer(ctx, answer, op, data);
}

// Answers of one byte whose value is the result.
int ReadFirstByte(KvlinkContext& ctx, Bytes answer, Op op) {
  std::vector<std::uint8_t> data;
  const int result = ReadAnswer(ctx, answer, op, data);
  return result < 0 ? result : data.front();
}

int MakeSelector(KvlinkContext& ctx, Out out, Op op, std::uint8_t selector) {
  const std::uint8_t data[] = {selector};
  return MakeRequest(ctx, out, op, data);
}

}  // namespace

int KVLINK_MakeReadVersionData(KvlinkContext& ctx, Out out) { return MakeRequest(ctx, out, Op::kReadVersion); }
int KVLINK_ParseReadVersionRet2(KvlinkContext& ctx, Bytes answer, Out out) {
  return ReadAnswerInto(ctx, answer, Op::kReadVersion, out);
}

int KVLINK_MakeReadAllVerData(KvlinkContext& ctx, Out out) { return MakeRequest(ctx, out, Op::kReadAllVersions); }
int KVLINK_ParseReadAllVerRet(KvlinkContext& ctx, Bytes answer, Out out) {
  return ReadAnswerInto(ctx, answer, Op::kReadAllVersions, out);
}

int KVLINK_MakeSetClockData(KvlinkContext& ctx, Out out, Bytes clock) { return MakeRequest(ctx, out, Op::kSetClock, clock); }
int KVLINK_ParseSetClockRet(KvlinkContext& ctx, Bytes answer) { return ReadEmpty(ctx, answer, Op::kSetClock); }
int KVLINK_MakeReadClockData(KvlinkContext& ctx, Out out) { return MakeRequest(ctx, out, Op::kReadClock); }
int KVLINK_ParseReadClockRet(KvlinkContext& ctx, Bytes answer, Out out) { return ReadAnswerInto(ctx, answer, Op::kReadClock, out); }

int KVLINK_MakeReadTemperatureData(KvlinkContext& ctx, Out out, std::uint8_t selector) {
  return MakeSelector(ctx, out, Op::kReadTemperature, selector);
}
int KVLINK_ParseReadTemperatureRet(KvlinkContext& ctx, Bytes answer, Out out) {
  return ReadAnswerInto(ctx, answer, Op::kReadTemperature, out);
}
int KVLINK_MakeWriteTemperatureAdjustData(KvlinkContext& ctx, Out out, Bytes block) {
  return MakeRequest(ctx, out, Op::kWriteTemperatureAdjust, block);
}
int KVLINK_ParseWriteTemperatureAdjustRet(KvlinkContext& ctx, Bytes answer) {
  return ReadEmpty(ctx, answer, Op::kWriteTemperatureAdjust);
}

int KVLINK_MakeReadCountersData(KvlinkContext& ctx, Out out, std::uint8_t selector) {
  return MakeSelector(ctx, out, Op::kReadCounters, selector);
}
int KVLINK_ParseReadCountersRet(KvlinkContext& ctx, Bytes answer, std::uint32_t& first, std::uint32_t& second) {
  std::vector<std::uint8_t> data;
  const int result = ReadAnswer(ctx, answer, Op::kReadCounters, data);
  if (result < 0) return result;
  ByteReader in(data);
  first = in.U32Le();
  second = in.U32Le();
  return static_cast<int>(data.size());
}

int KVLINK_MakeReadPowerScheduleData(KvlinkContext& ctx, Out out) { return MakeRequest(ctx, out, Op::kReadPowerSchedule); }
int KVLINK_ParseReadPowerScheduleRet(KvlinkContext& ctx, Bytes answer, Out out) {
  return ReadAnswerInto(ctx, answer, Op::kReadPowerSchedule, out);
}
int KVLINK_MakeWritePowerScheduleData(KvlinkContext& ctx, Out out, Bytes schedule) {
  return MakeRequest(ctx, out, Op::kWritePowerSchedule, schedule);
}
int KVLINK_ParseWritePowerScheduleRet(KvlinkContext& ctx, Bytes answer) {
  return ReadEmpty(ctx, answer, Op::kWritePowerSchedule);
}

int KVLINK_MakeReadSoftwareSwitchInfoData(KvlinkContext& ctx, Out out) {
  return MakeRequest(ctx, out, Op::kReadSoftwareSwitchInfo);
}
int KVLINK_ParseReadSoftwareSwitchInfoRet(KvlinkContext& ctx, Bytes answer, Out out) {
  return ReadAnswerInto(ctx, answer, Op::kReadSoftwareSwitchInfo, out);
}
int KVLINK_MakeWriteSoftwareSwitchInfoData(KvlinkContext& ctx, Out out, Bytes block) {
  return MakeRequest(ctx, out, Op::kWriteSoftwareSwitchInfo, block);
}
int KVLINK_ParseWriteSoftwareSwitchInfoRet(KvlinkContext& ctx, Bytes answer, Out out) {
  return ReadAnswerInto(ctx, answer, Op::kWriteSoftwareSwitchInfo, out);
}

int KVLINK_MakeReadBrightnessData(KvlinkContext& ctx, Out out) { return MakeRequest(ctx, out, Op::kReadBrightness); }
int KVLINK_ParseReadBrightnessRet(KvlinkContext& ctx, Bytes answer, Out out) {
  return ReadAnswerInto(ctx, answer, Op::kReadBrightness, out);
}
int KVLINK_MakeWriteBrightnessData(KvlinkContext& ctx, Out out, Bytes brightness) {
  return MakeRequest(ctx, out, Op::kWriteBrightness, brightness);
}
int KVLINK_ParseWriteBrightnessRet(KvlinkContext& ctx, Bytes answer) { return ReadEmpty(ctx, answer, Op::kWriteBrightness); }

int KVLINK_MakeSendInstantMessageData(KvlinkContext& ctx, Out out, Bytes piece, std::uint16_t offset,
                                      std::uint8_t pieceFlag) {
  if (piece.empty() || piece.size() > kMaxMessagePiece) return 0;
  ByteWriter data(3 + piece.size());
  data.U8(pieceFlag);
  data.U16Le(offset);
  data.Bytes(piece);
  return MakeRequest(ctx, out, Op::kSendInstantMessage, data.View());
}
int KVLINK_ParseSendInstantMessageRet(KvlinkContext& ctx, Bytes answer) {
  return ReadEmpty(ctx, answer, Op::kSendInstantMessage);
}

int KVLINK_MakeReadRunningInfoData(KvlinkContext& ctx, Out out, std::uint8_t selector) {
  return MakeSelector(ctx, out, Op::kReadRunningInfo, selector);
}
int KVLINK_ParseReadRunningInfoRet(KvlinkContext& ctx, Bytes answer, Out out) {
  return ReadAnswerInto(ctx, answer, Op::kReadRunningInfo, out);
}

int KVLINK_MakeRestartData(KvlinkContext& ctx, Out out) { return MakeRequest(ctx, out, Op::kRestart); }
int KVLINK_ParseRestartRet(KvlinkContext& ctx, Bytes answer) { return ReadFirstByte(ctx, answer, Op::kRestart); }
int KVLINK_MakeRestartLegacyData(KvlinkContext& ctx, Out out) { return MakeRequest(ctx, out, Op::kRestartLegacy); }
int KVLINK_ParseRestartLegacyRet(KvlinkContext& ctx, Bytes answer) {
  return ReadFirstByte(ctx, answer, Op::kRestartLegacy);
}

int KVLINK_MakeFormatStorageData(KvlinkContext& ctx, Out out, std::uint8_t selector) {
  return MakeSelector(ctx, out, Op::kFormatStorage, selector);
}
int KVLINK_ParseFormatStorageRet(KvlinkContext& ctx, Bytes answer) { return ReadFirstByte(ctx, answer, Op::kFormatStorage); }

int KVLINK_MakeDeleteFilesData(KvlinkContext& ctx, Out out, std::string_view pattern) {
  ByteWriter data(pattern.size());
  data.Text(pattern);
  return MakeRequest(ctx, out, Op::kDeleteFiles, data.View());
}
int KVLINK_ParseDeleteFilesRet(KvlinkContext& ctx, Bytes answer) { return ReadAnswerU16(ctx, answer, Op::kDeleteFiles); }

int KVLINK_MakeGetFreeSpaceData(KvlinkContext& ctx, Out out, std::uint8_t selector) {
  return MakeSelector(ctx, out, Op::kGetFreeSpace, selector);
}
int KVLINK_ParseGetFreeSpaceRet(KvlinkContext& ctx, Bytes answer) {
  std::vector<std::uint8_t> data;
  const int result = ReadAnswer(ctx, answer, Op::kGetFreeSpace, data);
  if (result < 0) return result;
  ByteReader in(data);
  const std::uint64_t low = in.U32Le();
  const std::uint64_t free = low | static_cast<std::uint64_t>(in.U32Le()) << 32;
  constexpr std::uint64_t kMost = std::numeric_limits<int>::max();
  return static_cast<int>(free < kMost ? free : kMost);
}
int KVLINK_ParseGetFreeSpaceRet2(KvlinkContext& ctx, Bytes answer, Out out) {
  return ReadAnswerInto(ctx, answer, Op::kGetFreeSpace, out);
}

int KVLINK_MakeQueryControllerInfo(KvlinkContext& ctx, Out out, std::uint8_t page) {
  return MakeSelector(ctx, out, Op::kQueryControllerInfo, page);
}
int KVLINK_ParseQueryControllerInfoRet(KvlinkContext& ctx, Bytes answer, Out out) {
  return ReadAnswerInto(ctx, answer, Op::kQueryControllerInfo, out);
}

int KVLINK_MakeBaseProtocolData(KvlinkContext& ctx, Out out, std::uint8_t command, Bytes data) {
  return MakeRequest(ctx, out, command, data);
}
int KVLINK_ParseBaseProtocolRet(KvlinkContext& ctx, Bytes answer, Out out) {
  std::vector<std::uint8_t> data;
  const int result = ReadAnswer(ctx, answer, kAnyOperation, data);
  return result < 0 ? result : CopyAnswer(data, out);
}

}  // namespace vantorel

#include "comm/uni_comm.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <memory>
#include <random>
#include <thread>

#include "app/text_ids.h"
#include "app/text_table.h"
#include "comm/milli_clock.h"
#include "comm/operations.h"
#include "comm/packet.h"
#include "platform/byte_reader.h"
#include "platform/byte_writer.h"

namespace vantorel {
namespace {

// Request capacities of the operations.
constexpr std::size_t kShortCommand = 200;
constexpr std::size_t kMessageCapacity = 1200;
constexpr std::size_t kPatternCapacity = 1000;
constexpr std::size_t kFileCapacity = 2000;
constexpr std::size_t kFileDataCapacity = 4096;
// Answers a directory listing may come in before it is taken as endless.
constexpr int kMaxListingAnswers = 4096;

constexpr std::size_t kClockSize = 7;
constexpr std::size_t kVersionSize = 8;
constexpr std::size_t kAllVersionsMin = 24;
constexpr std::size_t kTemperatureSize = 6;
constexpr std::size_t kScheduleSize = 4;
constexpr std::size_t kBrightnessSize = 24;
constexpr std::size_t kRunningInfoSize = 8;

// Copies `count` bytes of `data` (already cut to what the answer held) to `out` when at least
// `need` came; `out` is cleared first.
bool Deliver(int count, std::span<const std::uint8_t> data, std::size_t need, std::span<std::uint8_t> out) {
  std::ranges::fill(out, std::uint8_t{0});
  if (count < 0 || static_cast<std::size_t>(count) < need) return false;
  const std::size_t n = std::min({static_cast<std::size_t>(count), data.size(), out.size()});
  std::copy_n(data.begin(), n, out.begin());
  return true;
}

}  // namespace

// ---- Password and protection blocks ----

RandomSource TimeSeededRandom() {
  const auto now = std::chrono::system_clock::now().time_since_epoch().count() ^
                   std::chrono::steady_clock::now().time_since_epoch().count();
  auto engine = std::make_shared<std::mt19937>(static_cast<std::uint32_t>(now ^ (now >> 32)));
  return [engine] { return static_cast<std::uint32_t>((*engine)()); };
}

bool BuildPasswordBlock(std::string_view password, std::span<std::uint8_t> out, const RandomSource& random) {
  if (password.size() != kControllerPasswordLength || out.size() < kControllerPasswordBlockSize || !random) return false;
  std::string key(password);
  key += kPasswordKeySuffix;
  std::uint32_t mask = 0;
  for (std::size_t i = 0; i < key.size(); ++i) {
    const std::uint32_t s = random() % 2 + 1;
    const auto r = static_cast<std::uint8_t>(random() % 256);
    const auto inverted = static_cast<std::uint8_t>(~(static_cast<std::uint8_t>(key[i]) ^ r));
    out[4 + 2 * i] = s == 2 ? inverted : r;
    out[5 + 2 * i] = s == 2 ? r : inverted;
    mask = (mask + s) * 4;
  }
  out[0] = static_cast<std::uint8_t>(mask);
  out[1] = static_cast<std::uint8_t>(mask >> 8);
  out[2] = static_cast<std::uint8_t>(mask >> 16);
  out[3] = static_cast<std::uint8_t>(mask >> 24);
  return true;
}

std::vector<std::uint8_t> BuildAuthBlock(std::uint16_t flags, std::string_view password, const RandomSource& random) {
  ByteWriter out(kAuthBlockSize);
  out.U8(0);
  out.U16Le(flags);
  std::array<std::uint8_t, kControllerPasswordBlockSize> block{};
  const std::string_view used = (flags & kAuthCustomPassword) != 0 ? password : kDefaultControllerPassword;
  if (!BuildPasswordBlock(used, block, random)) block.fill(0);
  out.Bytes(block);
  return std::move(out).Take();
}

// ---- Plumbing ----

int CUniComm::ProtocolKind() const {
  switch (m_kind) {
    case kChannelNetwork: return kKindNetwork;
    case kChannelRelayNetwork: return kKindRelayNetwork;
    case kChannelRelayGprs: return kKindRelayGprs;
    default: return kKindSerial;
  }
}

void CUniComm::ConfigureContext(KvlinkContext& /*ctx*/) const {}
std::uint32_t CUniComm::ContextIdCode() const { return 0; }
std::uint8_t CUniComm::GetType() const { return m_kind; }
int CUniComm::OpenCount() const { return m_openCount; }
std::string CUniComm::GetErrorText() const { return LoadText(kTextFailed); }
int CUniComm::BlockSize() const { return 512; }
int CUniComm::PacketSize() const { return 512; }
bool CUniComm::WaitEachPacket() const { return false; }
bool CUniComm::IsNetwork() const { return false; }

int CUniComm::FtpUpload(const std::filesystem::path& /*localPath*/, std::string_view /*remoteName*/,
                        unsigned /*flags*/, const UploadProgress& /*progress*/) {
  return -1;
}

int CUniComm::SetPacketPause(int pauseMs) { return std::exchange(m_pauseMs, pauseMs); }
int CUniComm::PacketPause() const { return m_pauseMs; }

int CUniComm::AppendChecksum(std::span<std::uint8_t> buffer, int length) const {
  if (length < 0 || static_cast<std::size_t>(length) + 2 > buffer.size()) return -1;
  const auto n = static_cast<std::size_t>(length);
  std::uint16_t even = 0;
  std::uint16_t odd = 0;
  for (std::size_t i = 0; i + 1 < n; i += 2) {
    even = static_cast<std::uint16_t>(even + buffer[i]);
    odd = static_cast<std::uint16_t>(odd + buffer[i + 1]);
  }
  auto total = static_cast<std::uint16_t>(even + odd);
  if (n % 2 == 1) total = static_cast<std::uint16_t>(total + buffer[n - 1]);
  buffer[n] = static_cast<std::uint8_t>(total);
  buffer[n + 1] = static_cast<std::uint8_t>(total >> 8);
  return length + 2;
}

// ---- The operation pattern ----

struct CUniComm::Reply {
  int outcome = 0;   // 0, kCommSendFailed or kCommNoAnswer
  int parse = -1;    // the Parse function's result when outcome is 0
  bool Parsed() const { return outcome == 0 && parse >= 0; }
  // The file operations' result: -1, -2, 0 for a refused answer, else the value.
  int FileResult() const { return outcome != 0 ? outcome : std::max(parse, 0); }
};

std::size_t CUniComm::ReceiveCapacity(std::size_t requestCapacity, int op) const {
  // Room for the largest answer the operation may have, unframed (the serial channel gives
  // the frame's body): header, ID code, device ID, data, keyed check and CRC.
  const OperationInfo* info = op >= 0 && op <= 0xFF ? FindOperation(static_cast<std::uint8_t>(op)) : nullptr;
  const std::size_t largest = kPacketMinSize + kMaxDeviceIdLength + 8 + (info != nullptr ? info->answerMax : 0);
  return std::max(requestCapacity, largest);
}

template <typename Make, typename Parse>
CUniComm::Reply CUniComm::Exchange(std::size_t capacity, int answerOp, Make make, Parse parse, bool answerWanted) {
  const std::unique_ptr<KvlinkContext> ctx = KVLINK_CreateContext(ProtocolKind(), m_address, ContextIdCode());
  if (!ctx) return {kCommSendFailed};
  ConfigureContext(*ctx);
  std::vector<std::uint8_t> buffer(ReceiveCapacity(capacity, answerOp));
  const int length = make(*ctx, std::span<std::uint8_t>(buffer).first(capacity));
  if (length <= 0) {
    SetFailure(Status::Failure(kTextFailed, "the request does not fit " + std::to_string(capacity) + " bytes"));
    return {kCommSendFailed};
  }
  const std::vector<std::uint8_t> request(buffer.begin(), buffer.begin() + length);
  if (!Send(request)) return {kCommSendFailed};
  if (!answerWanted) return {0, 0};
  int received = Receive(buffer);
  if (received <= 0 && RepeatsUnansweredRequests()) {
    if (!Send(request)) return {kCommSendFailed};
    received = Receive(buffer);
  }
  if (received <= 0) return {kCommNoAnswer};
  const auto answer = std::span<const std::uint8_t>(buffer).first(static_cast<std::size_t>(received));
  return {0, parse(*ctx, answer)};
}

// ---- Controller operations ----

bool CUniComm::ReadVersion(std::span<std::uint8_t> out) {
  std::array<std::uint8_t, kVersionSize> data{};
  const Reply reply = Exchange(kShortCommand, Code(Op::kReadVersion), KVLINK_MakeReadVersionData,
                               [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
                                 return KVLINK_ParseReadVersionRet2(ctx, answer, data);
                               });
  return Deliver(reply.Parsed() ? reply.parse : -1, data, kVersionSize, out);
}

int CUniComm::ReadAllVersions(std::span<std::uint8_t> out) {
  std::array<std::uint8_t, 256> data{};
  const Reply reply = Exchange(kShortCommand, Code(Op::kReadAllVersions), KVLINK_MakeReadAllVerData,
                               [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
                                 return KVLINK_ParseReadAllVerRet(ctx, answer, data);
                               });
  if (!Deliver(reply.Parsed() ? reply.parse : -1, data, kAllVersionsMin, out)) return 0;
  return static_cast<int>(std::min(static_cast<std::size_t>(reply.parse), out.size()));
}

bool CUniComm::SetClock(std::span<const std::uint8_t> clock) {
  return Exchange(
             kShortCommand, Code(Op::kSetClock),
             [&](KvlinkContext& ctx, std::span<std::uint8_t> out) { return KVLINK_MakeSetClockData(ctx, out, clock); },
             KVLINK_ParseSetClockRet)
      .Parsed();
}

bool CUniComm::ReadClock(std::span<std::uint8_t> out) {
  std::array<std::uint8_t, kClockSize> data{};
  const Reply reply = Exchange(kShortCommand, Code(Op::kReadClock), KVLINK_MakeReadClockData,
                               [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
                                 return KVLINK_ParseReadClockRet(ctx, answer, data);
                               });
  return Deliver(reply.Parsed() ? reply.parse : -1, data, kClockSize, out);
}

bool CUniComm::ReadTemperature(std::span<std::uint8_t> out, std::uint8_t selector) {
  std::array<std::uint8_t, kTemperatureSize> data{};
  const Reply reply = Exchange(
      kShortCommand, Code(Op::kReadTemperature),
      [&](KvlinkContext& ctx, std::span<std::uint8_t> request) {
        return KVLINK_MakeReadTemperatureData(ctx, request, selector);
      },
      [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
        return KVLINK_ParseReadTemperatureRet(ctx, answer, data);
      });
  return Deliver(reply.Parsed() ? reply.parse : -1, data, kTemperatureSize, out);
}

bool CUniComm::WriteTemperatureAdjust(std::span<const std::uint8_t> block) {
  return Exchange(
             kShortCommand, Code(Op::kWriteTemperatureAdjust),
             [&](KvlinkContext& ctx, std::span<std::uint8_t> out) {
               return KVLINK_MakeWriteTemperatureAdjustData(ctx, out, block);
             },
             KVLINK_ParseWriteTemperatureAdjustRet)
      .Parsed();
}

bool CUniComm::ReadCounters(std::uint8_t selector, std::uint32_t& first, std::uint32_t& second) {
  first = second = 0;
  std::uint32_t a = 0;
  std::uint32_t b = 0;
  const Reply reply = Exchange(
      kShortCommand, Code(Op::kReadCounters),
      [&](KvlinkContext& ctx, std::span<std::uint8_t> out) { return KVLINK_MakeReadCountersData(ctx, out, selector); },
      [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
        return KVLINK_ParseReadCountersRet(ctx, answer, a, b);
      });
  if (!reply.Parsed() || reply.parse < 8) return false;
  first = a;
  second = b;
  return true;
}

bool CUniComm::ReadPowerSchedule(std::span<std::uint8_t> out) {
  std::array<std::uint8_t, kScheduleSize> data{};
  const Reply reply = Exchange(kShortCommand, Code(Op::kReadPowerSchedule), KVLINK_MakeReadPowerScheduleData,
                               [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
                                 return KVLINK_ParseReadPowerScheduleRet(ctx, answer, data);
                               });
  return Deliver(reply.Parsed() ? reply.parse : -1, data, kScheduleSize, out);
}

bool CUniComm::WritePowerSchedule(std::span<const std::uint8_t> schedule) {
  return Exchange(
             kShortCommand, Code(Op::kWritePowerSchedule),
             [&](KvlinkContext& ctx, std::span<std::uint8_t> out) {
               return KVLINK_MakeWritePowerScheduleData(ctx, out, schedule);
             },
             KVLINK_ParseWritePowerScheduleRet)
      .Parsed();
}

bool CUniComm::ReadSoftwareSwitchInfo(std::span<std::uint8_t> out) {
  std::array<std::uint8_t, kMaxSwitchBlock> data{};
  const Reply reply = Exchange(kShortCommand, Code(Op::kReadSoftwareSwitchInfo), KVLINK_MakeReadSoftwareSwitchInfoData,
                               [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
                                 return KVLINK_ParseReadSoftwareSwitchInfoRet(ctx, answer, data);
                               });
  return Deliver(reply.Parsed() ? reply.parse : -1, data, 1, out);
}

bool CUniComm::WriteSoftwareSwitchInfo(std::span<const std::uint8_t> block) {
  std::array<std::uint8_t, 100> area{};
  return Exchange(
             kShortCommand, Code(Op::kWriteSoftwareSwitchInfo),
             [&](KvlinkContext& ctx, std::span<std::uint8_t> out) {
               return KVLINK_MakeWriteSoftwareSwitchInfoData(ctx, out, block);
             },
             [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
               return KVLINK_ParseWriteSoftwareSwitchInfoRet(ctx, answer, area);
             })
      .Parsed();
}

bool CUniComm::ReadBrightness(std::span<std::uint8_t> out) {
  std::array<std::uint8_t, kBrightnessSize> data{};
  const Reply reply = Exchange(kShortCommand, Code(Op::kReadBrightness), KVLINK_MakeReadBrightnessData,
                               [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
                                 return KVLINK_ParseReadBrightnessRet(ctx, answer, data);
                               });
  return Deliver(reply.Parsed() ? reply.parse : -1, data, kBrightnessSize, out);
}

bool CUniComm::WriteBrightness(std::span<const std::uint8_t> brightness) {
  return Exchange(
             kShortCommand, Code(Op::kWriteBrightness),
             [&](KvlinkContext& ctx, std::span<std::uint8_t> out) {
               return KVLINK_MakeWriteBrightnessData(ctx, out, brightness);
             },
             KVLINK_ParseWriteBrightnessRet)
      .Parsed();
}

bool CUniComm::SendInstantMessage(std::span<const std::uint8_t> piece, std::uint16_t offset, std::uint8_t pieceFlag) {
  return Exchange(
             kMessageCapacity, Code(Op::kSendInstantMessage),
             [&](KvlinkContext& ctx, std::span<std::uint8_t> out) {
               return KVLINK_MakeSendInstantMessageData(ctx, out, piece, offset, pieceFlag);
             },
             KVLINK_ParseSendInstantMessageRet)
      .Parsed();
}

bool CUniComm::ReadRunningInfo(std::span<std::uint8_t> out, std::uint8_t selector) {
  std::array<std::uint8_t, kRunningInfoSize> data{};
  const Reply reply = Exchange(
      kShortCommand, Code(Op::kReadRunningInfo),
      [&](KvlinkContext& ctx, std::span<std::uint8_t> request) {
        return KVLINK_MakeReadRunningInfoData(ctx, request, selector);
      },
      [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
        return KVLINK_ParseReadRunningInfoRet(ctx, answer, data);
      });
  return Deliver(reply.Parsed() ? reply.parse : -1, data, kRunningInfoSize, out);
}

bool CUniComm::Restart() {
  const Reply reply = Exchange(kShortCommand, Code(Op::kRestart), KVLINK_MakeRestartData, KVLINK_ParseRestartRet);
  return reply.outcome == 0 && reply.parse > 0;
}

bool CUniComm::RestartLegacy() {
  const Reply reply =
      Exchange(kShortCommand, Code(Op::kRestartLegacy), KVLINK_MakeRestartLegacyData, KVLINK_ParseRestartLegacyRet);
  return reply.outcome == 0 && reply.parse > 0;
}

int CUniComm::FormatStorage(std::uint8_t selector) {
  const Reply reply = Exchange(
      kShortCommand, Code(Op::kFormatStorage),
      [&](KvlinkContext& ctx, std::span<std::uint8_t> out) { return KVLINK_MakeFormatStorageData(ctx, out, selector); },
      KVLINK_ParseFormatStorageRet);
  return reply.Parsed() ? reply.parse : 0;
}

bool CUniComm::DeleteFiles(std::string_view pattern) {
  return Exchange(
             kPatternCapacity, Code(Op::kDeleteFiles),
             [&](KvlinkContext& ctx, std::span<std::uint8_t> out) { return KVLINK_MakeDeleteFilesData(ctx, out, pattern); },
             KVLINK_ParseDeleteFilesRet)
      .Parsed();
}

int CUniComm::GetFreeSpace(std::uint8_t selector) {
  const Reply reply = Exchange(
      kShortCommand, Code(Op::kGetFreeSpace),
      [&](KvlinkContext& ctx, std::span<std::uint8_t> out) { return KVLINK_MakeGetFreeSpaceData(ctx, out, selector); },
      KVLINK_ParseGetFreeSpaceRet);
  return reply.Parsed() ? reply.parse : 0;
}

std::uint64_t CUniComm::GetFreeSpace64(std::uint8_t selector) {
  std::array<std::uint8_t, 16> data{};
  const Reply reply = Exchange(
      kShortCommand, Code(Op::kGetFreeSpace),
      [&](KvlinkContext& ctx, std::span<std::uint8_t> out) { return KVLINK_MakeGetFreeSpaceData(ctx, out, selector); },
      [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
        return KVLINK_ParseGetFreeSpaceRet2(ctx, answer, data);
      });
  if (!reply.Parsed() || reply.parse < 8) return 0;
  ByteReader in(data);
  const std::uint64_t low = in.U32Le();
  const std::uint64_t high = in.U32Le();
  return low | (high << 32);
}

int CUniComm::OpenWrite(std::string_view remoteName, std::uint32_t size, std::span<const std::uint8_t> info) {
  return Exchange(
             kFileCapacity, Code(Op::kOpenFile),
             [&](KvlinkContext& ctx, std::span<std::uint8_t> out) {
               return KVLINK_MakeOpenFileData(ctx, out, remoteName, size, info);
             },
             KVLINK_ParseOpenFileRet)
      .FileResult();
}

int CUniComm::WriteBlock(std::span<const std::uint8_t> data, std::uint32_t& cookie) {
  std::uint32_t next = cookie;
  const Reply reply = Exchange(
      kFileCapacity, Code(Op::kWriteBlock),
      [&](KvlinkContext& ctx, std::span<std::uint8_t> out) { return KVLINK_MakeWriteBlockData(ctx, out, data, cookie); },
      [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
        return KVLINK_ParseWriteBlockRet(ctx, answer, next);
      });
  const int result = reply.FileResult();
  if (result > 0) cookie = next;
  return result;
}

int CUniComm::CloseWrite(std::uint32_t cookie) {
  return Exchange(
             kFileCapacity, Code(Op::kCloseFile),
             [&](KvlinkContext& ctx, std::span<std::uint8_t> out) { return KVLINK_MakeCloseFileNoData(ctx, out, cookie); },
             KVLINK_ParseCloseFileNoRet)
      .FileResult();
}

int CUniComm::StartFastWrite(std::string_view remoteName, std::uint32_t size, std::span<const std::uint8_t> info) {
  return Exchange(
             kFileCapacity, Code(Op::kStartFastWrite),
             [&](KvlinkContext& ctx, std::span<std::uint8_t> out) {
               return KVLINK_MakeStartFastWriteData(ctx, out, remoteName, size, info);
             },
             KVLINK_ParseStartFastWriteRet)
      .FileResult();
}

int CUniComm::SendPacket(std::span<const std::uint8_t> data, std::uint16_t number, std::uint16_t packetSize, bool wait) {
  const Reply reply = Exchange(
      kFileCapacity, Code(Op::kSendPacket),
      [&](KvlinkContext& ctx, std::span<std::uint8_t> out) {
        return KVLINK_MakeSendPacketData(ctx, out, data, number, packetSize, wait);
      },
      KVLINK_ParseSendPacketRet, wait);
  if (reply.outcome != 0) return reply.outcome;
  if (!wait) return 1;
  return reply.parse == number ? 1 : 0;
}

int CUniComm::QueryMissing(std::uint16_t packetCount, std::span<std::uint16_t> list, int timeoutMs) {
  const std::unique_ptr<KvlinkContext> ctx = KVLINK_CreateContext(ProtocolKind(), m_address, ContextIdCode());
  if (!ctx) return kCommSendFailed;
  ConfigureContext(*ctx);
  std::vector<std::uint8_t> buffer(ReceiveCapacity(kShortCommand, Code(Op::kQueryMissing)));
  const int length =
      KVLINK_MakeQueryMissingData(*ctx, std::span<std::uint8_t>(buffer).first(kShortCommand), packetCount);
  if (length <= 0) return kCommSendFailed;
  const std::vector<std::uint8_t> request(buffer.begin(), buffer.begin() + length);
  for (int ask = 0; ask < 4; ++ask) {
    if (!Send(request)) return kCommSendFailed;
    const Deadline deadline = Deadline::After(timeoutMs);
    do {
      const int received = Receive(buffer);
      if (received <= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(MilliClock::kPeriodMs));
        continue;
      }
      const int missing = KVLINK_ParseQueryMissingRet(
          *ctx, std::span<const std::uint8_t>(buffer).first(static_cast<std::size_t>(received)), list);
      // A refused answer (a late one to an earlier packet) is passed over; the wait goes on.
      if (missing >= 0) return missing > static_cast<int>(kMaxMissingListed) ? 0 : missing;
    } while (!deadline.Expired());
  }
  return kCommSendFailed;
}

bool CUniComm::ReadDirectory(std::uint8_t selector, std::vector<ControllerFileEntry>& list) {
  list.clear();
  const std::unique_ptr<KvlinkContext> ctx = KVLINK_CreateContext(ProtocolKind(), m_address, ContextIdCode());
  if (!ctx) return false;
  ConfigureContext(*ctx);
  std::vector<std::uint8_t> buffer(ReceiveCapacity(kPatternCapacity, Code(Op::kGetDirentry)));
  const int length = KVLINK_MakeGetDirentryData(*ctx, std::span<std::uint8_t>(buffer).first(kPatternCapacity), selector);
  if (length <= 0 || !Send(std::span<const std::uint8_t>(buffer).first(static_cast<std::size_t>(length)))) return false;
  for (int packet = 0; packet < kMaxListingAnswers; ++packet) {
    const int received = Receive(buffer);
    if (received <= 0) return false;
    const auto answer = std::span<const std::uint8_t>(buffer).first(static_cast<std::size_t>(received));
    std::array<std::uint8_t, kDirEntrySize> bytes{};
    const int count = KVLINK_ParseGetDirentryRet(*ctx, answer, 0, bytes);
    if (count < 0) return false;
    for (int index = 0; index < count; ++index) {
      bytes.fill(0);
      if (KVLINK_ParseGetDirentryRet(*ctx, answer, index, bytes) < 0) return false;
      ByteReader in(bytes);
      const auto name = in.Bytes(45);
      ControllerFileEntry entry;
      entry.name.assign(name.begin(), std::find(name.begin(), name.end(), std::uint8_t{0}));
      const std::uint32_t century = in.U8();
      const std::uint32_t year = century * 100 + in.U8();
      const std::uint32_t month = in.U8();
      const std::uint32_t day = in.U8();
      entry.date = year * 65536 + month * 256 + day;
      const std::uint32_t hour = in.U8();
      const std::uint32_t minute = in.U8();
      const std::uint32_t second = in.U8();
      entry.time = hour * 65536 + minute * 256 + second;
      entry.size = in.U32Le();
      list.push_back(std::move(entry));
    }
    if (count < static_cast<int>(kDirEntriesPerAnswer)) return true;
  }
  return false;
}

int CUniComm::ReadFileBack(std::string_view name, std::uint32_t offset, std::uint16_t length,
                           std::span<std::uint8_t> out, std::uint32_t& fileSize) {
  fileSize = 0;
  std::vector<std::uint8_t> data(8 + kMaxFileChunk);
  const Reply reply = Exchange(
      kPatternCapacity, Code(Op::kReadFile),
      [&](KvlinkContext& ctx, std::span<std::uint8_t> request) {
        return KVLINK_MakeReadFileNoData(ctx, request, name, offset, length);
      },
      [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
        return KVLINK_ParseReadFileNoRet(ctx, answer, data);
      });
  if (reply.outcome != 0) return reply.outcome;
  if (reply.parse < 8) return kCommBadAnswer;
  ByteReader in(std::span<const std::uint8_t>(data).first(static_cast<std::size_t>(reply.parse)));
  in.Skip(4);
  fileSize = in.U32Le();
  const auto bytes = in.Bytes(in.Remaining());
  const std::size_t n = std::min(bytes.size(), out.size());
  std::copy_n(bytes.begin(), n, out.begin());
  return static_cast<int>(n);
}

int CUniComm::QueryControllerInfo(std::uint8_t page, std::span<std::uint8_t> out) {
  const Reply reply = Exchange(
      kShortCommand, Code(Op::kQueryControllerInfo),
      [&](KvlinkContext& ctx, std::span<std::uint8_t> request) { return KVLINK_MakeQueryControllerInfo(ctx, request, page); },
      [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
        return KVLINK_ParseQueryControllerInfoRet(ctx, answer, out);
      });
  if (reply.outcome != 0) return reply.outcome;
  return reply.parse < 0 ? kCommBadAnswer : reply.parse;
}

int CUniComm::WriteFileRequest(std::string_view remoteName, std::uint32_t size, std::span<const std::uint8_t> time,
                               std::span<const std::uint8_t> digest, std::uint8_t mode,
                               std::span<std::uint8_t> answer) {
  std::ranges::fill(answer, std::uint8_t{0});
  return Exchange(
             kFileCapacity, Code(Op::kWriteFileRequest),
             [&](KvlinkContext& ctx, std::span<std::uint8_t> out) {
               return KVLINK_MakeWriteFileRequestData(ctx, out, remoteName, size, time, digest, mode);
             },
             [&](KvlinkContext& ctx, std::span<const std::uint8_t> bytes) {
               return KVLINK_ParseWriteFileRequestRet(ctx, bytes, answer);
             })
      .FileResult();
}

int CUniComm::WriteFileData(std::uint32_t handle, std::uint16_t group, std::uint16_t packet,
                            std::span<const std::uint8_t> data, bool answerWanted) {
  std::array<std::uint8_t, 16> area{};
  const Reply reply = Exchange(
      kFileDataCapacity, Code(Op::kWriteFileData),
      [&](KvlinkContext& ctx, std::span<std::uint8_t> out) {
        return KVLINK_MakeWriteFileDataData(ctx, out, handle, group, packet, data, answerWanted);
      },
      [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
        return KVLINK_ParseWriteFileDataRet(ctx, answer, area);
      },
      answerWanted);
  if (reply.outcome != 0) return reply.outcome;
  if (!answerWanted) return 1;
  if (reply.parse <= 8) return 0;
  ByteReader in(area);
  const bool same = in.U32Le() == handle && in.U16Le() == group && in.U16Le() == packet && in.U8() == 0;
  return same ? 1 : 0;
}

int CUniComm::WriteFileConfirm(std::uint32_t handle, std::uint16_t group, std::uint16_t crc,
                               std::span<std::uint8_t> out) {
  std::ranges::fill(out, std::uint8_t{0});
  std::vector<std::uint8_t> area(1024);
  const Reply reply = Exchange(
      kFileCapacity, Code(Op::kWriteFileConfirm),
      [&](KvlinkContext& ctx, std::span<std::uint8_t> request) {
        return KVLINK_MakeWriteFileConfirmData(ctx, request, handle, group, crc);
      },
      [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
        return KVLINK_ParseWriteFileConfirmRet(ctx, answer, area);
      });
  if (reply.outcome != 0) return reply.outcome;
  if (reply.parse <= 6) return 0;
  ByteReader in(std::span<const std::uint8_t>(area).first(static_cast<std::size_t>(reply.parse)));
  if (in.U32Le() != handle || in.U16Le() != group) return 0;
  const auto rest = in.Bytes(in.Remaining());
  if (rest.size() > out.size()) return 0;
  std::ranges::copy(rest, out.begin());
  return static_cast<int>(rest.size());
}

bool CUniComm::BaseCommand(bool flag) {
  const std::array<std::uint8_t, 9> zeros{};
  const std::uint8_t command = flag ? Code(Op::kHoldPlaying) : Code(Op::kResumePlaying);
  std::array<std::uint8_t, 8> area{};
  const Reply reply = Exchange(
      kShortCommand, command,
      [&](KvlinkContext& ctx, std::span<std::uint8_t> out) {
        return KVLINK_MakeBaseProtocolData(ctx, out, command, zeros);
      },
      [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
        return KVLINK_ParseBaseProtocolRet(ctx, answer, area);
      });
  return reply.outcome == 0 && reply.parse > 0;
}

bool CUniComm::AuthCommand(std::uint16_t flags, std::string_view password) {
  const std::vector<std::uint8_t> block = BuildAuthBlock(flags, password, m_random ? m_random : TimeSeededRandom());
  std::array<std::uint8_t, 8> area{};
  const Reply reply = Exchange(
      kShortCommand, Code(Op::kAuthorise),
      [&](KvlinkContext& ctx, std::span<std::uint8_t> out) {
        return KVLINK_MakeBaseProtocolData(ctx, out, Code(Op::kAuthorise), block);
      },
      [&](KvlinkContext& ctx, std::span<const std::uint8_t> answer) {
        return KVLINK_ParseBaseProtocolRet(ctx, answer, area);
      });
  return reply.outcome == 0 && reply.parse > 1 && area[0] == 0 && area[1] == 1;
}

}  // namespace vantorel

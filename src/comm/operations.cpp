#include "comm/operations.h"

#include <algorithm>
#include <array>

namespace vantorel {
namespace {

constexpr std::size_t kFileOpenMin = 4 + 1 + 0 + 1;                        // size, info length, name
constexpr std::size_t kFileOpenMax = 4 + 1 + kMaxFileInfo + kMaxFileName;
constexpr std::size_t kConfirmRequestMin = 4 + 7 + 16 + 1 + 1;             // size, time, digest, mode, name

constexpr std::array kOperations = {
  OperationInfo{Op::kReadVersion, "ReadVersion", 0, 0, 8, 8},
  OperationInfo{Op::kReadAllVersions, "ReadAllVersions", 0, 0, 24, 256},
  OperationInfo{Op::kSetClock, "SetClock", 7, 7, 0, 0},
  OperationInfo{Op::kReadClock, "ReadClock", 0, 0, 7, 7},
  OperationInfo{Op::kReadTemperature, "ReadTemperature", 1, 1, 6, 6},
  OperationInfo{Op::kWriteTemperatureAdjust, "WriteTemperatureAdjust", 6, 6, 0, 0},
  OperationInfo{Op::kReadCounters, "ReadCounters", 1, 1, 8, 8},
  OperationInfo{Op::kReadPowerSchedule, "ReadPowerSchedule", 0, 0, 4, 4},
  OperationInfo{Op::kWritePowerSchedule, "WritePowerSchedule", 4, 4, 0, 0},
  OperationInfo{Op::kReadSoftwareSwitchInfo, "ReadSoftwareSwitchInfo", 0, 0, 1, kMaxSwitchBlock},
  OperationInfo{Op::kWriteSoftwareSwitchInfo, "WriteSoftwareSwitchInfo", 1, kMaxSwitchBlock, 0, 0},
  OperationInfo{Op::kReadBrightness, "ReadBrightness", 0, 0, 24, 24},
  OperationInfo{Op::kWriteBrightness, "WriteBrightness", 24, 24, 0, 0},
  OperationInfo{Op::kSendInstantMessage, "SendInstantMessage", 4, 3 + kMaxMessagePiece, 0, 0},
  OperationInfo{Op::kReadRunningInfo, "ReadRunningInfo", 1, 1, 8, 8},
  OperationInfo{Op::kRestart, "Restart", 0, 0, 1, 1},
  OperationInfo{Op::kRestartLegacy, "RestartLegacy", 0, 0, 1, 1},
  OperationInfo{Op::kFormatStorage, "FormatStorage", 1, 1, 1, 1},
  OperationInfo{Op::kDeleteFiles, "DeleteFiles", 1, kMaxFileName, 2, 2},
  OperationInfo{Op::kGetFreeSpace, "GetFreeSpace", 1, 1, 16, 16},
  OperationInfo{Op::kQueryControllerInfo, "QueryControllerInfo", 1, 1, 2, 2 + 512},
  OperationInfo{Op::kResumePlaying, "ResumePlaying", 0, kMaxGenericData, 1, 1},
  OperationInfo{Op::kHoldPlaying, "HoldPlaying", 0, kMaxGenericData, 1, 1},
  OperationInfo{Op::kOpenFile, "OpenFile", kFileOpenMin, kFileOpenMax, 1, 1},
  OperationInfo{Op::kWriteBlock, "WriteBlock", 4 + 1, 4 + kMaxFileChunk, 4, 4},
  OperationInfo{Op::kCloseFile, "CloseFile", 4, 4, 1, 1},
  OperationInfo{Op::kStartFastWrite, "StartFastWrite", kFileOpenMin, kFileOpenMax, 1, 1},
  OperationInfo{Op::kSendPacket, "SendPacket", 5 + 1, 5 + kMaxFileChunk, 2, 2},
  OperationInfo{Op::kQueryMissing, "QueryMissing", 2, 2, 1, 1 + 2 * kMaxMissingListed},
  OperationInfo{Op::kGetDirentry, "GetDirentry", 1, 1, 2, 2 + kDirEntriesPerAnswer * kDirEntrySize},
  OperationInfo{Op::kReadFile, "ReadFile", 6 + 1, 6 + kMaxFileName, 8, 8 + 1024},
  OperationInfo{Op::kWriteFileRequest, "WriteFileRequest", kConfirmRequestMin, kConfirmRequestMin - 1 + kMaxFileName, 1, 15},
  OperationInfo{Op::kWriteFileData, "WriteFileData", 9 + 1, 9 + kMaxFileChunk, 9, 9},
  OperationInfo{Op::kWriteFileConfirm, "WriteFileConfirm", 8, 8, 7, 7 + 2 + 2 * 256},
  OperationInfo{Op::kAuthorise, "Authorise", kAuthBlockSize, kAuthBlockSize, 2, 2},
};

static_assert(std::is_sorted(kOperations.begin(), kOperations.end(),
                             [](const OperationInfo& a, const OperationInfo& b) { return a.op < b.op; }));

}  // namespace

std::span<const OperationInfo> Operations() { return kOperations; }

const OperationInfo* FindOperation(std::uint8_t code) {
  const auto it = std::lower_bound(kOperations.begin(), kOperations.end(), code,
                                   [](const OperationInfo& info, std::uint8_t c) { return Code(info.op) < c; });
  return it != kOperations.end() && Code(it->op) == code ? &*it : nullptr;
}

}  // namespace vantorel

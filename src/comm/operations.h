#pragma once
// The controller operations: their codes on the wire and the sizes their request and answer
// data may have (docs/protocol.md lays each one out byte by byte). The program side refuses an
// answer whose data size is outside the answer bounds; the controller side answers a request
// whose data size is outside the request bounds with kStatusBadData. Read-only tables, shared
// freely.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace vantorel {

enum class Op : std::uint8_t {
  kReadVersion = 0x01,
  kReadAllVersions = 0x02,
  kSetClock = 0x03,
  kReadClock = 0x04,
  kReadTemperature = 0x05,
  kWriteTemperatureAdjust = 0x06,
  kReadCounters = 0x07,
  kReadPowerSchedule = 0x08,
  kWritePowerSchedule = 0x09,
  kReadSoftwareSwitchInfo = 0x0A,
  kWriteSoftwareSwitchInfo = 0x0B,
  kReadBrightness = 0x0C,
  kWriteBrightness = 0x0D,
  kSendInstantMessage = 0x0E,
  kReadRunningInfo = 0x0F,
  kRestart = 0x10,
  kRestartLegacy = 0x11,
  kFormatStorage = 0x12,
  kDeleteFiles = 0x13,
  kGetFreeSpace = 0x14,
  kQueryControllerInfo = 0x15,
  kResumePlaying = 0x20,   // generic command 32
  kHoldPlaying = 0x21,     // generic command 33
  kOpenFile = 0x30,
  kWriteBlock = 0x31,
  kCloseFile = 0x32,
  kStartFastWrite = 0x33,
  kSendPacket = 0x34,
  kQueryMissing = 0x35,
  kGetDirentry = 0x36,
  kReadFile = 0x37,
  kWriteFileRequest = 0x38,
  kWriteFileData = 0x39,
  kWriteFileConfirm = 0x3A,
  kAuthorise = 0xE1,       // generic command 225
};

constexpr std::uint8_t Code(Op op) { return static_cast<std::uint8_t>(op); }

// Answer status byte (byte 6 of an answer).
inline constexpr std::uint8_t kStatusDone = 0;
inline constexpr std::uint8_t kStatusUnknownOperation = 1;
inline constexpr std::uint8_t kStatusBadData = 2;
inline constexpr std::uint8_t kStatusNotPermitted = 3;
inline constexpr std::uint8_t kStatusBusy = 4;
inline constexpr std::uint8_t kStatusNoSpace = 5;
inline constexpr std::uint8_t kStatusFileError = 6;
inline constexpr std::uint8_t kStatusOutOfOrder = 7;

// The protection command (kAuthorise): 0, the flags (little-endian) and the password block, whose
// 16-character key is the 8-character password followed by kPasswordKeySuffix. The controller's
// default password is taken unless kAuthCustomPassword is set.
inline constexpr std::string_view kDefaultControllerPassword = "velorupa";
inline constexpr std::string_view kPasswordKeySuffix = "ZORTAKEP";
inline constexpr std::size_t kControllerPasswordLength = 8;
inline constexpr std::size_t kControllerPasswordBlockSize = 36;
inline constexpr std::size_t kAuthBlockSize = 3 + kControllerPasswordBlockSize;
inline constexpr std::uint16_t kAuthProtectOn = 0x0002;
inline constexpr std::uint16_t kAuthProtectOff = 0x0001;
inline constexpr std::uint16_t kAuthCustomPassword = 0x8000;

// Bounds of the data blocks.
inline constexpr std::size_t kMaxFileName = 64;
inline constexpr std::size_t kMaxFileChunk = 4096;
inline constexpr std::size_t kMaxMessagePiece = 1024;
inline constexpr std::size_t kMaxSwitchBlock = 128;
inline constexpr std::size_t kMaxFileInfo = 32;
inline constexpr std::size_t kMaxGenericData = 1024;
inline constexpr std::size_t kDirEntrySize = 56;
inline constexpr std::size_t kDirEntriesPerAnswer = 4;
inline constexpr std::size_t kMaxMissingListed = 36;

struct OperationInfo {
  Op op;
  std::string_view name;
  std::size_t requestMin, requestMax;
  std::size_t answerMin, answerMax;
};

// Every operation, sorted by code.
std::span<const OperationInfo> Operations();
// The operation of `code`, or null for a code that is not one of ours.
const OperationInfo* FindOperation(std::uint8_t code);

}  // namespace vantorel

#pragma once
// One channel to one controller. CUniComm says how a channel is opened and closed, how bytes go
// out and come back, and holds every controller operation the program issues; the transports
// (CCommRs232 comm_rs232.h, CCommLan comm_lan.h, and the channels of comm_pending.h) supply the
// byte transport, their error text and their pacing. CreateComm (create_comm.h) builds the right
// one from a screen's connection parameters.
//
// Every operation follows one pattern: a fresh protocol context (ProtocolKind, the controller
// address, ContextIdCode) set up by ConfigureContext; the request made into a local buffer; Send;
// Receive into the same buffer; the Parse function and the operation's own success test; the
// context destroyed on every path. There is no retry except where an operation says so; the
// time-outs are the transport's. Results are numbers, as the callers expect:
//   - true / false, or a count that is 0 on failure;
//   - file operations (slots 32-37, 41-43): -1 when the request could not be sent, -2 when no
//     answer came, 0 for an answer that does not parse or fails the operation's test, else the
//     operation's value.
// An answer with fewer data bytes than an operation reads is a failure; outputs are cleared
// before the answer is copied, so they never hold bytes of an earlier answer.
//
// Open and Close nest: each successful Open raises the open count, Close lowers it and only the
// last Close releases the medium. Operations are issued between Open and Close; GetErrorText
// says why an Open failed.
//
// A channel is used by one thread at a time (the one that created it); nothing inside is locked.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "comm/kvlink.h"
#include "comm/operations.h"
#include "platform/status.h"

namespace vantorel {

// Channel kinds (GetType), the communication types of a screen.
inline constexpr std::uint8_t kChannelSerial = 0;
inline constexpr std::uint8_t kChannelGprsDtu = 1;
inline constexpr std::uint8_t kChannelNetwork = 2;
inline constexpr std::uint8_t kChannelRelayNetwork = 3;
inline constexpr std::uint8_t kChannelRelayGprs = 4;

// Results of the file operations and of slots 39 and 40.
inline constexpr int kCommSendFailed = -1;
inline constexpr int kCommNoAnswer = -2;
inline constexpr int kCommBadAnswer = -3;   // slots 39 and 40 only, where 0 is a valid count

// Draws the numbers of the password block. The default one is seeded with the time.
using RandomSource = std::function<std::uint32_t()>;
RandomSource TimeSeededRandom();

// The 36-byte password block of `password` into `out`: only when the password has exactly 8
// characters and `out` holds 36 bytes; false (nothing written) otherwise. Bytes 0-3 the mask,
// then 16 pairs whose two bytes XOR to the inverted key character (key: password + kPasswordKeySuffix).
bool BuildPasswordBlock(std::string_view password, std::span<std::uint8_t> out, const RandomSource& random);

// The 39-byte data block of the protection command: 0, the flags (little-endian), the password
// block of `password` when flag kAuthCustomPassword is set, else of kDefaultControllerPassword (zeros
// when no block is built).
std::vector<std::uint8_t> BuildAuthBlock(std::uint16_t flags, std::string_view password, const RandomSource& random);

// One file of the controller's directory.
struct ControllerFileEntry {
  std::string name;
  std::string extension;      // empty when read from a controller
  std::uint32_t size = 0;
  std::uint32_t date = 0;     // year × 65536 + month × 256 + day
  std::uint32_t time = 0;     // hour × 65536 + minute × 256 + second

  friend bool operator==(const ControllerFileEntry&, const ControllerFileEntry&) = default;
};

// Progress of a file-service upload: bytes done, bytes in all, the caller's data.
using UploadProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

class CUniComm {
public:
  CUniComm() = default;
  CUniComm(const CUniComm&) = delete;
  CUniComm& operator=(const CUniComm&) = delete;
  virtual ~CUniComm() = default;                                              // slot 49

  // ---- Plumbing ----
  // The protocol kind of kvlink.h: channel kind 2 -> 1, 3 -> 2, 4 -> 3, otherwise 0.
  virtual int ProtocolKind() const;                                           // slot 0
  // Sets the context's parameters before a request is made (the network: protection).
  virtual void ConfigureContext(KvlinkContext& ctx) const;                    // slot 1
  virtual std::uint32_t ContextIdCode() const;                                // slot 2
  virtual std::uint8_t GetType() const;                                       // slot 3
  virtual bool Open() = 0;                                                    // slot 4
  virtual void Close() = 0;                                                   // slot 5
  virtual int OpenCount() const;                                              // slot 6
  // What the user is told after a failed Open ("Failed to open COM1", "Failed to connect
  // 192.168.1.222 : 5200"); "Failed" on the base.
  virtual std::string GetErrorText() const;                                   // slot 7
  virtual int BlockSize() const;                                              // slot 8
  virtual int PacketSize() const;                                             // slot 9
  virtual bool WaitEachPacket() const;                                        // slot 10
  virtual bool IsNetwork() const;                                             // slot 44
  // Upload through the file service (class 7 on the network): -1 on the base.
  virtual int FtpUpload(const std::filesystem::path& localPath, std::string_view remoteName, unsigned flags,
                        const UploadProgress& progress);                      // slot 45
  // Stores the pause value (ms) and returns the previous one.
  virtual int SetPacketPause(int pauseMs);                                    // slot 46
  // Appends the 16-bit additive checksum after `length` bytes of `buffer` (little-endian) and
  // returns length + 2; -1 when the buffer has no room for it.
  virtual int AppendChecksum(std::span<std::uint8_t> buffer, int length) const;  // slot 50
  // True when every byte went out.
  virtual bool Send(std::span<const std::uint8_t> bytes) = 0;                 // slot 51
  // One answer into `buffer`: its byte count, 0 on time-out or error.
  virtual int Receive(std::span<std::uint8_t> buffer) = 0;                    // slot 52
  // Milliseconds to pause after a packet sent without waiting.
  virtual int PacketPause() const;                                            // slot 53

  // The cause of the last failure (Open, Send, Receive), with the system's reason; success when
  // nothing failed yet. Shown after GetErrorText in logs.
  const Status& LastFailure() const { return m_lastFailure; }

  // ---- Controller operations (slots 11-43, 47, 48) ----
  bool ReadVersion(std::span<std::uint8_t> out);                              // slot 11
  int ReadAllVersions(std::span<std::uint8_t> out);                           // slot 12
  bool SetClock(std::span<const std::uint8_t> clock);                         // slot 13
  bool ReadClock(std::span<std::uint8_t> out);                                // slot 14
  bool ReadTemperature(std::span<std::uint8_t> out, std::uint8_t selector);   // slot 15
  bool WriteTemperatureAdjust(std::span<const std::uint8_t> block);           // slot 16
  bool ReadCounters(std::uint8_t selector, std::uint32_t& first, std::uint32_t& second);  // slot 17
  bool ReadPowerSchedule(std::span<std::uint8_t> out);                        // slot 18
  bool WritePowerSchedule(std::span<const std::uint8_t> schedule);            // slot 19
  bool ReadSoftwareSwitchInfo(std::span<std::uint8_t> out);                   // slot 20
  bool WriteSoftwareSwitchInfo(std::span<const std::uint8_t> block);          // slot 21
  bool ReadBrightness(std::span<std::uint8_t> out);                           // slot 22
  bool WriteBrightness(std::span<const std::uint8_t> brightness);             // slot 23
  // One piece of the instant message block at `offset`; `pieceFlag` 17 for the last, else 1.
  bool SendInstantMessage(std::span<const std::uint8_t> piece, std::uint16_t offset,
                          std::uint8_t pieceFlag);                            // slot 24
  bool ReadRunningInfo(std::span<std::uint8_t> out, std::uint8_t selector);   // slot 25
  bool Restart();                                                             // slot 26
  bool RestartLegacy();                                                       // slot 27
  int FormatStorage(std::uint8_t selector);                                   // slot 28
  bool DeleteFiles(std::string_view pattern);                                 // slot 29
  int GetFreeSpace(std::uint8_t selector);                                    // slot 30
  std::uint64_t GetFreeSpace64(std::uint8_t selector);                        // slot 31
  // Basic write. OpenWrite: 1 send the blocks, 2 already there. WriteBlock: 1 and the next
  // cookie. CloseWrite: 1 the file is complete.
  int OpenWrite(std::string_view remoteName, std::uint32_t size, std::span<const std::uint8_t> info);  // slot 32
  int WriteBlock(std::span<const std::uint8_t> data, std::uint32_t& cookie);  // slot 33
  int CloseWrite(std::uint32_t cookie);                                       // slot 34
  // Fast write. StartFastWrite: 1, 2 already there, 17 refused. SendPacket: 1 when sent (and,
  // with `wait`, answered with its number). QueryMissing: 0 complete, 1-36 numbers in `list`,
  // -1 when no answer came within `timeoutMs` after asking four times in all.
  int StartFastWrite(std::string_view remoteName, std::uint32_t size, std::span<const std::uint8_t> info);  // slot 35
  int SendPacket(std::span<const std::uint8_t> data, std::uint16_t number, std::uint16_t packetSize,
                 bool wait);                                                  // slot 36
  int QueryMissing(std::uint16_t packetCount, std::span<std::uint16_t> list, int timeoutMs);  // slot 37
  // The directory (replaces `list`); false when a request or an answer failed.
  bool ReadDirectory(std::uint8_t selector, std::vector<ControllerFileEntry>& list);  // slot 38
  // Reads `length` bytes of a file at `offset`: the count copied to `out` (after the 8 bytes of
  // offset and size the answer starts with, which go to `fileSize`), or -1, -2, -3.
  int ReadFileBack(std::string_view name, std::uint32_t offset, std::uint16_t length, std::span<std::uint8_t> out,
                   std::uint32_t& fileSize);                                  // slot 39
  // One page of the controller information: the count copied (page, page count, text), or
  // -1, -2, -3.
  int QueryControllerInfo(std::uint8_t page, std::span<std::uint8_t> out);    // slot 40
  // Confirmed write. WriteFileRequest: the count of answer bytes copied to `answer` (at least 1).
  // WriteFileData: 1 when sent (and, with `answerWanted`, acknowledged). WriteFileConfirm: the
  // count of bytes after handle and group (status, list) copied to `out`; 0 when they do not fit.
  int WriteFileRequest(std::string_view remoteName, std::uint32_t size, std::span<const std::uint8_t> time,
                       std::span<const std::uint8_t> digest, std::uint8_t mode,
                       std::span<std::uint8_t> answer);                       // slot 41
  int WriteFileData(std::uint32_t handle, std::uint16_t group, std::uint16_t packet,
                    std::span<const std::uint8_t> data, bool answerWanted);   // slot 42
  int WriteFileConfirm(std::uint32_t handle, std::uint16_t group, std::uint16_t crc,
                       std::span<std::uint8_t> out);                          // slot 43
  // Generic command 33 (hold playing) when `flag`, else 32 (resume), with 9 zero bytes.
  bool BaseCommand(bool flag);                                                // slot 47
  // Generic command 225 with the 39-byte block: true when the controller answered 0, 1.
  bool AuthCommand(std::uint16_t flags, std::string_view password);           // slot 48

  // ---- Set by CreateComm ----
  void SetSubMode(std::uint8_t subMode) { m_subMode = subMode; }
  void SetModelCode(std::uint32_t modelCode) { m_modelCode = modelCode; }
  std::uint8_t SubMode() const { return m_subMode; }
  std::uint32_t ModelCode() const { return m_modelCode; }
  std::uint8_t Address() const { return m_address; }
  // The generator of the password block (tests give a fixed one).
  void SetRandomSource(RandomSource random) { m_random = std::move(random); }

  // Protection state (the network channel fills it from the probe).
  std::uint16_t ProtectionOptions() const { return m_protectOptions; }
  std::uint16_t ProtectionMode() const { return m_protectMode; }
  std::uint16_t ProtectionModeAtConnection() const { return m_protectModeAtConnect; }

protected:
  CUniComm(std::uint8_t kind, std::uint8_t address) : m_address(address), m_kind(kind) {}
  void SetFailure(Status failure) { m_lastFailure = std::move(failure); }
  // Whether a request that got no answer is sent once more (relay server in mode 2).
  virtual bool RepeatsUnansweredRequests() const { return false; }

  std::uint32_t m_modelCode = 0x3A20;  // "Korvan-N5A" until the parameters say otherwise
  std::uint8_t m_address = 1;
  std::uint8_t m_kind = kChannelSerial;
  std::uint8_t m_subMode = 0;
  int m_openCount = 0;
  int m_pauseMs = 10;
  std::uint16_t m_protectOptions = 0;
  std::uint16_t m_protectMode = 0;
  std::uint16_t m_protectModeAtConnect = 0;

private:
  struct Reply;
  template <typename Make, typename Parse>
  Reply Exchange(std::size_t capacity, int answerOp, Make make, Parse parse, bool answerWanted = true);
  std::size_t ReceiveCapacity(std::size_t requestCapacity, int op) const;

  Status m_lastFailure;
  RandomSource m_random;
};

}  // namespace vantorel

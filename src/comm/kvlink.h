#pragma once
// The controller protocol library: every request the program sends to a controller is made here
// and every answer read here (the byte layout is in docs/protocol.md). Per operation the caller
// creates a context, sets its parameters, makes the request into a buffer, sends exactly the
// bytes the Make function reported, and hands the received answer to the matching Parse function.
//
//   auto ctx = KVLINK_CreateContext(kind, address, idCode);
//   KVLINK_CommData_SetParam(*ctx, 1, keyText);  KVLINK_CommData_SetParam(*ctx, 2, "2");
//   std::array<std::uint8_t, 200> buffer{};
//   const int length = KVLINK_MakeReadClockData(*ctx, buffer);    // 0: does not fit
//   ... send buffer[0, length), receive `received` bytes into buffer ...
//   std::array<std::uint8_t, 7> clock{};
//   if (KVLINK_ParseReadClockRet(*ctx, std::span(buffer).first(received), clock) < 0) fail;
//
// Make functions return the request length, or 0 when it does not fit `out` or an argument is
// outside its size. Parse functions return a negative kKvlink... value for an answer they refuse
// (wrong address, ID code, device ID, CRC, keyed check, operation, sequence, data size, a
// refusal status, truncated or too long); otherwise the count of answer data bytes copied to
// `out` (never more than out.size(); an answer longer than `out` is cut), or, for the functions
// without `out`, the value their comment names. No function reads outside the bytes it is given.
//
// For protocol kinds 0 and 3 a Make function gives the whole frame (0xA5 ... 0xAE) and a Parse
// function takes either the frame or the body a frame decoder gave.
//
// A context belongs to one thread at a time; the functions without a context may be called from
// several threads at once.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace vantorel {

// What one operation's requests and answers are made with. Its fields belong to the library:
// callers set them through the functions below.
struct KvlinkContext {
  int kind = 0;
  std::uint8_t address = 255;
  std::uint32_t idCode = 0;
  std::string param1;                // key text (kind 1) or relay device ID (kinds 2 and 3)
  int protectionMode = 1;            // 1, 2 or 32770
  std::string password;
  std::uint8_t sequence = 0;         // of the next request
  bool madeRequest = false;          // a request was made: answers must repeat its operation and sequence
  std::uint8_t lastOperation = 0;
  std::uint8_t lastSequence = 0;
  int lastStatus = -1;
};

// Answers refused by a Parse function.
inline constexpr int kKvlinkShort = -1;        // fewer bytes than a packet, or than its length says
inline constexpr int kKvlinkTooLong = -2;      // bytes after the packet
inline constexpr int kKvlinkBadFrame = -3;     // kinds 0 and 3: the frame does not decode
inline constexpr int kKvlinkBadLayout = -4;    // not a packet of ours
inline constexpr int kKvlinkBadCrc = -5;
inline constexpr int kKvlinkBadCheck = -6;     // keyed check wrong, or protection not the context's
inline constexpr int kKvlinkNotAnswer = -7;    // a request came back
inline constexpr int kKvlinkAddress = -8;
inline constexpr int kKvlinkIdCode = -9;
inline constexpr int kKvlinkDeviceId = -10;
inline constexpr int kKvlinkOperation = -11;
inline constexpr int kKvlinkSequence = -12;    // the answer to another request
inline constexpr int kKvlinkRefused = -13;     // the controller answered with a status other than 0
inline constexpr int kKvlinkDataSize = -14;    // answer data outside the operation's sizes
inline constexpr int kKvlinkBadValue = -15;    // answer data inside its size but not a valid value
inline constexpr int kKvlinkNoContext = -16;   // only from KVLINK_CommData_SetParam

std::string_view KVLINK_ErrorName(int result);

// Protocol kind: 0 serial line and GPRS DTU, 1 direct network, 2 relay server over network,
// 3 relay server with GPRS on board (null for other kinds). Address: the screen ID on a serial
// line, 255 elsewhere. ID code: the network ID code, 0 elsewhere.
std::unique_ptr<KvlinkContext> KVLINK_CreateContext(int protocolKind, std::uint8_t address, std::uint32_t idCode);

// 1 = key text from the network probe (kind 1), or the relay device ID (kinds 2 and 3, at most
// 20 characters); 2 = protection mode as decimal text "1", "2" or "32770" (kind 1 only; other
// kinds accept it and stay unprotected); 3 = custom password (mode 32770). Returns 0, or
// kKvlinkBadValue for an unknown index or value.
int KVLINK_CommData_SetParam(KvlinkContext& ctx, int index, std::string_view text);

// The status byte of the last answer a Parse function read with this context (-1 before any).
int KVLINK_GetLastStatus(const KvlinkContext& ctx);
// Sets the sequence number the next request carries (requests count up from a number that
// differs per context). For byte-exact examples and tests.
void KVLINK_SetSequence(KvlinkContext& ctx, std::uint8_t sequence);

// CRC-16 (polynomial 0x1021, most significant bit first, no final XOR) of `data`, continuing
// from `seed`: the packet CRC seeds 0xFFFF, "123456789" gives 0x29B1.
std::uint16_t KVLINK_GetCrcValue(std::uint16_t seed, std::span<const std::uint8_t> data);

// The network probe: one UDP datagram "KV?:" to the address (host order) and port (0 = 5200),
// answered by one line "KV~:<name>\t<key text>\t<model>\t<options hex>\t<mode hex>". Waits at
// most `timeoutMs` (0 = 1000). The line (without its line end) goes to `out`, cut to fit and
// followed by a zero byte when there is room. Returns its length, 0 when nothing came in time,
// -1 when the address is a broadcast or multicast address or the socket failed. Unicast only.
int KVLINK_GetInfo(std::uint32_t ipv4HostOrder, std::span<char> out, std::uint16_t port = 0, int timeoutMs = 0);

// ---- Versions, clock, temperature, power, brightness, messages, running info ----

// Answer: 8 bytes; byte 0 controller kind code, byte 1 = 98, bytes 2-7 the BIOS, LOGIC and APP
// versions, two bytes each, one number per nibble.
int KVLINK_MakeReadVersionData(KvlinkContext& ctx, std::span<std::uint8_t> out);
int KVLINK_ParseReadVersionRet2(KvlinkContext& ctx, std::span<const std::uint8_t> answer, std::span<std::uint8_t> out);
// Answer: 24-256 bytes; byte 0 kind code, byte 1 controller class, bytes 2-3 and 4-5 version
// words (little-endian), 6-11 the six version bytes, 12-23 model name, 24-25 feature bytes.
int KVLINK_MakeReadAllVerData(KvlinkContext& ctx, std::span<std::uint8_t> out);
int KVLINK_ParseReadAllVerRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer, std::span<std::uint8_t> out);
// Clock block: 7 bytes second, minute, hour, day of week (0 = Sunday), day, month, year % 100.
int KVLINK_MakeSetClockData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::span<const std::uint8_t> clock);
int KVLINK_ParseSetClockRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer);  // 0
int KVLINK_MakeReadClockData(KvlinkContext& ctx, std::span<std::uint8_t> out);
int KVLINK_ParseReadClockRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer, std::span<std::uint8_t> out);
// Answer: 6 bytes; byte 0 bit 0 = sensor present, 1-2 Celsius, 3-4 Fahrenheit, 5 adjustment.
int KVLINK_MakeReadTemperatureData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::uint8_t selector);
int KVLINK_ParseReadTemperatureRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer,
                                   std::span<std::uint8_t> out);
// Block: 6 bytes 0, 4, 0, 0, adjustment (bit 7 Fahrenheit, bit 6 minus, bits 0-5 size), 0.
int KVLINK_MakeWriteTemperatureAdjustData(KvlinkContext& ctx, std::span<std::uint8_t> out,
                                          std::span<const std::uint8_t> block);
int KVLINK_ParseWriteTemperatureAdjustRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer);  // 0
// Two 32-bit counters of the controller (selector 0: requests answered and requests refused
// since it started).
int KVLINK_MakeReadCountersData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::uint8_t selector);
int KVLINK_ParseReadCountersRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer, std::uint32_t& first,
                                std::uint32_t& second);  // 8
// Schedule: 4 bytes on hour, on minute, off hour, off minute (0xFF 0xFF 0xFF 0xFF: off).
int KVLINK_MakeReadPowerScheduleData(KvlinkContext& ctx, std::span<std::uint8_t> out);
int KVLINK_ParseReadPowerScheduleRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer,
                                     std::span<std::uint8_t> out);
int KVLINK_MakeWritePowerScheduleData(KvlinkContext& ctx, std::span<std::uint8_t> out,
                                      std::span<const std::uint8_t> schedule);
int KVLINK_ParseWritePowerScheduleRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer);  // 0
// The software switch block: 1-128 bytes kept by the controller as written.
int KVLINK_MakeReadSoftwareSwitchInfoData(KvlinkContext& ctx, std::span<std::uint8_t> out);
int KVLINK_ParseReadSoftwareSwitchInfoRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer,
                                          std::span<std::uint8_t> out);
int KVLINK_MakeWriteSoftwareSwitchInfoData(KvlinkContext& ctx, std::span<std::uint8_t> out,
                                           std::span<const std::uint8_t> block);
int KVLINK_ParseWriteSoftwareSwitchInfoRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer,
                                           std::span<std::uint8_t> out);
// Brightness: 24 bytes, one per hour, 0-31, above 31 = automatic.
int KVLINK_MakeReadBrightnessData(KvlinkContext& ctx, std::span<std::uint8_t> out);
int KVLINK_ParseReadBrightnessRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer,
                                  std::span<std::uint8_t> out);
int KVLINK_MakeWriteBrightnessData(KvlinkContext& ctx, std::span<std::uint8_t> out,
                                   std::span<const std::uint8_t> brightness);
int KVLINK_ParseWriteBrightnessRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer);  // 0
// One piece (1-1024 bytes) of the instant message block at `offset` in the block; `pieceFlag`
// 17 for the last piece, 1 for the others.
int KVLINK_MakeSendInstantMessageData(KvlinkContext& ctx, std::span<std::uint8_t> out,
                                      std::span<const std::uint8_t> piece, std::uint16_t offset,
                                      std::uint8_t pieceFlag);
int KVLINK_ParseSendInstantMessageRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer);  // 0
// Answer: 8 bytes; byte 0 the selector, 1 character set, 3-4 and 5-6 the ASCII and extended
// font size sets (high byte first), 7 play state (0 playing, 1 held).
int KVLINK_MakeReadRunningInfoData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::uint8_t selector);
int KVLINK_ParseReadRunningInfoRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer,
                                   std::span<std::uint8_t> out);

// ---- Controller control ----

int KVLINK_MakeRestartData(KvlinkContext& ctx, std::span<std::uint8_t> out);
int KVLINK_ParseRestartRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer);  // answer byte 0: 1 = restarting
int KVLINK_MakeRestartLegacyData(KvlinkContext& ctx, std::span<std::uint8_t> out);
int KVLINK_ParseRestartLegacyRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer);  // as Restart
int KVLINK_MakeFormatStorageData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::uint8_t selector);
int KVLINK_ParseFormatStorageRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer);  // answer byte 0: 1 = formatted
// Pattern: 1-64 characters, "*" and "?" as wildcards ("*.*": every file).
int KVLINK_MakeDeleteFilesData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::string_view pattern);
int KVLINK_ParseDeleteFilesRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer);  // files deleted
// Answer: 16 bytes; free bytes and all bytes of the storage, 64-bit little-endian each. Slot 31
// (the 64-bit free space) sends the same request and reads the answer with ...Ret2.
int KVLINK_MakeGetFreeSpaceData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::uint8_t selector);
int KVLINK_ParseGetFreeSpaceRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer);  // free bytes, at most 0x7FFFFFFF
int KVLINK_ParseGetFreeSpaceRet2(KvlinkContext& ctx, std::span<const std::uint8_t> answer, std::span<std::uint8_t> out);
// Answer: byte 0 page, byte 1 page count, then text lines "name=value\n" (at most 512 bytes).
int KVLINK_MakeQueryControllerInfo(KvlinkContext& ctx, std::span<std::uint8_t> out, std::uint8_t page);
int KVLINK_ParseQueryControllerInfoRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer,
                                       std::span<std::uint8_t> out);
// Any operation code with a data block of at most 1,024 bytes: 32 resumes playing and 33 holds
// it (9 zero bytes; answer 1 byte 0), 225 switches protection (the 39-byte block; answer 0, 1).
int KVLINK_MakeBaseProtocolData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::uint8_t command,
                                std::span<const std::uint8_t> data);
int KVLINK_ParseBaseProtocolRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer, std::span<std::uint8_t> out);

// ---- Files ----
// Names are 1-64 bytes of text. File info blocks are 0-32 bytes (the 6-byte time, optionally
// followed by "md5:" and the 16-byte digest).

// Basic write: open, blocks, close. Answer byte 0: 1 = write the blocks, 2 = the same file is
// already there (only when the info block carries a digest).
int KVLINK_MakeOpenFileData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::string_view name,
                            std::uint32_t size, std::span<const std::uint8_t> info);
int KVLINK_ParseOpenFileRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer);  // 1 or 2
// `cookie`: 0 for the first block, then what the previous answer gave (the bytes written so far).
int KVLINK_MakeWriteBlockData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::span<const std::uint8_t> data,
                              std::uint32_t cookie);
int KVLINK_ParseWriteBlockRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer, std::uint32_t& cookie);  // 1
int KVLINK_MakeCloseFileNoData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::uint32_t cookie);
int KVLINK_ParseCloseFileNoRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer);  // 1 = file complete

// Fast write. Answer byte 0: 1 = send the packets, 2 = already there, 17 = fast write refused.
int KVLINK_MakeStartFastWriteData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::string_view name,
                                  std::uint32_t size, std::span<const std::uint8_t> info);
int KVLINK_ParseStartFastWriteRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer);  // 1, 2 or 17
// Packet `number` of `packetSize` bytes (the last may be shorter); the controller answers only
// when `wait` is set.
int KVLINK_MakeSendPacketData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::span<const std::uint8_t> data,
                              std::uint16_t number, std::uint16_t packetSize, bool wait);
int KVLINK_ParseSendPacketRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer);  // the packet number
int KVLINK_MakeQueryMissingData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::uint16_t packetCount);
// 0 = complete; 1-36 = that many missing packet numbers, written to `list` (cut to fit).
int KVLINK_ParseQueryMissingRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer, std::span<std::uint16_t> list);

// Directory listing: the controller answers with packets of up to four entries; one with fewer
// than four ends the listing. The Parse function returns the packet's entry count and, when
// `index` is below it, writes entry `index` to `entry` (56 bytes: name text from byte 0 padded
// with zeros, century 45, year 46, month 47, day 48, hour 49, minute 50, second 51, size 52-55
// little-endian; cut to entry.size()).
int KVLINK_MakeGetDirentryData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::uint8_t selector);
int KVLINK_ParseGetDirentryRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer, int index,
                               std::span<std::uint8_t> entry);
// Reading a file back: `length` (1-1024) bytes from `offset`. Answer: offset, file size (32-bit
// little-endian each), then the bytes.
int KVLINK_MakeReadFileNoData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::string_view name,
                              std::uint32_t offset, std::uint16_t length);
int KVLINK_ParseReadFileNoRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer, std::span<std::uint8_t> out);

// Confirmed write. `time`: 7 bytes (year 16-bit little-endian, month, day, hour, minute,
// second); `digest`: 16 bytes of MD5. Answer: byte 0 = 1 already there (1 byte), or 0 followed
// by handle (1-4), group size (5-8), packet size (9-10), delay ms (11-12), first group (13-14).
int KVLINK_MakeWriteFileRequestData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::string_view name,
                                    std::uint32_t size, std::span<const std::uint8_t> time,
                                    std::span<const std::uint8_t> digest, std::uint8_t mode);
int KVLINK_ParseWriteFileRequestRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer,
                                    std::span<std::uint8_t> out);
// Answer (only when `answerWanted`): handle, group, packet, result byte 0.
int KVLINK_MakeWriteFileDataData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::uint32_t handle,
                                 std::uint16_t group, std::uint16_t packet, std::span<const std::uint8_t> data,
                                 bool answerWanted);
int KVLINK_ParseWriteFileDataRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer, std::span<std::uint8_t> out);
// `crc`: KVLINK_GetCrcValue over the group's bytes, seeded 0xFFFF. Answer: handle (0-3), group
// (4-5), status (6: 0 confirmed, 4 packets missing, 6 not ready), with 4: count (7-8) and the
// missing packet numbers (16-bit little-endian each).
int KVLINK_MakeWriteFileConfirmData(KvlinkContext& ctx, std::span<std::uint8_t> out, std::uint32_t handle,
                                    std::uint16_t group, std::uint16_t crc);
int KVLINK_ParseWriteFileConfirmRet(KvlinkContext& ctx, std::span<const std::uint8_t> answer,
                                    std::span<std::uint8_t> out);

}  // namespace vantorel

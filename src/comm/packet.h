#pragma once
// The packet every protocol kind carries, requests and answers alike (docs/protocol.md):
//
//   0     direction: 0x68 request, 0xE8 answer
//   1     controller address
//   2     operation code
//   3     protection level (0 none, 1 key text, 2 key text + password)
//   4-5   length of the bytes after byte 7, little-endian (total = this + 8)
//   6     status (answers; 0 in requests)
//   7     sequence number (an answer repeats its request's)
//   8-11  network ID code, little-endian
//   12    length of the device ID (0-20), then the device ID text
//   ...   data
//   ...   the keyed check (8 bytes, protection levels 1 and 2 only)
//   last 2  CRC-16 (crc16.h, seed 0xFFFF) of every byte before it, little-endian
//
// Kinds 0 and 3 send the packet inside a serial frame (serial_frame.h); kinds 1 and 2 send it
// as it is. Building and reading here are shared by the program side (kvlink.h) and the
// controller side (sign_protocol.h). Nothing here keeps state.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantorel {

inline constexpr std::uint8_t kPacketRequest = 0x68;
inline constexpr std::uint8_t kPacketAnswer = 0xE8;
inline constexpr std::size_t kPacketHeaderSize = 8;
// Header, ID code, device ID length and CRC: the smallest packet.
inline constexpr std::size_t kPacketMinSize = kPacketHeaderSize + 4 + 1 + 2;
inline constexpr std::size_t kPacketMaxSize = kPacketHeaderSize + 0xFFFF;
inline constexpr std::size_t kMaxDeviceIdLength = 20;
inline constexpr std::uint8_t kBroadcastAddress = 255;

// Protocol kinds.
inline constexpr int kKindSerial = 0;        // serial line and GPRS DTU
inline constexpr int kKindNetwork = 1;       // direct network connection
inline constexpr int kKindRelayNetwork = 2;  // relay server, controller on the network
inline constexpr int kKindRelayGprs = 3;     // relay server, GPRS on the controller board

constexpr bool IsFramedKind(int kind) { return kind == kKindSerial || kind == kKindRelayGprs; }

// Protection modes of a controller (its probe answer; the context's parameter 2 as decimal text).
inline constexpr int kModeUnprotected = 1;
inline constexpr int kModeKeyText = 2;
inline constexpr int kModeKeyTextAndPassword = 0x8002;  // 32770

// Protection levels in byte 3, from the protection modes.
inline constexpr std::uint8_t kProtectionNone = 0;
inline constexpr std::uint8_t kProtectionKeyText = 1;
inline constexpr std::uint8_t kProtectionPassword = 2;
std::optional<std::uint8_t> ProtectionLevelOfMode(int mode);

struct PacketFields {
  bool answer = false;
  std::uint8_t address = kBroadcastAddress;
  std::uint8_t operation = 0;
  std::uint8_t protection = kProtectionNone;
  std::uint8_t status = 0;
  std::uint8_t sequence = 0;
  std::uint32_t idCode = 0;
  std::string deviceId;
  std::vector<std::uint8_t> data;
};

// What the keyed check is made with (ignored for protection level 0).
struct PacketKeys {
  std::string keyText;
  std::string password;
};

// The packet bytes (unframed); empty when the fields do not fit the format (device ID longer
// than 20 bytes, packet above kPacketMaxSize, unknown protection level).
std::vector<std::uint8_t> BuildPacket(const PacketFields& fields, const PacketKeys& keys);

// The bytes sent for a protocol kind: framed for kinds 0 and 3.
std::vector<std::uint8_t> WrapPacket(int kind, std::vector<std::uint8_t> packet);

enum class PacketError {
  kNone,
  kShort,        // fewer bytes than the header says, or than the smallest packet
  kTooLong,      // more bytes than the header says
  kBadFrame,     // a framed kind whose frame does not decode
  kBadLayout,    // device ID length beyond 20 or beyond the packet, unknown protection level
  kBadCrc,
  kBadCheck,     // keyed check wrong
};

std::string_view PacketErrorName(PacketError error);

struct PacketRead {
  PacketError error = PacketError::kNone;
  PacketFields fields;
};

// Reads one whole packet: checks its length, layout, CRC and (protected packets) keyed check.
// Address, ID code, device ID, direction and operation are the caller's to check. For kinds 0
// and 3 `bytes` may be the frame (it starts with 0xA5) or the body a frame decoder gave.
PacketRead ReadPacket(int kind, std::span<const std::uint8_t> bytes, const PacketKeys& keys);

// The network rule: a packet's total length is the 16-bit little-endian value at bytes 4-5
// plus 8. Nothing when fewer than 6 bytes are at hand.
std::optional<std::size_t> PacketTotalLength(std::span<const std::uint8_t> start);

}  // namespace vantorel

#pragma once
// The controller's side of the protocol, for programs that act as a controller (the virtual
// sign): reading a request out of received bytes, with the reason when it is refused, and
// making the answer the program side's Parse functions accept.
//
// Reading bytes off a line: on kinds 0 and 3 a SerialFrameDecoder (serial_frame.h) gives the
// frame bodies; on kinds 1 and 2 PacketTotalLength (packet.h) on the first 6 bytes says how many
// bytes the packet has. Nothing here keeps state; every call may come from several threads.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "comm/packet.h"
#include "comm/serial_frame.h"
#include "platform/status.h"

namespace vantorel {

// Who the controller is and how it is protected.
struct SignIdentity {
  int kind = kKindNetwork;
  std::uint8_t address = 1;     // its screen ID; requests to 255 are taken too
  std::uint32_t idCode = 0;     // checked on kind 1 (the network)
  std::string deviceId;         // checked on kinds 2 and 3 (relay server)
  std::string keyText;          // reported by its probe; the key of protected packets
  int protectionMode = 1;       // 1 none, 2 key text, 32770 key text + password
  std::string password;         // the custom password of mode 32770
};

enum class Refusal {
  kNone,
  kShort,           // fewer bytes than the packet's length, or than any packet
  kTooLong,         // bytes after the packet
  kBadFrame,        // kinds 0 and 3: the frame does not decode
  kBadLayout,       // not a packet of ours
  kBadCrc,
  kBadCheck,        // the keyed check does not match this controller's key
  kNotRequest,      // an answer was received
  kWrongAddress,    // neither this controller's address nor 255
  kWrongIdCode,     // kind 1: another network ID code
  kWrongDeviceId,   // kinds 2 and 3: another device ID
  kNotProtected,    // less protection than the controller's mode asks for
};

std::string_view RefusalName(Refusal refusal);
// The refusal as a failure: "The controller refused the request: bad CRC".
Status RefusalStatus(Refusal refusal);

struct RequestDecode {
  Refusal refusal = Refusal::kNone;
  PacketFields request;  // operation, data, and what the answer must repeat
};

// Reads one whole request: `bytes` is one packet (kinds 1 and 2), or one frame or frame body
// (kinds 0 and 3). A refused request is not to be answered.
RequestDecode DecodeRequest(const SignIdentity& sign, std::span<const std::uint8_t> bytes);

// The answer to `request` with `status` (operations.h kStatus...) and `data`: the bytes to send
// (framed on kinds 0 and 3), protected as the request was. Empty when `data` does not fit a
// packet.
std::vector<std::uint8_t> EncodeAnswer(const SignIdentity& sign, const PacketFields& request, std::uint8_t status,
                                       std::span<const std::uint8_t> data);

std::string_view AnswerStatusName(std::uint8_t status);

// The 8-character password a 36-byte password block of the protection command carries (its 16
// key characters are the password and "ZORTAKEP"), or nothing when the block is not one.
std::optional<std::string> ReadPasswordBlock(std::span<const std::uint8_t> block);

}  // namespace vantorel

#pragma once
// The keyed check of protected packets: the first 8 bytes of HMAC-MD5 (RFC 2104) over the packet
// bytes before the check. The key is the controller's key text (protection mode 2), or the key
// text, one zero byte and the custom password (protection mode 32770). A packet whose check
// does not match is refused by both sides.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vantorel {

inline constexpr std::size_t kPacketCheckSize = 8;
using PacketCheck = std::array<std::uint8_t, kPacketCheckSize>;

// The key bytes of a protection level: 1 = key text, 2 = key text + password.
std::string PacketCheckKey(int protectionLevel, std::string_view keyText, std::string_view password);

PacketCheck ComputePacketCheck(std::string_view key, std::span<const std::uint8_t> bytes);

}  // namespace vantorel

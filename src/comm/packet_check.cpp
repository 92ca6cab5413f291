#include "comm/packet_check.h"

#include <algorithm>
#include <vector>

#include "platform/md5_digest.h"

namespace vantorel {
namespace {

constexpr std::size_t kMd5Block = 64;
constexpr std::size_t kMd5Size = 16;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

std::array<std::uint8_t, kMd5Size> Md5(std::span<const std::uint8_t> bytes) {
  const std::string hex = Md5Hex(bytes);
  std::array<std::uint8_t, kMd5Size> digest{};
  for (std::size_t i = 0; i < kMd5Size && 2 * i + 1 < hex.size(); ++i) {
    digest[i] = static_cast<std::uint8_t>(HexValue(hex[2 * i]) << 4 | HexValue(hex[2 * i + 1]));
  }
  return digest;
}

}  // namespace

std::string PacketCheckKey(int protectionLevel, std::string_view keyText, std::string_view password) {
  std::string key(keyText);
  if (protectionLevel == 2) {
    key.push_back('\0');
    key.append(password);
  }
  return key;
}

PacketCheck ComputePacketCheck(std::string_view key, std::span<const std::uint8_t> bytes) {
  std::array<std::uint8_t, kMd5Block> block{};
  if (key.size() > kMd5Block) {
    const auto digest = Md5(std::span(reinterpret_cast<const std::uint8_t*>(key.data()), key.size()));
    std::copy(digest.begin(), digest.end(), block.begin());
  } else {
    std::copy(key.begin(), key.end(), block.begin());
  }
  std::vector<std::uint8_t> inner;
  inner.reserve(kMd5Block + bytes.size());
  for (const std::uint8_t b : block) inner.push_back(static_cast<std::uint8_t>(b ^ 0x36));
  inner.insert(inner.end(), bytes.begin(), bytes.end());
  const auto innerDigest = Md5(inner);
  std::vector<std::uint8_t> outer;
  outer.reserve(kMd5Block + kMd5Size);
  for (const std::uint8_t b : block) outer.push_back(static_cast<std::uint8_t>(b ^ 0x5C));
  outer.insert(outer.end(), innerDigest.begin(), innerDigest.end());
  const auto digest = Md5(outer);
  PacketCheck check{};
  std::copy_n(digest.begin(), kPacketCheckSize, check.begin());
  return check;
}

}  // namespace vantorel

#include "comm/kvlink.h"

#include <gtest/gtest.h>

#include <string_view>

namespace vantorel {
namespace {

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The published check values of the three CRC-16 variants that share polynomial 0x1021 without
// reflection or final XOR and differ only in their start value: the seed is really continued.
TEST(Crc16, GivesThePublishedCheckValuesForEachSeed) {
  struct Row {
    const char* name;
    std::uint16_t seed;
    std::string_view text;
    std::uint16_t crc;
  };
  const Row rows[] = {
      {"CCITT-FALSE", 0xFFFF, "123456789", 0x29B1},
      {"XMODEM", 0x0000, "123456789", 0x31C3},
      {"AUG-CCITT", 0x1D0F, "123456789", 0xE5CC},
      {"nothing keeps the seed", 0x1234, "", 0x1234},
      {"one byte A", 0xFFFF, "A", 0xB915},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(KVLINK_GetCrcValue(row.seed, AsBytes(row.text)), row.crc);
  }
}

TEST(Crc16, ContinuedOverPiecesEqualsTheWhole) {
  std::vector<std::uint8_t> bytes(600);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
  const std::uint16_t whole = KVLINK_GetCrcValue(0xFFFF, bytes);
  for (const std::size_t cut : {0u, 1u, 2u, 255u, 256u, 512u, 599u, 600u}) {
    SCOPED_TRACE(cut);
    const std::span<const std::uint8_t> all(bytes);
    const std::uint16_t first = KVLINK_GetCrcValue(0xFFFF, all.first(cut));
    EXPECT_EQ(KVLINK_GetCrcValue(first, all.subspan(cut)), whole);
  }
}

TEST(Crc16, EverySingleBitFlipChangesIt) {
  std::vector<std::uint8_t> bytes = {0x68, 0xFF, 0x04, 0x00, 0x07, 0x00, 0x00, 0x05, 1, 2, 3, 4, 0};
  const std::uint16_t original = KVLINK_GetCrcValue(0xFFFF, bytes);
  for (std::size_t byte = 0; byte < bytes.size(); ++byte) {
    for (int bit = 0; bit < 8; ++bit) {
      bytes[byte] ^= static_cast<std::uint8_t>(1 << bit);
      EXPECT_NE(KVLINK_GetCrcValue(0xFFFF, bytes), original) << byte << ":" << bit;
      bytes[byte] ^= static_cast<std::uint8_t>(1 << bit);
    }
  }
}

}  // namespace
}  // namespace vantorel

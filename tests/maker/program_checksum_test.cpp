#include "maker/program_checksum.h"

#include <gtest/gtest.h>

#include <array>

#include <numeric>
#include <string_view>
#include <vector>

#include "app/text_ids.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(ProgramChecksum, GivesTheCheckValues) {
  struct Row {
    std::string_view text;
    std::uint16_t expected;
  };
  const Row rows[] = {
      {"", 0x0000},
      {"abc", 0xC390},
      {"123456789", 0xB955},
      // The table is the MSB-first one: a single byte b gives T[b], T[1] = 0x1021, T[2] = 0x2042.
      {std::string_view("\x01", 1), 0x1021},
      {std::string_view("\x02", 1), 0x2042},
      {std::string_view("\x80", 1), 0x9188},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ProgramChecksum(AsBytes(row.text)), row.expected);
  }
}

TEST(ProgramChecksum, ContinuesPieceByPieceAsOverTheWhole) {
  std::vector<std::uint8_t> bytes(1000);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{7});
  const std::uint16_t whole = ProgramChecksum(bytes);
  for (const std::size_t split : {std::size_t{0}, std::size_t{1}, std::size_t{46}, std::size_t{999}, std::size_t{1000}}) {
    SCOPED_TRACE(split);
    const std::span<const std::uint8_t> all(bytes);
    EXPECT_EQ(ProgramChecksum(all.subspan(split), ProgramChecksum(all.first(split))), whole);
  }
  // Three pieces.
  const std::span<const std::uint8_t> all(bytes);
  EXPECT_EQ(ProgramChecksum(all.subspan(700), ProgramChecksum(all.subspan(300, 400), ProgramChecksum(all.first(300)))), whole);
}

// The sum eight bytes a step is the sum a byte a step, as the format states it, at every length
// and alignment.
TEST(ProgramChecksum, EightBytesAStepSumAsOneByteAStep) {
  std::array<std::uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    unsigned crc = i << 8;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000u) != 0 ? (crc << 1) ^ 0x1021u : crc << 1;
    table[i] = static_cast<std::uint16_t>(crc);
  }
  std::vector<std::uint8_t> bytes(83);
  std::uint32_t state = 12345;
  for (auto& byte : bytes) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<std::uint8_t>(state >> 16);
  }
  for (std::size_t start = 0; start < 8; ++start) {
    for (std::size_t length = 0; start + length <= bytes.size(); ++length) {
      std::uint16_t expected = 0x5A5A;
      for (std::size_t i = start; i < start + length; ++i) {
        expected = static_cast<std::uint16_t>((expected >> 8) ^ table[(expected ^ bytes[i]) & 0xFFu]);
      }
      ASSERT_EQ(ProgramChecksum(std::span(bytes).subspan(start, length), 0x5A5A), expected) << start << "+" << length;
    }
  }
}

TEST(ProgramChecksum, OfAFileReadInPiecesIsThatOfItsBytes) {
  test::TempFolder temp;
  for (const std::size_t size : {std::size_t{0}, kChecksumPieceBytes - 1, kChecksumPieceBytes, 2 * kChecksumPieceBytes + 17}) {
    SCOPED_TRACE(size);
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 131 + i / 256);
    const auto file = temp.WriteBytes("f" + std::to_string(size), bytes);
    const Expected<std::uint16_t> checksum = ChecksumOfFile(file);
    ASSERT_TRUE(checksum.ok()) << checksum.status().detail();
    EXPECT_EQ(*checksum, ProgramChecksum(bytes));
  }
}

TEST(ProgramChecksum, OfAFileThatCannotBeReadFailsNamingIt) {
  test::TempFolder temp;
  for (const auto& path : {temp / "missing.lpb", temp.Path()}) {
    const Expected<std::uint16_t> checksum = ChecksumOfFile(path);
    ASSERT_FALSE(checksum.ok());
    EXPECT_EQ(checksum.status().text(), kTextChecksumNotRead);
    EXPECT_NE(checksum.status().detail().find(path.string()), std::string::npos) << checksum.status().detail();
  }
}

}  // namespace
}  // namespace vantorel

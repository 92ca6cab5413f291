#include "platform/byte_reader.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "platform/byte_writer.h"
#include "platform/saturating.h"
#include "platform/status.h"

namespace vantorel {
namespace {

TEST(ByteReader, ReadsBothByteOrders) {
  const std::vector<std::uint8_t> bytes = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0xFF};
  ByteReader in(bytes);
  EXPECT_EQ(in.U16Le(), 0x0201);
  EXPECT_EQ(in.U16Be(), 0x0304);
  EXPECT_EQ(in.U32Le(), 0x08070605u);
  EXPECT_EQ(in.U32Be(), 0x090A0B0Cu);
  EXPECT_EQ(in.U8(), 0xFF);
  EXPECT_TRUE(in.ok());
  EXPECT_TRUE(in.AtEnd());
}

TEST(ByteReader, AReadPastTheEndFailsAndStaysFailed) {
  const std::vector<std::uint8_t> bytes = {0x10, 0x20, 0x30};
  ByteReader in(bytes);
  EXPECT_EQ(in.U16Le(), 0x2010);
  EXPECT_EQ(in.U32Le(), 0u);  // only one byte left
  EXPECT_FALSE(in.ok());
  EXPECT_EQ(in.U8(), 0);  // sticky: even a read that would fit fails now
  EXPECT_EQ(in.Offset(), 2u);
  EXPECT_EQ(in.Where(), "offset 2: 4 bytes wanted, 1 left");
}

TEST(ByteReader, HugeCountsNeverWrapAround) {
  const std::vector<std::uint8_t> bytes(16, 0xAA);
  struct Row {
    const char* name;
    std::size_t skip;
    std::size_t take;
    bool ok;
  };
  const Row rows[] = {
      {"exact", 8, 8, true},
      {"one too many", 8, 9, false},
      {"size_t max", 1, std::numeric_limits<std::size_t>::max(), false},
      {"max after skip", 16, std::numeric_limits<std::size_t>::max(), false},
  };
  for (const Row& row : rows) {
    ByteReader in(bytes);
    in.Skip(row.skip);
    const auto span = in.Bytes(row.take);
    EXPECT_EQ(in.ok(), row.ok) << row.name;
    EXPECT_EQ(span.size(), row.ok ? row.take : 0u) << row.name;
  }
}

TEST(ByteReader, SubReadersAndSeekStayInsideTheirSpan) {
  const std::vector<std::uint8_t> bytes = {4, 0, 0, 0, 'a', 'b', 'c', 'd', 9};
  ByteReader in(bytes);
  ByteReader body = in.Sub(in.U32Le());
  EXPECT_EQ(body.Size(), 4u);
  body.Skip(4);
  EXPECT_EQ(body.U8(), 0);  // the 9 after the block is not the block's
  EXPECT_FALSE(body.ok());
  EXPECT_EQ(in.U8(), 9);
  EXPECT_TRUE(in.ok());
  in.Seek(bytes.size());
  EXPECT_TRUE(in.ok());
  in.Seek(bytes.size() + 1);
  EXPECT_FALSE(in.ok());
}

TEST(ByteWriter, WritesAndPatchesInBothByteOrders) {
  ByteWriter out;
  out.U32Le(0);  // size, patched below
  out.U16Be(0x0102);
  out.U32Be(0x03040506);
  out.Text("ab");
  out.Fill(2, 0xEE);
  out.PatchU32Le(0, static_cast<std::uint32_t>(out.Size()));
  EXPECT_TRUE(out.ok());
  const std::vector<std::uint8_t> expected = {14, 0, 0, 0, 1, 2, 3, 4, 5, 6, 'a', 'b', 0xEE, 0xEE};
  EXPECT_EQ(out.View(), expected);
  out.PatchU16Le(13, 1);  // would run past the end
  EXPECT_FALSE(out.ok());
  EXPECT_EQ(out.View(), expected);
}

TEST(Saturating, HoldsAtTheLimits) {
  constexpr int kMax = std::numeric_limits<int>::max();
  constexpr int kMin = std::numeric_limits<int>::min();
  EXPECT_EQ(SaturatingMul(kMax, 100), kMax);
  EXPECT_EQ(SaturatingMul(kMax, -100), kMin);
  EXPECT_EQ(SaturatingMul(-7, 3), -21);
  EXPECT_EQ(SaturatingAdd(kMax, 1), kMax);
  EXPECT_EQ(SaturatingAdd(kMin, -1), kMin);
  EXPECT_EQ(SaturatingAdd<std::uint32_t>(0xFFFFFFF0u, 0x20u), 0xFFFFFFFFu);
}

TEST(Status, CarriesTextAndDetail) {
  EXPECT_TRUE(Status::Ok().ok());
  const Status failed = Status::Failure(371, "disk full");
  EXPECT_FALSE(failed.ok());
  EXPECT_EQ(failed.text(), 371);
  EXPECT_EQ(failed.WithText(319).text(), 319);
  EXPECT_EQ(failed.WithText(319).detail(), "disk full");
  EXPECT_EQ(failed.WithContext("screen 3").detail(), "screen 3: disk full");
  EXPECT_TRUE(Status::Ok().WithText(319).ok());
  const Status system = Status::SystemError(ENOSPC, "/data/av0001.ldt");
  EXPECT_EQ(system.detail(), "No space left on device \u2014 /data/av0001.ldt");
  Expected<int> value = 5;
  Expected<int> none = failed;
  EXPECT_EQ(*value, 5);
  EXPECT_FALSE(none.ok());
  EXPECT_EQ(none.status(), failed);
  EXPECT_EQ(none.value_or(7), 7);
}

}  // namespace
}  // namespace vantorel

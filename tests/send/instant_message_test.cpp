#include "send/instant_message.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "app/text_ids.h"

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes TextBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

TEST(InstantMessageBlock, EveryFieldAtItsOffsetHighByteFirst) {
  InstantMessage message;
  message.loops = 3;
  message.width = 0x0140;
  message.height = 0x0020;
  message.sizeCode = 2;
  message.bold = true;
  message.underline = true;
  message.colour = 0x07E0;
  message.speed = 70;
  message.stay = 9;
  const auto block = InstantMessageBlock(message, TextBytes("Hi!"));
  ASSERT_TRUE(block.ok());
  // Sum of bytes 3-21: 3 + 0x01 + 0x40 + 0x20 + 0x52 + 0x07 + 0xE0 + 30 + 9 + 3 = 0x1C7.
  const Bytes expected{119, 0x01, 0xC7, 3,    0, 0, 0, 0, 0x01, 0x40, 0x00, 0x20, 0x52,
                       0,   0,    0,    0x07, 0xE0, 30, 9, 0x00, 0x03, 'H', 'i', '!'};
  EXPECT_EQ(*block, expected);
}

TEST(InstantMessageBlock, SumCoversBytesThreeToTwentyOneOnly) {
  InstantMessage message;
  message.loops = 255;
  message.width = 0xFFFF;
  message.height = 0xFFFF;
  message.sizeCode = 7;
  message.bold = message.italic = message.underline = true;
  message.colour = 0xFFFF;
  message.speed = 1;
  message.stay = 255;
  const Bytes text(300, 0xFF);
  const auto block = InstantMessageBlock(message, text);
  ASSERT_TRUE(block.ok());
  ASSERT_EQ(block->size(), 322u);
  const unsigned sum = std::accumulate(block->begin() + 3, block->begin() + 22, 0u);
  EXPECT_EQ((*block)[1], sum >> 8);
  EXPECT_EQ((*block)[2], sum & 0xFF);
  EXPECT_EQ((*block)[12], 0x77);
  EXPECT_EQ((*block)[20], 0x01);
  EXPECT_EQ((*block)[21], 0x2C);
}

TEST(InstantMessageBlock, SpeedHeldAtOneToHundredAsHundredLessSpeed) {
  struct Row {
    int speed;
    int byte;
  };
  const Row rows[] = {{-5, 99}, {0, 99}, {1, 99}, {50, 50}, {99, 1}, {100, 0}, {101, 0}, {1000, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.speed);
    InstantMessage message;
    message.speed = row.speed;
    const auto block = InstantMessageBlock(message, {});
    ASSERT_TRUE(block.ok());
    EXPECT_EQ((*block)[18], row.byte);
  }
}

TEST(InstantMessageBlock, TextAndSizeCodeLimits) {
  struct Row {
    const char* name;
    std::size_t textBytes;
    int sizeCode;
    bool ok;
  };
  const Row rows[] = {
      {"empty text", 0, 0, true},          {"longest text fills 6,144 bytes", 6122, 2, true},
      {"one byte too long", 6123, 2, false}, {"size code 7", 10, 7, true},
      {"size code 8", 10, 8, false},       {"negative size code", 10, -1, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    InstantMessage message;
    message.sizeCode = row.sizeCode;
    const auto block = InstantMessageBlock(message, Bytes(row.textBytes, 'x'));
    ASSERT_EQ(block.ok(), row.ok);
    if (row.ok) {
      EXPECT_EQ(block->size(), 22 + row.textBytes);
      EXPECT_LE(block->size(), kMaxInstantMessageBlock);
    } else {
      EXPECT_EQ(block.status().text(), kTextFailed);
    }
  }
}

TEST(MessagePieces, PiecesOf128WithSeventeenOnlyOnTheLast) {
  struct Row {
    std::size_t blockSize;
    std::size_t pieces;
    std::size_t lastLength;
  };
  const Row rows[] = {{1, 1, 1},     {22, 1, 22},   {127, 1, 127}, {128, 1, 128},
                      {129, 2, 1},   {256, 2, 128}, {300, 3, 44},  {6144, 48, 128}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.blockSize);
    Bytes block(row.blockSize);
    std::iota(block.begin(), block.end(), std::uint8_t{0});
    const std::vector<MessagePiece> pieces = MessagePieces(block);
    ASSERT_EQ(pieces.size(), row.pieces);
    Bytes joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      EXPECT_EQ(pieces[i].offset, i * 128);
      EXPECT_EQ(pieces[i].flag, i + 1 == pieces.size() ? 17 : 1);
      if (i + 1 < pieces.size()) {
        EXPECT_EQ(pieces[i].bytes.size(), 128u);
      }
      joined.insert(joined.end(), pieces[i].bytes.begin(), pieces[i].bytes.end());
    }
    EXPECT_EQ(pieces.back().bytes.size(), row.lastLength);
    EXPECT_EQ(joined, block);
  }
  EXPECT_TRUE(MessagePieces({}).empty());
}

TEST(MessageColour, NamesAndHexadecimalColoursAsRgb565) {
  struct Row {
    const char* name;
    int expected;  // -1: none
  };
  const Row rows[] = {{"red", 0xF800},     {"RED", 0xF800},     {"green", 0x07E0},  {"yellow", 0xFFE0},
                      {"blue", 0x001F},    {"white", 0xFFFF},   {"#FF0000", 0xF800}, {"#00ff00", 0x07E0},
                      {"#808080", 0x8410}, {"#000000", 0x0000}, {"purple", -1},     {"#12345", -1},
                      {"#GG0000", -1},     {"FF0000", -1},      {"", -1}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::optional<std::uint16_t> colour = MessageColourOf(row.name);
    if (row.expected < 0) {
      EXPECT_FALSE(colour.has_value());
    } else {
      ASSERT_TRUE(colour.has_value());
      EXPECT_EQ(*colour, row.expected);
    }
  }
}

TEST(MessageSizeCode, FontHeightsInDots) {
  const int dots[] = {8, 12, 16, 24, 32, 40, 48, 56};
  for (int code = 0; code < 8; ++code) EXPECT_EQ(MessageSizeCodeOf(dots[code]), code);
  EXPECT_FALSE(MessageSizeCodeOf(20).has_value());
  EXPECT_FALSE(MessageSizeCodeOf(0).has_value());
}

}  // namespace
}  // namespace vantorel

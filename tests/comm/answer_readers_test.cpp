// Putting answers together from the pieces reads give, at every split, and refusing what would
// pass the capacity.

#include <gtest/gtest.h>

#include <cerrno>

#include "comm/answer_readers.h"
#include "comm/packet.h"
#include "comm/serial_frame.h"

namespace vantorel::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Packet(std::size_t dataSize, std::uint8_t fill) {
  PacketFields fields;
  fields.answer = true;
  fields.operation = 4;
  fields.data.assign(dataSize, fill);
  return BuildPacket(fields, {});
}

TEST(AnswerReadersTest, SerialFrameAtEverySplit) {
  const Bytes body{0x01, 0xA5, 0xAE, 0xAA, 0x02, 0xAF};
  const Bytes frame = EncodeFrame(body);
  for (std::size_t split = 0; split <= frame.size(); ++split) {
    SCOPED_TRACE(split);
    SerialAnswerReader reader;
    reader.Begin(64);
    EXPECT_EQ(reader.Feed({}), AnswerState::kNeedMore);
    const AnswerState first = reader.Feed(std::span(frame).first(split));
    if (split == frame.size()) {
      EXPECT_EQ(first, AnswerState::kDone);
    } else {
      EXPECT_EQ(first, AnswerState::kNeedMore);
      EXPECT_EQ(reader.Feed(std::span(frame).subspan(split)), AnswerState::kDone);
    }
    EXPECT_TRUE(std::ranges::equal(reader.Answer(), body));
  }
}

TEST(AnswerReadersTest, SerialBackToBackFramesAndLimits) {
  struct Row {
    const char* name;
    Bytes stream;
    std::size_t capacity;
    std::vector<Bytes> answers;   // the answers read one after the other
    AnswerState last;             // the state after them
  };
  Bytes two = EncodeFrame(Bytes{1, 2});
  const Bytes second = EncodeFrame(Bytes{3});
  two.insert(two.end(), second.begin(), second.end());
  Bytes noise(100, 0x01);
  const Bytes small = EncodeFrame(Bytes{9});
  Bytes noisy = noise;
  noisy.insert(noisy.end(), small.begin(), small.end());
  Bytes endless{0xA5};
  endless.insert(endless.end(), 300, 0x01);
  const Row rows[] = {
      {"two frames in one read", two, 16, {{1, 2}, {3}}, AnswerState::kNeedMore},
      {"noise within the capacity", noisy, 128, {{9}}, AnswerState::kNeedMore},
      {"noise beyond the capacity", noisy, 64, {}, AnswerState::kFailed},
      {"a frame without end", endless, 256, {}, AnswerState::kFailed},
      {"a body one byte too long", EncodeFrame(Bytes(17, 1)), 16, {}, AnswerState::kFailed},
      {"a body that just fits", EncodeFrame(Bytes(16, 1)), 16, {Bytes(16, 1)}, AnswerState::kNeedMore},
      {"a bad escape", Bytes{0xA5, 0xAA, 0x10, 0xAE}, 16, {}, AnswerState::kFailed},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SerialAnswerReader reader;
    reader.Begin(row.capacity);
    AnswerState state = reader.Feed(row.stream);
    for (const Bytes& answer : row.answers) {
      ASSERT_EQ(state, AnswerState::kDone);
      EXPECT_TRUE(std::ranges::equal(reader.Answer(), answer));
      reader.Begin(row.capacity);
      state = reader.Feed({});
    }
    EXPECT_EQ(state, row.last);
  }
}

TEST(AnswerReadersTest, NetworkPacketAtEverySplit) {
  const Bytes packet = Packet(20, 0x33);
  for (std::size_t split = 0; split <= packet.size(); ++split) {
    SCOPED_TRACE(split);
    NetworkAnswerReader reader;
    reader.Begin(packet.size());
    AnswerState state = reader.Feed(std::span(packet).first(split));
    if (split < packet.size()) {
      EXPECT_EQ(state, AnswerState::kNeedMore);
      state = reader.Feed(std::span(packet).subspan(split));
    }
    EXPECT_EQ(state, AnswerState::kDone);
    EXPECT_TRUE(std::ranges::equal(reader.Answer(), packet));
    EXPECT_EQ(reader.KeptSize(), 0u);
  }
}

TEST(AnswerReadersTest, NetworkBackToBackAndLimits) {
  const Bytes a = Packet(3, 1);
  const Bytes b = Packet(40, 2);
  Bytes both = a;
  both.insert(both.end(), b.begin(), b.end());
  NetworkAnswerReader reader;
  reader.Begin(100);
  ASSERT_EQ(reader.Feed(both), AnswerState::kDone);
  EXPECT_TRUE(std::ranges::equal(reader.Answer(), a));
  EXPECT_EQ(reader.KeptSize(), b.size());
  reader.Begin(100);
  ASSERT_EQ(reader.Feed({}), AnswerState::kDone);
  EXPECT_TRUE(std::ranges::equal(reader.Answer(), b));

  struct Row {
    const char* name;
    Bytes bytes;
    std::size_t capacity;
    AnswerState state;
  };
  const Row rows[] = {
      {"longer than the capacity", b, b.size() - 1, AnswerState::kFailed},
      {"exactly the capacity", b, b.size(), AnswerState::kDone},
      {"a length below the smallest packet", Bytes{0xE8, 0xFF, 4, 0, 2, 0, 0, 0}, 100, AnswerState::kFailed},
      {"the largest length with a small capacity", Bytes{0xE8, 0xFF, 4, 0, 0xFF, 0xFF}, 2048, AnswerState::kFailed},
      {"five bytes: not yet known", Bytes{0xE8, 0xFF, 4, 0, 7}, 100, AnswerState::kNeedMore},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    NetworkAnswerReader limited;
    limited.Begin(row.capacity);
    EXPECT_EQ(limited.Feed(row.bytes), row.state);
    if (row.state == AnswerState::kFailed) {
      EXPECT_EQ(limited.KeptSize(), 0u);
    }
    EXPECT_LE(limited.Answer().size(), row.capacity);
  }
}

TEST(AnswerReadersTest, ReceiveAnswerEnds) {
  struct Row {
    const char* name;
    std::vector<Bytes> reads;     // what each read gives; past the end: nothing in time
    bool readFails;               // the last read is a failure of the medium
    int received;
    const char* why;              // part of the failure's detail
  };
  const Bytes frame = EncodeFrame(Bytes{1, 2, 3});
  const Row rows[] = {
      {"one frame in two reads", {Bytes(frame.begin(), frame.begin() + 2), Bytes(frame.begin() + 2, frame.end())},
       false, 3, ""},
      {"nothing comes", {}, false, 0, "no answer within"},
      {"half a frame, then nothing", {Bytes(frame.begin(), frame.begin() + 3)}, false, 0, "no answer within"},
      {"an empty frame", {Bytes{0xA5, 0xAE}}, false, 0, "an empty answer"},
      {"the medium fails", {Bytes{0xA5}}, true, 0, "Input/output error"},
      {"longer than the buffer", {EncodeFrame(Bytes(9, 1))}, false, 0, "at most 8 bytes"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SerialAnswerReader reader;
    std::size_t next = 0;
    const auto read = [&](int) -> Expected<std::span<const std::uint8_t>> {
      if (row.readFails && next + 1 == row.reads.size()) {
        ++next;
        return Status::SystemError(EIO, "/dev/pts/x");
      }
      if (next >= row.reads.size()) return std::span<const std::uint8_t>{};
      return std::span<const std::uint8_t>(row.reads[next++]);
    };
    Bytes buffer(8, 0xEE);
    Status failure;
    EXPECT_EQ(ReceiveAnswer(reader, read, 1000, buffer, "/dev/pts/x", failure), row.received);
    if (row.received == 0) {
      EXPECT_NE(failure.detail().find(row.why), std::string::npos) << failure.detail();
    } else {
      EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + row.received), (Bytes{1, 2, 3}));
    }
  }
}

}  // namespace
}  // namespace vantorel::test

#include "comm/serial_frame.h"

#include <gtest/gtest.h>

#include <numeric>

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SerialFrame, EscapesEveryReservedByteAsItsLowNibble) {
  for (int value = 0xA0; value <= 0xAF; ++value) {
    SCOPED_TRACE(value);
    const Bytes body = {0x01, static_cast<std::uint8_t>(value), 0x02};
    const Bytes expected = {0xA5, 0x01, 0xAA, static_cast<std::uint8_t>(value & 0x0F), 0x02, 0xAE};
    EXPECT_EQ(EncodeFrame(body), expected);
    Bytes decoded;
    EXPECT_EQ(DecodeFrame(expected, decoded, 16), FrameError::kNone);
    EXPECT_EQ(decoded, body);
  }
}

TEST(SerialFrame, CarriesAll256ByteValuesAndNoRawReservedByteInside) {
  Bytes body(256);
  std::iota(body.begin(), body.end(), 0);
  const Bytes frame = EncodeFrame(body);
  EXPECT_EQ(frame.size(), 2 + 256 + 16);
  EXPECT_EQ(frame.front(), kFrameStart);
  EXPECT_EQ(frame.back(), kFrameEnd);
  for (std::size_t i = 1; i + 1 < frame.size(); ++i) {
    if (IsFrameReserved(frame[i])) {
      EXPECT_EQ(frame[i], kFrameEscape) << i;
      ASSERT_LT(i + 2, frame.size());
      EXPECT_LE(frame[i + 1], 0x0F) << i;
      ++i;
    }
  }
  Bytes decoded;
  EXPECT_EQ(DecodeFrame(frame, decoded, 256), FrameError::kNone);
  EXPECT_EQ(decoded, body);
}

TEST(SerialFrame, EncodingIntoTooSmallABufferWritesNothing) {
  const Bytes body = {0xA5, 0x00, 0xAE};
  Bytes out(FramedSize(body) - 1, 0x55);
  EXPECT_EQ(EncodeFrame(body, out), 0u);
  EXPECT_EQ(out, Bytes(out.size(), 0x55));
  out.resize(FramedSize(body));
  EXPECT_EQ(EncodeFrame(body, out), out.size());
}

TEST(SerialFrame, DecodesAFrameFedInPiecesOfEverySize) {
  Bytes body(300);
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<std::uint8_t>(0x9C + i % 24);
  Bytes stream = {0x00, 0x13};  // noise before the start is skipped
  const Bytes frame = EncodeFrame(body);
  stream.insert(stream.end(), frame.begin(), frame.end());
  stream.push_back(0x42);  // the start of whatever follows
  for (std::size_t piece = 1; piece <= 17; ++piece) {
    SCOPED_TRACE(piece);
    SerialFrameDecoder decoder(400);
    std::size_t at = 0;
    SerialFrameDecoder::State state = SerialFrameDecoder::State::kNeedMore;
    while (at < stream.size() && state == SerialFrameDecoder::State::kNeedMore) {
      std::size_t consumed = 0;
      const std::span<const std::uint8_t> in = std::span(stream).subspan(at, std::min(piece, stream.size() - at));
      state = decoder.Feed(in, consumed);
      at += consumed;
    }
    ASSERT_EQ(state, SerialFrameDecoder::State::kFrame);
    EXPECT_EQ(Bytes(decoder.Body().begin(), decoder.Body().end()), body);
    EXPECT_EQ(at, stream.size() - 1);  // the byte after 0xAE is left for the next frame
  }
}

TEST(SerialFrame, RefusesBrokenFramesWithTheirReason) {
  struct Row {
    const char* name;
    Bytes in;
    std::size_t capacity;
    FrameError error;
    Bytes body;
  };
  const Row rows[] = {
      {"plain", {0xA5, 1, 2, 0xAE}, 8, FrameError::kNone, {1, 2}},
      {"empty body", {0xA5, 0xAE}, 8, FrameError::kNone, {}},
      {"a second start restarts", {0xA5, 1, 2, 0xA5, 3, 0xAE}, 8, FrameError::kNone, {3}},
      {"noise before the start", {7, 8, 0xA5, 3, 0xAE}, 8, FrameError::kNone, {3}},
      {"full to capacity", {0xA5, 1, 2, 3, 4, 0xAE}, 4, FrameError::kNone, {1, 2, 3, 4}},
      {"escaped to capacity", {0xA5, 0xAA, 0x0F, 0xAE}, 1, FrameError::kNone, {0xAF}},
      {"nothing", {}, 8, FrameError::kNoEnd, {}},
      {"no end", {0xA5, 1, 2}, 8, FrameError::kNoEnd, {}},
      {"endless body", {0xA5, 1, 2, 3, 4, 5, 0xAE}, 4, FrameError::kNoEnd, {}},
      {"endless escaped body", {0xA5, 1, 2, 3, 4, 0xAA, 0x00, 0xAE}, 4, FrameError::kNoEnd, {}},
      {"endless noise", {1, 2, 3, 4, 5, 0xA5, 0xAE}, 4, FrameError::kNoStart, {}},
      {"escape of a big byte", {0xA5, 0xAA, 0x10, 0xAE}, 8, FrameError::kBadEscape, {}},
      {"escape of the end", {0xA5, 0xAA, 0xAE}, 8, FrameError::kBadEscape, {}},
      {"raw reserved byte", {0xA5, 1, 0xA3, 0xAE}, 8, FrameError::kRawReserved, {}},
      {"escape at the end of the bytes", {0xA5, 1, 0xAA}, 8, FrameError::kNoEnd, {}},
      {"bytes after the end", {0xA5, 1, 0xAE, 2}, 8, FrameError::kTrailing, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Bytes body = {0xEE};
    EXPECT_EQ(FrameErrorName(DecodeFrame(row.in, body, row.capacity)), FrameErrorName(row.error));
    if (row.error == FrameError::kNone) {
      EXPECT_EQ(body, row.body);
    }
  }
}

TEST(SerialFrame, AnEndlessStreamEndsInAnErrorAndTheDecoderStartsOverAfterIt) {
  SerialFrameDecoder decoder(64);
  const Bytes start = {0xA5};
  std::size_t consumed = 0;
  EXPECT_EQ(decoder.Feed(start, consumed), SerialFrameDecoder::State::kNeedMore);
  const Bytes filler(1000, 0x11);
  EXPECT_EQ(decoder.Feed(filler, consumed), SerialFrameDecoder::State::kError);
  EXPECT_EQ(decoder.Error(), FrameError::kNoEnd);
  EXPECT_EQ(consumed, 65u);  // the byte that did not fit, and not one more
  EXPECT_LE(decoder.Body().size(), 64u);
  const Bytes next = {0xA5, 0x01, 0xAE};
  EXPECT_EQ(decoder.Feed(next, consumed), SerialFrameDecoder::State::kFrame);
  EXPECT_EQ(Bytes(decoder.Body().begin(), decoder.Body().end()), Bytes{0x01});
}

}  // namespace
}  // namespace vantorel

#pragma once
// Shared by the Make and Parse functions of kvlink.h: one request made from a context and one
// answer read against it.

#include <cstdint>
#include <span>
#include <vector>

#include "comm/kvlink.h"
#include "comm/operations.h"

namespace vantorel {

// Makes the request of `operation` with `data` into `out`: its length, or 0 when it does not fit
// or the data size is outside the operation's request sizes.
int MakeRequest(KvlinkContext& ctx, std::span<std::uint8_t> out, std::uint8_t operation,
                std::span<const std::uint8_t> data);
inline int MakeRequest(KvlinkContext& ctx, std::span<std::uint8_t> out, Op op, std::span<const std::uint8_t> data = {}) {
  return MakeRequest(ctx, out, Code(op), data);
}

// Reads the answer of `operation` (kAnyOperation: of the last request's operation, or of any
// operation when the context made none): 0 with the answer data in `data`, or a negative
// kKvlink... value.
inline constexpr int kAnyOperation = 0x100;
int ReadAnswer(KvlinkContext& ctx, std::span<const std::uint8_t> answer, int operation, std::vector<std::uint8_t>& data);
inline int ReadAnswer(KvlinkContext& ctx, std::span<const std::uint8_t> answer, Op op, std::vector<std::uint8_t>& data) {
  return ReadAnswer(ctx, answer, Code(op), data);
}

// Reads the answer of `op` and copies its data to `out` (as much as fits): the count copied.
int ReadAnswerInto(KvlinkContext& ctx, std::span<const std::uint8_t> answer, Op op, std::span<std::uint8_t> out);

// Reads the answer of `op` whose data starts with a 16-bit number: the number.
int ReadAnswerU16(KvlinkContext& ctx, std::span<const std::uint8_t> answer, Op op);

// Copies as much of `data` as fits `out`; the count copied.
int CopyAnswer(std::span<const std::uint8_t> data, std::span<std::uint8_t> out);

}  // namespace vantorel

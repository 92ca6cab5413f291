// Requests as the controller side receives them, on every protocol kind and protection mode:
// whatever the bytes, reading them stays inside them, and a request that is taken gets an answer
// the program side reads as the answer to it.
//
// Input: byte 0 picks the controller (kind and protection), the rest is the received bytes.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "comm/kvlink.h"
#include "comm/operations.h"
#include "comm/sign_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  if (size < 1) return 0;
  SignIdentity sign;
  sign.kind = data[0] & 0x03;
  sign.address = 7;
  sign.idCode = sign.kind == kKindNetwork ? 0x12345678 : 0;
  if (sign.kind == kKindRelayNetwork || sign.kind == kKindRelayGprs) sign.deviceId = "000123";
  sign.keyText = "key";
  sign.password = "pass5678";
  static constexpr int kModes[] = {1, 2, 0x8002, 1};
  sign.protectionMode = kModes[(data[0] >> 2) & 0x03];
  const std::span<const std::uint8_t> received(data + 1, size - 1);

  const RequestDecode decoded = DecodeRequest(sign, received);
  if (RefusalName(decoded.refusal) == "unknown") std::abort();
  if (decoded.refusal != Refusal::kNone) return 0;
  const PacketFields& request = decoded.request;
  if (request.answer || request.deviceId.size() > kMaxDeviceIdLength) std::abort();
  if (request.address != sign.address && request.address != kBroadcastAddress) std::abort();

  // Answer it and read the answer back the way the program does for this request.
  const std::vector<std::uint8_t> answer = EncodeAnswer(sign, request, kStatusDone, request.data);
  if (answer.empty()) return 0;  // the data does not fit an answer of its own
  PacketRead read = ReadPacket(sign.kind, answer, PacketKeys{sign.keyText, sign.password});
  if (read.error != PacketError::kNone || !read.fields.answer || read.fields.data != request.data ||
      read.fields.sequence != request.sequence || read.fields.operation != request.operation) {
    std::abort();
  }
  return 0;
}

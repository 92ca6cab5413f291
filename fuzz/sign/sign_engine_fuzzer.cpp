// The virtual sign's request handling with any bytes: the first byte picks the protocol kind and
// the sign's protection mode, the rest is the request (a packet, or a frame body on the serial
// kind). Whatever comes, the sign answers or refuses, never crashes, and every answer it makes
// reads back as an answer packet. The sign keeps no store here, so nothing is written.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "comm/packet.h"
#include "sign/request_log.h"
#include "sign/sign_engine.h"

namespace {

using namespace vantorel;

struct Sign {
  explicit Sign(int mode) : options(Options(mode)), operations(options, State(mode), SignStore({})), faults(options.faults),
                            log(nullptr), engine(options, operations, faults, log) {}

  static SignOptions Options(int) {
    return ParseSignOptions({"--serial", "--key", "Kx9#q", "--password", "pass5678", "--id-code", "0x12345678"})
        .value_or(SignOptions{});
  }
  static SignState State(int mode) {
    SignState state;
    state.protectionMode = mode;
    return state;
  }

  SignOptions options;
  SignOperations operations;
  SignFaults faults;
  RequestLog log;
  SignEngine engine;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int kind = (data[0] & 1) != 0 ? kKindNetwork : kKindSerial;
  // One sign per protection mode for the whole run: requests change its state as they would a
  // real sign's (the protection command may even switch its mode).
  static Sign signs[] = {Sign(1), Sign(2), Sign(32770)};
  Sign& sign = signs[(data[0] >> 1) % 3];
  const std::span<const std::uint8_t> request(data + 1, size - 1);
  const SignExchange exchange = sign.engine.Respond(kind, request, "fuzz");
  for (const auto& answer : exchange.answers) {
    const PacketRead read = ReadPacket(kind, answer, PacketKeys{sign.options.keyText, sign.options.password});
    if (read.error != PacketError::kNone || !read.fields.answer) std::abort();
  }
  if (exchange.refusal != Refusal::kNone && !exchange.answers.empty()) std::abort();
  return 0;
}

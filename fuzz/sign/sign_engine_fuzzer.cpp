// The virtual sign's request handling with any bytes. Byte 0: bit 0 the protocol kind (network or
// serial line), bits 1-2 the sign's protection mode, bit 7 how the rest is taken: clear, as the
// received bytes (a packet, or a frame body on the serial line); set, as an operation code and
// its data, sent in a right packet of the sign's protection, so that the operations themselves
// meet any data. Whatever comes, the sign answers or refuses, never crashes, and every answer it
// makes reads back as an answer packet. The sign keeps no store here, so nothing is written.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

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
  std::vector<std::uint8_t> request(data + 1, data + size);
  if ((data[0] & 0x80) != 0 && size >= 2) {
    PacketFields fields;
    fields.address = kBroadcastAddress;
    fields.operation = data[1];
    fields.idCode = kind == kKindNetwork ? sign.options.idCode : 0;
    fields.protection = kind == kKindNetwork ? ProtectionLevelOfMode(sign.operations.ProtectionMode()).value_or(0) : 0;
    fields.data.assign(data + 2, data + size);
    request = BuildPacket(fields, PacketKeys{sign.options.keyText, sign.options.password});
  }
  const SignExchange exchange = sign.engine.Respond(kind, request, "fuzz");
  for (const auto& answer : exchange.answers) {
    const PacketRead read = ReadPacket(kind, answer, PacketKeys{sign.options.keyText, sign.options.password});
    if (read.error != PacketError::kNone || !read.fields.answer) std::abort();
  }
  if (exchange.refusal != Refusal::kNone && !exchange.answers.empty()) std::abort();
  return 0;
}

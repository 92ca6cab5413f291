#pragma once
// One request in, the bytes to send back out: the virtual sign's request handling apart from
// any socket. Reads the request with the controller side of the protocol (comm/sign_protocol.h)
// under the sign's identity and current protection mode, applies the faults (drop, corrupt,
// delay), lets SignOperations act on it, encodes the answers and logs one line.
//
// Owned by one thread (the sign's poll loop); the fuzz target drives it directly.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "comm/sign_protocol.h"
#include "sign/request_log.h"
#include "sign/sign_faults.h"
#include "sign/sign_operations.h"

namespace vantorel {

struct SignExchange {
  Refusal refusal = Refusal::kNone;
  bool dropped = false;
  std::vector<std::vector<std::uint8_t>> answers;   // the bytes to send, in order (framed on kind 0)
};

class SignEngine {
public:
  SignEngine(const SignOptions& options, SignOperations& operations, SignFaults& faults, RequestLog& log);

  // `bytes`: one packet (kind 1) or one frame body (kind 0). `transport` names the line and peer
  // for the log ("tcp 127.0.0.1:40312", "serial /dev/pts/3").
  SignExchange Respond(int kind, std::span<const std::uint8_t> bytes, std::string_view transport);

  // Who the sign is on protocol kind `kind` right now (its protection mode may have changed).
  SignIdentity Identity(int kind) const;

private:
  const SignOptions& m_options;
  SignOperations& m_operations;
  SignFaults& m_faults;
  RequestLog& m_log;
};

}  // namespace vantorel

#pragma once
// What the protocol tests share: a controller that matches a context, and answering a request
// through the controller side of the protocol.

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "comm/kvlink.h"
#include "comm/sign_protocol.h"

namespace vantorel::test {

using Bytes = std::vector<std::uint8_t>;

struct Link {
  int kind = 1;
  std::uint8_t address = 255;
  std::uint32_t idCode = 0;
  std::string param1;   // key text or device ID
  std::string mode = "1";
  std::string password;
  const char* name = "";
};

// The protocol kinds with each protection mode of the network.
std::vector<Link> AllLinks();

std::unique_ptr<KvlinkContext> ContextFor(const Link& link);
SignIdentity SignFor(const Link& link);

// Makes a request with `make` (into a buffer of `capacity` bytes), reads it on the controller
// side and gives the request's fields; fails the test when the request is refused.
template <typename Make>
PacketFields SendRequest(KvlinkContext& ctx, const SignIdentity& sign, Make make, Bytes* sent = nullptr,
                         std::size_t capacity = 4600) {
  Bytes buffer(capacity);
  const int length = make(ctx, std::span<std::uint8_t>(buffer));
  EXPECT_GT(length, 0);
  buffer.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  if (sent != nullptr) *sent = buffer;
  const RequestDecode decoded = DecodeRequest(sign, buffer);
  EXPECT_EQ(RefusalName(decoded.refusal), RefusalName(Refusal::kNone));
  return decoded.request;
}

}  // namespace vantorel::test

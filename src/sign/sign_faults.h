#pragma once
// The faults a virtual sign injects for tests, drawn from one generator seeded by --seed so a
// run repeats exactly: ignoring a request, flipping one byte of an answer, waiting before
// answering, and (on TCP) closing a connection after a number of answer bytes.
//
// Owned by one thread (the sign's poll loop).

#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "sign/sign_options.h"

namespace vantorel {

class SignFaults {
public:
  explicit SignFaults(const SignFaultOptions& options) : m_options(options), m_random(options.seed) {}

  // True when this request is to be ignored.
  bool Drop();
  // Flips one byte of `answer` (XOR with a value 1-255) when the draw says so; true when it did.
  bool Corrupt(std::vector<std::uint8_t>& answer);
  int DelayMs() const { return m_options.delayMs; }
  // How many of `size` answer bytes a connection that has had `sent` may still get; `size` when
  // no limit is set.
  std::size_t Allowed(std::uint64_t sent, std::size_t size) const;

private:
  bool Draw(double probability);

  SignFaultOptions m_options;
  std::mt19937_64 m_random;
};

}  // namespace vantorel

#pragma once
// A TCP port of 127.0.0.1 that nothing listens on: taken from the system and given back at once,
// for tests of what a program does when no controller is there.

#include <cstdint>

namespace vantorel::test {

std::uint16_t UnusedLoopbackPort();

}  // namespace vantorel::test

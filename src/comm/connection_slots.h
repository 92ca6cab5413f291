#pragma once
// The table of network connections the process holds: 256 slots, each taken by one network
// channel while it is connected. A channel takes a free slot before it connects (none free: the
// connection fails), records what it connected to, marks the slot broken when a send fails and
// gives the slot back when it closes.
//
// One table for the process, behind a mutex: every call may come from several threads at once.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vantorel {

struct ConnectionSlot {
  bool taken = false;
  int descriptor = -1;
  std::uint32_t ipv4 = 0;
  std::uint16_t port = 0;
  std::uint32_t idCode = 0;
  bool broken = false;
  std::chrono::steady_clock::time_point brokenAt{};
};

class ConnectionSlots {
public:
  static constexpr int kSlotCount = 256;

  static ConnectionSlots& Instance();

  // A free slot, now taken; nothing when all 256 are taken.
  std::optional<int> Take();
  void Record(int slot, int descriptor, std::uint32_t ipv4, std::uint16_t port, std::uint32_t idCode);
  void MarkBroken(int slot);
  void Release(int slot);
  // A copy of the slot (a free slot for an index outside the table).
  ConnectionSlot Get(int slot) const;
  int TakenCount() const;

private:
  ConnectionSlots() = default;
  struct Impl;
  static Impl& State();
};

}  // namespace vantorel

#include "comm/connection_slots.h"

#include <array>
#include <mutex>

namespace vantorel {

struct ConnectionSlots::Impl {
  mutable std::mutex mutex;
  std::array<ConnectionSlot, kSlotCount> slots;
  int next = 0;  // where the search for a free slot starts: slots are reused last
};

ConnectionSlots& ConnectionSlots::Instance() {
  static ConnectionSlots slots;
  return slots;
}

ConnectionSlots::Impl& ConnectionSlots::State() {
  static Impl state;
  return state;
}

std::optional<int> ConnectionSlots::Take() {
  Impl& state = State();
  const std::lock_guard lock(state.mutex);
  for (int step = 0; step < kSlotCount; ++step) {
    const int index = (state.next + step) % kSlotCount;
    ConnectionSlot& slot = state.slots[static_cast<std::size_t>(index)];
    if (slot.taken) continue;
    slot = ConnectionSlot{};
    slot.taken = true;
    state.next = (index + 1) % kSlotCount;
    return index;
  }
  return std::nullopt;
}

void ConnectionSlots::Record(int slot, int descriptor, std::uint32_t ipv4, std::uint16_t port, std::uint32_t idCode) {
  if (slot < 0 || slot >= kSlotCount) return;
  Impl& state = State();
  const std::lock_guard lock(state.mutex);
  ConnectionSlot& entry = state.slots[static_cast<std::size_t>(slot)];
  if (!entry.taken) return;
  entry.descriptor = descriptor;
  entry.ipv4 = ipv4;
  entry.port = port;
  entry.idCode = idCode;
}

void ConnectionSlots::MarkBroken(int slot) {
  if (slot < 0 || slot >= kSlotCount) return;
  Impl& state = State();
  const std::lock_guard lock(state.mutex);
  ConnectionSlot& entry = state.slots[static_cast<std::size_t>(slot)];
  if (!entry.taken) return;
  entry.broken = true;
  entry.brokenAt = std::chrono::steady_clock::now();
}

void ConnectionSlots::Release(int slot) {
  if (slot < 0 || slot >= kSlotCount) return;
  Impl& state = State();
  const std::lock_guard lock(state.mutex);
  state.slots[static_cast<std::size_t>(slot)] = ConnectionSlot{};
}

ConnectionSlot ConnectionSlots::Get(int slot) const {
  if (slot < 0 || slot >= kSlotCount) return {};
  Impl& state = State();
  const std::lock_guard lock(state.mutex);
  return state.slots[static_cast<std::size_t>(slot)];
}

int ConnectionSlots::TakenCount() const {
  Impl& state = State();
  const std::lock_guard lock(state.mutex);
  int count = 0;
  for (const ConnectionSlot& slot : state.slots) count += slot.taken ? 1 : 0;
  return count;
}

}  // namespace vantorel

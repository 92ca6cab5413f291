#pragma once
// The process-wide millisecond clock answer deadlines are measured with: a thread started on the
// first use adds its period (5 ms) to an atomic total on every tick of the steady clock. Ticks are
// scheduled from the start time, so the total does not drift behind the steady clock; it is
// never changed by a change of the wall clock.
//
// Every call may come from several threads at once.

#include <cstdint>

namespace vantorel {

class MilliClock {
public:
  static constexpr std::int64_t kPeriodMs = 5;

  // Starts the ticking thread (only the first call does anything; Now starts it too).
  static void Start();
  // Milliseconds since the clock started, in steps of the period.
  static std::int64_t Now();
};

// A point of the millisecond clock some time ahead. A deadline that was never set never expires.
class Deadline {
public:
  Deadline() = default;
  static Deadline After(std::int64_t waitMs);

  bool IsSet() const { return m_set; }
  // Set, and the deadline minus the clock's total is below 1.
  bool Expired() const;
  // Milliseconds left (0 once expired, -1 when not set).
  std::int64_t RemainingMs() const;

private:
  bool m_set = false;
  std::int64_t m_at = 0;
};

}  // namespace vantorel

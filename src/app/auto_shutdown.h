#pragma once
// Powering the computer off at a set time of day, checked whenever the program is idle.
//
// The shutdown word holds the start time (hour*256+minute) in its high half and the shutdown time
// in its low half. A run started within the shutdown minute never shuts down, so that a computer
// switched on at that minute is not turned off at once; any other run shuts down at the first idle
// check within that minute.

#include <cstdint>
#include <functional>

namespace vantorel {

class CAutoShutdown {
public:
  using Clock = std::function<int()>;  // local time as hour*256+minute
  using PowerOff = std::function<void()>;

  CAutoShutdown(Clock clock, PowerOff powerOff);

  // (Re)arms the check; the start time becomes the current time.
  void Configure(bool enabled, int shutdownTime);
  // The idle check: powers off at most once per run.
  void OnIdle();

  std::uint32_t Word() const { return m_word; }

  // The local time of this machine as hour*256+minute.
  static int LocalHourMinute();

private:
  static constexpr std::uint32_t kChecked = 0xFFFF;

  Clock m_clock;
  PowerOff m_powerOff;
  bool m_enabled = false;
  bool m_done = false;
  std::uint32_t m_word = 0;
};

}  // namespace vantorel

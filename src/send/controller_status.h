#pragma once
// "What is the sign doing now": one line per screen, asked with one connection per screen and a
// short time-out, the screens asked in parallel (one thread each).
//
//   1 Hall: reachable, kind 0x62, version 1.2.3.4-5.6.7.8-9.10.11.12, clock +3 s, brightness 12,
//     power 07:00-22:00, free 1048576 bytes
//   2 Door: Failed to connect 192.168.1.40 : 5200
//
// A value the controller would not give reads "?"; a screen without a channel reads "no channel".
//
// AskControllerStatus may be called from several threads at once; it starts and joins its own.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "render/faces/date_time.h"
#include "send/auto_task.h"
#include "send/controller_operations.h"

namespace vantorel {

inline constexpr int kStatusTimeoutMs = 2000;

struct ControllerStatus {
  int number = 0;
  std::string name;
  ScreenOutcome outcome = ScreenOutcome::kFailed;  // kSuccessful: reachable
  std::string errorText;                           // kNotOpened: the channel's error text
  std::optional<int> kindCode;
  std::string version;                             // the version numbers
  std::optional<std::int64_t> clockDriftSeconds;   // the controller's clock ahead of this computer
  std::optional<int> brightnessNow;                // the number field of the controller's current hour
  std::optional<PowerSchedule> power;
  std::optional<std::uint64_t> freeBytes;
};

// One screen: version, clock, brightness, power schedule and free space over one connection.
// `computerNow` gives this computer's local time when the clock answer arrives.
ControllerStatus AskOneControllerStatus(const SettingsScreen& target, const std::string& name,
                                        const ChannelOptions& options, DateTime (*computerNow)() = CurrentLocalTime);

struct StatusTarget {
  SettingsScreen screen;
  std::string name;
};
// Every target at once; the lines in the targets' order. `options.timeoutMs` 0 means
// kStatusTimeoutMs.
std::vector<ControllerStatus> AskControllerStatus(const std::vector<StatusTarget>& targets, ChannelOptions options = {});

// The line of one screen, as above.
std::string ControllerStatusLine(const ControllerStatus& status);

}  // namespace vantorel

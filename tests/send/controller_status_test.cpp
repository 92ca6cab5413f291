#include "send/controller_status.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "answering_channel.h"
#include "comm/operations.h"
#include "send/clock_settings.h"
#include "support/loopback_port.h"

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;

DateTime FixedNow() { return {2026, 12, 9, 21, 40, 0}; }

TEST(ControllerStatusLine, ReachableWithWhatCouldBeReadOrTheReason) {
  ControllerStatus full;
  full.number = 1;
  full.name = "Hall";
  full.outcome = ScreenOutcome::kSuccessful;
  full.kindCode = 0x62;
  full.version = "1.2-3.4-5.6";
  full.clockDriftSeconds = 3;
  full.brightnessNow = 12;
  full.power = PowerSchedule{true, {7, 0}, {22, 30}};
  full.freeBytes = 1048576;

  ControllerStatus unknown = full;
  unknown.kindCode.reset();
  unknown.clockDriftSeconds.reset();
  unknown.brightnessNow.reset();
  unknown.power.reset();
  unknown.freeBytes.reset();

  ControllerStatus other = full;
  other.clockDriftSeconds = -3600;
  other.brightnessNow = -1;
  other.power = PowerSchedule{};

  ControllerStatus closed;
  closed.number = 2;
  closed.name = "Door";
  closed.outcome = ScreenOutcome::kNotOpened;
  closed.errorText = "Failed to connect 127.0.0.1 : 5200";

  ControllerStatus silent = closed;
  silent.outcome = ScreenOutcome::kFailed;
  ControllerStatus none = closed;
  none.outcome = ScreenOutcome::kNoChannel;

  struct Row {
    const char* name;
    ControllerStatus status;
    const char* expected;
  };
  const Row rows[] = {
      {"everything", full,
       "1 Hall: reachable, kind 0x62, version 1.2-3.4-5.6, clock +3 s, brightness 12, power 07:00-22:30, free 1048576 "
       "bytes"},
      {"nothing read", unknown, "1 Hall: reachable, kind ?, version ?, clock ?, brightness ?, power ?, free ?"},
      {"behind, automatic, no schedule", other,
       "1 Hall: reachable, kind 0x62, version 1.2-3.4-5.6, clock -3600 s, brightness auto, power times off, free "
       "1048576 bytes"},
      {"not opened", closed, "2 Door: Failed to connect 127.0.0.1 : 5200"},
      {"opened, never answered", silent, "2 Door: Failed"},
      {"no channel", none, "2 Door: no channel"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ControllerStatusLine(row.status), row.expected);
  }
}

TEST(ControllerStatus, OneConnectionAsksEverything) {
  test::ChannelLog log;
  log.answers[Code(Op::kReadVersion)] = {0, {0x62, 98, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}};
  const auto clock = ClockBlock({2026, 12, 9, 21, 40, 7});
  log.answers[Code(Op::kReadClock)] = {0, Bytes(clock.begin(), clock.end())};
  Bytes brightness(24, 31);
  brightness[21] = 9;  // the controller's hour
  log.answers[Code(Op::kReadBrightness)] = {0, brightness};
  log.answers[Code(Op::kReadPowerSchedule)] = {0, {6, 0, 23, 0}};
  Bytes space(16);
  space[2] = 0x10;  // 0x100000 free
  log.answers[Code(Op::kGetFreeSpace)] = {0, space};
  SettingsScreen target;
  target.number = 3;
  ChannelOptions options;
  options.makeChannel = test::AnsweringChannels(log);
  const ControllerStatus status = AskOneControllerStatus(target, "Gate", options, FixedNow);
  EXPECT_EQ(log.opened, 1);
  EXPECT_EQ(log.openCount, 0);
  EXPECT_EQ(ControllerStatusLine(status),
            "3 Gate: reachable, kind 0x62, version 1.2.3.4-5.6.7.8-9.10.11.12, clock +7 s, brightness 9, power "
            "06:00-23:00, free 1048576 bytes");

  test::ChannelLog silent;
  options.makeChannel = test::AnsweringChannels(silent);
  EXPECT_EQ(ControllerStatusLine(AskOneControllerStatus(target, "Gate", options, FixedNow)), "3 Gate: Failed");
}

TEST(ControllerStatus, SignsAreAskedInParallelThreadsInTheirOrder) {
  constexpr int kSigns = 6;
  constexpr int kTimeoutMs = 400;
  std::vector<StatusTarget> targets;
  for (int i = 0; i < kSigns; ++i) {
    StatusTarget target;
    target.screen.number = i + 1;
    target.screen.comm.commType = 2;
    target.screen.comm.ipAddr = 0x7F000001;
    target.screen.comm.ipPort = test::UnusedLoopbackPort();
    target.name = "Sign " + std::to_string(i + 1);
    targets.push_back(target);
  }
  ChannelOptions options;
  options.timeoutMs = kTimeoutMs;
  const auto start = std::chrono::steady_clock::now();
  const std::vector<ControllerStatus> lines = AskControllerStatus(targets, options);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kSigns));
  for (int i = 0; i < kSigns; ++i) {
    EXPECT_EQ(ControllerStatusLine(lines[i]), std::to_string(i + 1) + " Sign " + std::to_string(i + 1) + ": " +
                                                  "Failed to connect 127.0.0.1 : " +
                                                  std::to_string(targets[i].screen.comm.ipPort))
        << "line " << i;
  }
  // Asked one after another the signs would take kSigns probe waits at the least.
  EXPECT_LT(elapsed, std::chrono::milliseconds(kTimeoutMs * kSigns / 2 + 1000));
}

}  // namespace
}  // namespace vantorel

#include "send/controller_status.h"

#include <array>
#include <thread>

#include "app/text_format.h"
#include "app/text_ids.h"
#include "app/text_table.h"
#include "send/clock_settings.h"
#include "send/version_text.h"

namespace vantorel {

namespace {

constexpr std::size_t kAnswerArea = 100;
constexpr std::uint8_t kStorageSelector = 1;

}  // namespace

ControllerStatus AskOneControllerStatus(const SettingsScreen& target, const std::string& name,
                                        const ChannelOptions& options, DateTime (*computerNow)()) {
  ControllerStatus status;
  status.number = target.number;
  status.name = name;
  const ScreenResult result = WithScreenChannel(target, options, [&](CUniComm& channel) {
    std::array<std::uint8_t, kAnswerArea> answer{};
    if (channel.ReadVersion(answer)) {
      status.kindCode = answer[0];
      status.version = VersionNumbers(answer).value_or("?");
    }
    std::optional<int> controllerHour;
    answer.fill(0);
    if (channel.ReadClock(answer)) {
      const Expected<std::int64_t> drift = ClockDriftSeconds(answer, computerNow());
      if (drift) {
        status.clockDriftSeconds = *drift;
        controllerHour = answer[2];
      }
    }
    answer.fill(0);
    if (channel.ReadBrightness(answer)) {
      const auto fields = BrightnessFieldsOfAnswer(answer);
      const int hour = controllerHour.value_or(computerNow().hour);
      if (fields && hour >= 0 && hour < static_cast<int>(kBrightnessHours)) status.brightnessNow = (*fields)[hour];
    }
    answer.fill(0);
    if (channel.ReadPowerSchedule(answer)) {
      if (const Expected<PowerSchedule> power = PowerScheduleOfAnswer(answer, {})) status.power = *power;
    }
    const std::uint64_t free = channel.GetFreeSpace64(kStorageSelector);
    if (free > 0) status.freeBytes = free;
    // Reachable: it answered at least one question.
    const bool answered = status.kindCode || status.clockDriftSeconds || status.brightnessNow || status.power ||
                          status.freeBytes;
    return answered ? SuccessfulResult(target.number) : FailedResult(target.number, channel.LastFailure());
  });
  status.outcome = result.outcome;
  status.errorText = result.errorText;
  return status;
}

std::vector<ControllerStatus> AskControllerStatus(const std::vector<StatusTarget>& targets, ChannelOptions options) {
  if (options.timeoutMs <= 0) options.timeoutMs = kStatusTimeoutMs;
  std::vector<ControllerStatus> lines(targets.size());
  std::vector<std::thread> threads;
  threads.reserve(targets.size());
  for (std::size_t i = 0; i < targets.size(); ++i) {
    threads.emplace_back([&targets, &lines, &options, i] {
      lines[i] = AskOneControllerStatus(targets[i].screen, targets[i].name, options);
    });
  }
  for (std::thread& thread : threads) thread.join();
  return lines;
}

std::string ControllerStatusLine(const ControllerStatus& status) {
  std::string line = FormatText("%d %s: ", status.number, status.name.c_str());
  switch (status.outcome) {
    case ScreenOutcome::kNoChannel: return line + "no channel";
    case ScreenOutcome::kNotOpened: return line + status.errorText;
    case ScreenOutcome::kFailed: return line + LoadText(kTextFailed);
    case ScreenOutcome::kSuccessful: break;
  }
  line += "reachable";
  line += status.kindCode ? FormatText(", kind 0x%02X, version %s", *status.kindCode, status.version.c_str())
                          : std::string(", kind ?, version ?");
  line += status.clockDriftSeconds ? FormatText(", clock %+lld s", static_cast<long long>(*status.clockDriftSeconds))
                                   : std::string(", clock ?");
  if (!status.brightnessNow) {
    line += ", brightness ?";
  } else if (*status.brightnessNow == kAutomaticBrightnessField) {
    line += ", brightness auto";
  } else {
    line += FormatText(", brightness %d", *status.brightnessNow);
  }
  if (!status.power) {
    line += ", power ?";
  } else if (!status.power->enabled) {
    line += ", power times off";
  } else {
    line += ", power " + ClockTimeText(status.power->on) + "-" + ClockTimeText(status.power->off);
  }
  line += status.freeBytes ? FormatText(", free %llu bytes", static_cast<unsigned long long>(*status.freeBytes))
                           : std::string(", free ?");
  return line;
}

}  // namespace vantorel

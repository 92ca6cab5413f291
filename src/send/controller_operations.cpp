#include "send/controller_operations.h"

#include <algorithm>

#include "app/text_ids.h"
#include "app/text_table.h"
#include "comm/comm_lan.h"
#include "comm/create_comm.h"
#include "maker/controller_text.h"
#include "render/font_library.h"
#include "send/clock_settings.h"
#include "send/temperature_settings.h"
#include "send/version_text.h"

namespace vantorel {

namespace {

// The answer area of every read (what the controller sends is shorter).
constexpr std::size_t kAnswerArea = 100;
using AnswerArea = std::array<std::uint8_t, kAnswerArea>;

void ApplyTimeout(CUniComm& channel, int timeoutMs) {
  if (timeoutMs <= 0) return;
  if (auto* lan = dynamic_cast<CCommLan*>(&channel)) {
    LanTimeouts timeouts = lan->Timeouts();
    timeouts.connectMs = timeoutMs;
    timeouts.sendMs = timeoutMs;
    timeouts.receiveMs = timeoutMs;
    timeouts.probeMs = std::min(timeouts.probeMs, timeoutMs);
    lan->SetTimeouts(timeouts);
  }
}

ScreenResult Failed(const SettingsScreen& target, const CUniComm& channel) {
  return FailedResult(target.number, channel.LastFailure());
}

// "Failed" with the reason a read answer could not be shown.
ScreenResult FailedOf(const SettingsScreen& target, const Status& cause) { return FailedResult(target.number, cause); }

}  // namespace

SettingsScreen SettingsScreenOf(const CScreenData& list, int index) {
  return {index + 1, list.Screen(index), list.Comm(index)};
}

ScreenResult WithScreenChannel(const SettingsScreen& target, const ChannelOptions& options,
                               const std::function<ScreenResult(CUniComm&)>& operation) {
  tagCommParam param = ConnectionParamsFor(target.screen, target.comm);
  if (options.timeoutMs > 0) param.timeoutMs = options.timeoutMs;
  param.customPassword = options.controllerPassword;
  std::unique_ptr<CUniComm> channel = options.makeChannel ? options.makeChannel(param) : CreateComm(param);
  if (!channel) return NoChannelResult(target.number);
  ApplyTimeout(*channel, options.timeoutMs);
  if (!channel->Open()) return NotOpenedResult(target.number, channel->GetErrorText(), channel->LastFailure());
  ScreenResult result = operation(*channel);
  channel->Close();
  return result;
}

ScreenResult SetControllerClock(const SettingsScreen& target, const DateTime& moment, const ChannelOptions& options) {
  return WithScreenChannel(target, options, [&](CUniComm& channel) {
    return channel.SetClock(ClockBlock(moment)) ? SuccessfulResult(target.number) : Failed(target, channel);
  });
}

ScreenResult ReadControllerClock(const SettingsScreen& target, const ChannelOptions& options) {
  return WithScreenChannel(target, options, [&](CUniComm& channel) {
    AnswerArea clock{};
    if (!channel.ReadClock(clock)) return Failed(target, channel);
    const Expected<std::string> text = ClockText(clock);
    if (!text) return FailedOf(target, text.status());
    std::string shown = *text;
    AnswerArea version{};
    if (channel.ReadVersion(version)) {
      if (const Expected<std::string> numbers = VersionNumbers(version)) shown += "(" + *numbers + ")";
    }
    return SuccessfulResult(target.number, shown);
  });
}

ScreenResult SetTemperatureAdjustment(const SettingsScreen& target, std::uint8_t adjustment,
                                      const ChannelOptions& options) {
  return WithScreenChannel(target, options, [&](CUniComm& channel) {
    return channel.WriteTemperatureAdjust(TemperatureAdjustBlock(adjustment)) ? SuccessfulResult(target.number)
                                                                              : Failed(target, channel);
  });
}

ScreenResult ReadControllerTemperature(const SettingsScreen& target, const ChannelOptions& options) {
  return WithScreenChannel(target, options, [&](CUniComm& channel) {
    AnswerArea answer{};
    if (!channel.ReadTemperature(answer, kTemperatureSelector)) return Failed(target, channel);
    const Expected<std::string> text = TemperatureText(answer);
    if (!text) return FailedOf(target, text.status());
    return SuccessfulResult(target.number, *text);
  });
}

ScreenResult ReadControllerVersion(const SettingsScreen& target, const ChannelOptions& options) {
  return WithScreenChannel(target, options, [&](CUniComm& channel) {
    AnswerArea answer{};
    if (!channel.ReadVersion(answer)) return Failed(target, channel);
    const Expected<std::string> text = VersionText(answer);
    if (!text) return FailedOf(target, text.status());
    return SuccessfulResult(target.number, *text);
  });
}

AutoTaskReading ReadAutoTask(const SettingsScreen& target, ClockTime now, const ChannelOptions& options) {
  AutoTaskReading reading;
  reading.brightness.fill(kAutomaticBrightnessField);
  reading.result = WithScreenChannel(target, options, [&](CUniComm& channel) {
    AnswerArea schedule{};
    AnswerArea brightness{};
    AnswerArea version{};
    if (!channel.ReadPowerSchedule(schedule) || !channel.ReadBrightness(brightness) || !channel.ReadVersion(version)) {
      return Failed(target, channel);
    }
    const Expected<PowerSchedule> times = PowerScheduleOfAnswer(schedule, now);
    const Expected<std::array<int, kBrightnessHours>> levels = BrightnessFieldsOfAnswer(brightness);
    const Expected<std::string> information = VersionInformationText(version, LoadText(kTextVersionInformation));
    if (!times) return FailedOf(target, times.status());
    if (!levels) return FailedOf(target, levels.status());
    if (!information) return FailedOf(target, information.status());
    reading.schedule = *times;
    reading.brightness = *levels;
    reading.versionInformation = *information;
    return SuccessfulResult(target.number);
  });
  return reading;
}

ScreenResult WriteAutoTask(const SettingsScreen& target, const PowerSchedule& schedule,
                           const std::array<int, kBrightnessHours>& brightness, const ChannelOptions& options) {
  return WithScreenChannel(target, options, [&](CUniComm& channel) {
    const bool written = channel.WritePowerSchedule(PowerScheduleBytes(schedule)) &&
                         channel.WriteBrightness(BrightnessBytes(brightness));
    return written ? SuccessfulResult(target.number) : Failed(target, channel);
  });
}

ScreenResult WritePowerTimes(const SettingsScreen& target, const PowerSchedule& schedule,
                             const ChannelOptions& options) {
  return WithScreenChannel(target, options, [&](CUniComm& channel) {
    return channel.WritePowerSchedule(PowerScheduleBytes(schedule)) ? SuccessfulResult(target.number)
                                                                    : Failed(target, channel);
  });
}

ScreenResult WriteBrightnessLevels(const SettingsScreen& target, const std::array<int, kBrightnessHours>& brightness,
                                   const ChannelOptions& options) {
  return WithScreenChannel(target, options, [&](CUniComm& channel) {
    return channel.WriteBrightness(BrightnessBytes(brightness)) ? SuccessfulResult(target.number)
                                                                : Failed(target, channel);
  });
}

std::vector<std::uint8_t> InstantMessageTextFor(const tagScreenInfo& screen, std::string_view utf8) {
  return EncodeControllerText(utf8, FontCodePageOf(screen), utf8.size()).bytes;  // every character
}

ScreenResult SendInstantMessageTo(const SettingsScreen& target, InstantMessage message, std::string_view utf8,
                                  const ChannelOptions& options) {
  message.width = target.screen.width;
  message.height = target.screen.height;
  const Expected<std::vector<std::uint8_t>> block = InstantMessageBlock(message, InstantMessageTextFor(target.screen, utf8));
  if (!block) return FailedOf(target, block.status());
  return WithScreenChannel(target, options, [&](CUniComm& channel) {
    for (const MessagePiece& piece : MessagePieces(*block)) {
      if (!channel.SendInstantMessage(piece.bytes, piece.offset, piece.flag)) return Failed(target, channel);
    }
    return SuccessfulResult(target.number);
  });
}

FontDetection DetectControllerFonts(const SettingsScreen& target, const ChannelOptions& options) {
  FontDetection detection;
  detection.result = WithScreenChannel(target, options, [&](CUniComm& channel) {
    AnswerArea answer{};
    if (!channel.ReadRunningInfo(answer, kRunningInfoFontSelector)) return Failed(target, channel);
    const Expected<FontSettings> settings = FontSettingsOfRunningInfo(answer);
    if (!settings) return FailedOf(target, settings.status());
    detection.settings = *settings;
    return SuccessfulResult(target.number, FontSettingsText(*settings));
  });
  return detection;
}

ScreenResult RestartController(const SettingsScreen& target, const ChannelOptions& options) {
  return WithScreenChannel(target, options, [&](CUniComm& channel) {
    return channel.Restart() || channel.RestartLegacy() ? SuccessfulResult(target.number) : Failed(target, channel);
  });
}

}  // namespace vantorel

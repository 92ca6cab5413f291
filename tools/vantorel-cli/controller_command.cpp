// "controller": the settings operations on a screen's controller (clock, temperature, version,
// power times, brightness, instant message, fonts, restart), each printing what its dialog shows,
// and "controller status": one line per sign, the signs asked in parallel.

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/status_text.h"
#include "app/text_format.h"
#include "cli_command.h"
#include "machine_screens.h"
#include "playbill/screen_list_store.h"
#include "render/faces/date_time.h"
#include "send/auto_task.h"
#include "send/controller_operations.h"
#include "send/controller_status.h"
#include "send/instant_message.h"
#include "send/screen_results.h"
#include "send/temperature_settings.h"

namespace vantorel::cli {
namespace {

struct ControllerCommand {
  int screen = 1;
  CLI::Option* screenOption = nullptr;
  int timeoutMs = 0;
  std::string controllerPassword;
};

ChannelOptions Channel(const ControllerCommand& common) {
  ChannelOptions options;
  options.timeoutMs = common.timeoutMs;
  if (!common.controllerPassword.empty() && common.controllerPassword.size() != kControllerPasswordLength) {
    throw CliError("--controller-password: a controller password has exactly 8 characters");
  }
  options.controllerPassword = common.controllerPassword;
  return options;
}

CScreenData LoadList(const CliContext& context) {
  CScreenData list;
  LoadMachineScreens(context, list);
  return list;
}

SettingsScreen TargetOf(const CliContext& context, int number, std::string* name = nullptr) {
  const CScreenData list = LoadList(context);
  if (number < 1 || number > list.Count()) {
    throw CliError(FormatText("there is no screen %d (the list holds %d screen%s)", number, list.Count(),
                              list.Count() == 1 ? "" : "s"));
  }
  if (name != nullptr) *name = list.DisplayName(number - 1);
  return SettingsScreenOf(list, number - 1);
}

// Prints what the screen list shows for `result`; a screen that did not succeed ends the run
// with exit code 1 and the reason on standard error.
void Report(const ScreenResult& result) {
  if (result.outcome == ScreenOutcome::kNoChannel) {
    throw CliError(FormatText("screen %d: its communication type has no channel", result.screen));
  }
  std::cout << ResultText(result) << '\n';
  if (result.ok()) return;
  throw CliError(result.cause.ok() ? ResultText(result) : StatusMessage(result.cause));
}

template <typename T>
T Required(const Expected<T>& value) {
  if (!value) throw CliError(StatusMessage(value.status()));
  return *value;
}

ClockTime ClockTimeOf(const std::string& text) {
  const std::optional<ClockTime> time = ParseClockTime(text);
  if (!time) throw CliError("'" + text + "' is not a time of the form hh:mm");
  return *time;
}

ClockTime NowClockTime() {
  const DateTime now = CurrentLocalTime();
  return {now.hour, now.minute};
}

void PrintPower(const PowerSchedule& schedule) {
  std::cout << "Power on / Power off: " << (schedule.enabled ? "enabled" : "not enabled") << ", on "
            << ClockTimeText(schedule.on) << ", off " << ClockTimeText(schedule.off) << '\n';
}

void SetUpClock(CLI::App& controller, const CliContext& context, const std::shared_ptr<ControllerCommand>& common) {
  CLI::App* clock = controller.add_subcommand("clock", "Read or set the controller's clock");
  clock->require_subcommand(1);
  clock->add_subcommand("read", "The controller's clock and version")->callback([&context, common] {
    Report(ReadControllerClock(TargetOf(context, common->screen), Channel(*common)));
  });
  auto time = std::make_shared<std::string>();
  CLI::App* set = clock->add_subcommand("set", "Set the controller's clock (default: this computer's time)");
  set->add_option("--time", *time, "The time to set, \"YYYY-MM-DD hh:mm:ss\"");
  set->callback([&context, common, time] {
    DateTime moment = CurrentLocalTime();
    if (!time->empty()) {
      const std::optional<DateTime> given = ParseDateTime(*time);
      if (!given) throw CliError("--time: '" + *time + "' is not a moment of the form \"YYYY-MM-DD hh:mm:ss\"");
      moment = *given;
    }
    Report(SetControllerClock(TargetOf(context, common->screen), moment, Channel(*common)));
  });
}

void SetUpTemperature(CLI::App& controller, const CliContext& context, const std::shared_ptr<ControllerCommand>& common) {
  CLI::App* temperature = controller.add_subcommand("temperature", "Read the temperature or set its adjustment");
  temperature->require_subcommand(1);
  temperature->add_subcommand("read", "The temperature the controller's sensor reads (nothing without a sensor)")
      ->callback([&context, common] { Report(ReadControllerTemperature(TargetOf(context, common->screen), Channel(*common))); });
  auto value = std::make_shared<std::string>();
  CLI::App* adjust = temperature->add_subcommand("adjust", "Set the adjustment of the sensor's reading");
  adjust->add_option("V", *value, "Degrees -63 to 63, optionally followed by C or F (\"-3\", \"2F\")")->required();
  adjust->callback([&context, common, value] {
    const std::uint8_t adjustment = Required(ParseTemperatureAdjust(*value));
    Report(SetTemperatureAdjustment(TargetOf(context, common->screen), adjustment, Channel(*common)));
  });
}

void SetUpPower(CLI::App& controller, const CliContext& context, const std::shared_ptr<ControllerCommand>& common) {
  CLI::App* power = controller.add_subcommand("power", "Read or set the automatic power on and off times");
  power->require_subcommand(1);
  power->add_subcommand("read", "The power on and off times")->callback([&context, common] {
    const AutoTaskReading reading = ReadAutoTask(TargetOf(context, common->screen), NowClockTime(), Channel(*common));
    if (reading.result.ok()) PrintPower(reading.schedule);
    Report(reading.result);
  });
  struct SetOptions {
    std::string on;
    std::string off;
    bool disable = false;
  };
  auto options = std::make_shared<SetOptions>();
  CLI::App* set = power->add_subcommand("set", "Set the power on and off times (or --disable them)");
  set->add_option("ON", options->on, "Power on time, hh:mm");
  set->add_option("OFF", options->off, "Power off time, hh:mm");
  set->add_flag("--disable", options->disable, "No automatic power on and off");
  set->callback([&context, common, options] {
    PowerSchedule schedule;
    if (!options->disable) {
      if (options->on.empty() || options->off.empty()) throw CliError("power set: give ON and OFF times, or --disable");
      schedule = {true, ClockTimeOf(options->on), ClockTimeOf(options->off)};
    }
    Report(WritePowerTimes(TargetOf(context, common->screen), schedule, Channel(*common)));
  });
}

void SetUpBrightness(CLI::App& controller, const CliContext& context, const std::shared_ptr<ControllerCommand>& common) {
  CLI::App* brightness = controller.add_subcommand("brightness", "Read or set the brightness of each hour");
  brightness->require_subcommand(1);
  brightness->add_subcommand("read", "The brightness of each hour (0-31, auto: light sensor)")->callback([&context, common] {
    const AutoTaskReading reading = ReadAutoTask(TargetOf(context, common->screen), NowClockTime(), Channel(*common));
    if (reading.result.ok()) std::cout << BrightnessText(reading.brightness) << '\n';
    Report(reading.result);
  });
  auto values = std::make_shared<std::vector<std::string>>();
  CLI::App* set = brightness->add_subcommand("set", "Set the brightness: one value for all hours, six for 0-4 ... 20-24, or 24");
  set->add_option("V", *values, "0-31, or auto (-1) for the light sensor")->required();
  set->callback([&context, common, values] {
    const auto fields = Required(BrightnessFieldsOf(*values));
    Report(WriteBrightnessLevels(TargetOf(context, common->screen), fields, Channel(*common)));
  });
}

void SetUpMessage(CLI::App& controller, const CliContext& context, const std::shared_ptr<ControllerCommand>& common) {
  struct MessageOptions {
    std::string text;
    int loops = 1;
    int size = 16;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int speed = 50;
    int stay = 3;
    std::string colour = "red";
  };
  auto options = std::make_shared<MessageOptions>();
  CLI::App* message = controller.add_subcommand("message", "Send an instant message to the screen");
  message->add_option("TEXT", options->text, "The message")->required();
  message->add_option("--loops", options->loops, "Times it is shown (default 1)")->check(CLI::Range(0, 255));
  message->add_option("--size", options->size, "Font height in dots: 8, 12, 16, 24, 32, 40, 48, 56 (default 16)");
  message->add_flag("--bold", options->bold, "Bold");
  message->add_flag("--italic", options->italic, "Italic");
  message->add_flag("--underline", options->underline, "Underlined");
  message->add_option("--speed", options->speed, "Speed 1-100 (default 50)")->check(CLI::Range(1, 100));
  message->add_option("--stay", options->stay, "Seconds it stays (default 3)")->check(CLI::Range(0, 255));
  message->add_option("--colour,--color", options->colour,
                      "red, green, yellow, blue, cyan, magenta, white or #RRGGBB (default red)");
  message->callback([&context, common, options] {
    InstantMessage block;
    const std::optional<int> size = MessageSizeCodeOf(options->size);
    if (!size) throw CliError(FormatText("--size %d: 8, 12, 16, 24, 32, 40, 48 or 56", options->size));
    const std::optional<std::uint16_t> colour = MessageColourOf(options->colour);
    if (!colour) throw CliError("--colour: '" + options->colour + "' is not a colour name or #RRGGBB");
    block.loops = static_cast<std::uint8_t>(options->loops);
    block.sizeCode = *size;
    block.bold = options->bold;
    block.italic = options->italic;
    block.underline = options->underline;
    block.colour = *colour;
    block.speed = options->speed;
    block.stay = static_cast<std::uint8_t>(options->stay);
    const ScreenResult result = SendInstantMessageTo(TargetOf(context, common->screen), block, options->text, Channel(*common));
    std::cout << InstantMessageSummary({result}) << '\n';
    Report(result);
  });
}

void SetUpStatus(CLI::App& controller, const CliContext& context, const std::shared_ptr<ControllerCommand>& common) {
  auto all = std::make_shared<bool>(false);
  CLI::App* status = controller.add_subcommand(
      "status", "One line per sign: reachable or why not, kind and version, clock drift, brightness now, power "
                "times, free space (every screen unless --screen is given)");
  status->add_flag("--all", *all, "Every screen of the list (the default without --screen)");
  status->callback([&context, common, all] {
    const CScreenData list = LoadList(context);
    std::vector<StatusTarget> targets;
    const bool one = !*all && common->screenOption->count() > 0;
    for (int index = 0; index < list.Count(); ++index) {
      if (one && index + 1 != common->screen) continue;
      targets.push_back({SettingsScreenOf(list, index), list.DisplayName(index)});
    }
    if (targets.empty()) static_cast<void>(TargetOf(context, common->screen));  // names the missing screen
    ChannelOptions channel = Channel(*common);
    if (channel.timeoutMs == 0) channel.timeoutMs = kStatusTimeoutMs;
    bool allReachable = true;
    for (const ControllerStatus& line : AskControllerStatus(targets, channel)) {
      std::cout << ControllerStatusLine(line) << '\n';
      allReachable = allReachable && line.outcome == ScreenOutcome::kSuccessful;
    }
    if (!allReachable) throw CliError("", 2);
  });
}

// "fonts detect [--store]": what the controller reports; --store keeps it in the screen's
// definition, as OK of the editor's "Font setting" does.
void SetUpFonts(CLI::App& group, const CliContext& context, const std::shared_ptr<ControllerCommand>& common) {
  CLI::App* fonts = group.add_subcommand("fonts", "The controller's font settings");
  fonts->require_subcommand(1);
  CLI::App* detect = fonts->add_subcommand("detect", "Character set and font sizes the controller reports");
  auto store = std::make_shared<bool>(false);
  detect->add_flag("--store", *store, "Keep them in the screen's definition (the screen list)");
  detect->callback([&context, common, store] {
    const FontDetection detection = DetectControllerFonts(TargetOf(context, common->screen), Channel(*common));
    Report(detection.result);
    if (!*store) return;
    CScreenData stored = LoadList(context);
    CScreenData edited = stored;
    ApplyFontSettings(detection.settings, edited.Screen(common->screen - 1));
    Status kept;
    if (const Status saved = StoreScreenList(stored, edited, {}, context.folders.WorkFolder(),
                                             context.folders.ScreenFile(), &kept);
        !saved) {
      throw CliError(StatusMessage(saved));
    }
    PrintNotice(kept);
    std::cout << "stored in screen " << common->screen << '\n';
  });
}

void SetUpController(CLI::App& group, CliContext& context) {
  auto common = std::make_shared<ControllerCommand>();
  group.fallthrough();
  group.require_subcommand(1);
  common->screenOption =
      group.add_option("--screen", common->screen, "Screen number, 1-based (default: 1)")->check(CLI::PositiveNumber);
  group.add_option("--timeout", common->timeoutMs,
                   "Milliseconds to wait for the controller (default: the screen's own; the network waits 45 s)")
      ->check(CLI::Range(100, 600000));
  group.add_option("--controller-password", common->controllerPassword,
                   "The controller's custom password (8 characters), for a controller protected with key text and "
                   "password");

  group.add_subcommand("version", "The controller's firmware version")->callback([&context, common] {
    Report(ReadControllerVersion(TargetOf(context, common->screen), Channel(*common)));
  });
  SetUpClock(group, context, common);
  SetUpTemperature(group, context, common);
  SetUpPower(group, context, common);
  SetUpBrightness(group, context, common);
  SetUpMessage(group, context, common);
  SetUpFonts(group, context, common);
  group.add_subcommand("restart", "Restart the controller")->callback([&context, common] {
    Report(RestartController(TargetOf(context, common->screen), Channel(*common)));
  });
  SetUpStatus(group, context, common);
}

const CliCommandGroup kGroup(60, "controller", "Talk to a screen's controller: clock, temperature, version, power "
                                               "times, brightness, instant messages, fonts, status",
                             SetUpController);

}  // namespace
}  // namespace vantorel::cli

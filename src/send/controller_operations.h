#pragma once
// The controller settings operations, one function per action of the settings dialogs, callable
// from the command line and the editor alike. Each one, per screen: the connection parameters of
// the screen, CreateComm, Open, the operation(s), Close, the channel deleted. A screen whose
// communication type has no channel gives kNoChannel (nothing shown); a failed Open gives the
// channel's error text; a failed operation (no answer, a refused answer, an answer shorter than
// what is read) gives "Failed"; success gives "Successful" and what was read.
//
// The functions block while they talk (up to the channel's time-outs): call them off the
// user-interface thread. Calls for different screens may run on several threads at once; a
// serial port is used by one call at a time (the second Open of a busy port fails).

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "comm/connection_params.h"
#include "comm/uni_comm.h"
#include "render/faces/date_time.h"
#include "screen/screen_data.h"
#include "send/auto_task.h"
#include "send/font_detect.h"
#include "send/instant_message.h"
#include "send/screen_results.h"

namespace vantorel {

// One screen of the list: its place (1-based), its definition and its connection settings.
struct SettingsScreen {
  int number = 1;
  tagScreenInfo screen;
  tagCommInfo comm;
};

// Screen `index` (0-based) of `list`.
SettingsScreen SettingsScreenOf(const CScreenData& list, int index);

// How the channel is made and how long it waits.
struct ChannelOptions {
  // The answer time-out in ms (0: the screen's own). On the network it is also the connect,
  // send and receive time-out and the probe's wait.
  int timeoutMs = 0;
  // CreateComm unless a caller gives another maker.
  std::function<std::unique_ptr<CUniComm>(tagCommParam&)> makeChannel;
  // The controller's custom password, for a network controller protected with key text and
  // password (mode 32770); the screen definition holds none.
  std::string controllerPassword{};
};

// The pattern every operation follows: `operation` runs between Open and Close of the screen's
// channel and says what the screen shows.
ScreenResult WithScreenChannel(const SettingsScreen& target, const ChannelOptions& options,
                               const std::function<ScreenResult(CUniComm&)>& operation);

// ---- "Time & Temperature" ----
ScreenResult SetControllerClock(const SettingsScreen& target, const DateTime& moment, const ChannelOptions& options = {});
// Shows "YYYY-MM-DD hh:mm:ss (1.2-3.4-5.6)": the clock, then the version numbers in parentheses
// (left out when the version is not read).
ScreenResult ReadControllerClock(const SettingsScreen& target, const ChannelOptions& options = {});
// `adjustment`: the byte of TemperatureAdjustValue.
ScreenResult SetTemperatureAdjustment(const SettingsScreen& target, std::uint8_t adjustment,
                                      const ChannelOptions& options = {});
// Shows the temperature text (nothing without a sensor).
ScreenResult ReadControllerTemperature(const SettingsScreen& target, const ChannelOptions& options = {});
// Shows the version text (two line breaks and the numbers).
ScreenResult ReadControllerVersion(const SettingsScreen& target, const ChannelOptions& options = {});

// ---- "Auto task manager" ----
struct AutoTaskReading {
  ScreenResult result;
  PowerSchedule schedule;
  std::array<int, kBrightnessHours> brightness{};  // number fields, -1 automatic
  std::string versionInformation;                  // the "Version information" message
};
// Power schedule, brightness and version; all three must be read. `now` is shown for a schedule
// without real times.
AutoTaskReading ReadAutoTask(const SettingsScreen& target, ClockTime now, const ChannelOptions& options = {});
// The power schedule and, only when that was written, the brightness; successful when both were.
ScreenResult WriteAutoTask(const SettingsScreen& target, const PowerSchedule& schedule,
                           const std::array<int, kBrightnessHours>& brightness, const ChannelOptions& options = {});
// Each half alone (the command line sets one without the other).
ScreenResult WritePowerTimes(const SettingsScreen& target, const PowerSchedule& schedule,
                             const ChannelOptions& options = {});
ScreenResult WriteBrightnessLevels(const SettingsScreen& target, const std::array<int, kBrightnessHours>& brightness,
                                   const ChannelOptions& options = {});

// ---- "Send instant message" ----
// The whole text in the code page of the screen's fonts (the block takes at most 6,122 bytes).
std::vector<std::uint8_t> InstantMessageTextFor(const tagScreenInfo& screen, std::string_view utf8);
// `message` with the screen's width and height; the block in pieces, stopping at the first piece
// that fails. A text too long for the block fails without talking to the screen.
ScreenResult SendInstantMessageTo(const SettingsScreen& target, InstantMessage message, std::string_view utf8,
                                  const ChannelOptions& options = {});

// ---- "Font setting" ----
struct FontDetection {
  ScreenResult result;
  FontSettings settings;
};
FontDetection DetectControllerFonts(const SettingsScreen& target, const ChannelOptions& options = {});

// ---- Controller control ----
// Restart, and the older restart request when the controller refuses that.
ScreenResult RestartController(const SettingsScreen& target, const ChannelOptions& options = {});

}  // namespace vantorel

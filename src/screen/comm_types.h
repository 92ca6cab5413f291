#pragma once
// How a sign is reached: the communication types in the order of the type chooser, the text of
// a screen's communication parameters in the screen manager's list, and dotted-quad addresses.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/serial_ports.h"
#include "screen/screen_data.h"

namespace vantorel {

inline constexpr std::uint8_t kCommSerial = 0;     // RS232/RS485
inline constexpr std::uint8_t kCommGprsDtu = 1;    // external GPRS DTU
inline constexpr std::uint8_t kCommNetwork = 2;    // direct network connection
inline constexpr std::uint8_t kCommServerNet = 3;  // relay server, controller on the network
inline constexpr std::uint8_t kCommServerGprs = 4; // relay server, GPRS on the controller board
inline constexpr std::uint8_t kMaxCommType = 4;

struct CommType {
  std::uint8_t value;     // COMM value stored in the screen list
  const char* listText;   // "COMM Type" column of the screen manager
  int chooserTextId;      // text of the type chooser
};

// The five types in chooser order.
std::span<const CommType> CommTypes();
const CommType* FindCommType(std::uint8_t value);
// The "COMM Type" column text; empty for a value that is not a type.
std::string CommTypeListText(std::uint8_t value);
// Sub-mode a screen starts in when `commType` is chosen: class-7 controllers on the network are
// named by the device finder, everything else is addressed by IP address.
std::uint8_t InitialSubMode(std::uint8_t commType, std::uint16_t controllerClass);
// The "COMM Parameter" column text of a screen (serial line, DTU ID, address or server).
std::string CommParameterText(const tagCommInfo& comm);

// Serial line choices of the screen editor (ports: app/serial_ports.h).
inline constexpr std::int32_t kBaudRates[] = {115200, 57600, 38400, 19200, 9600, 4800, 2400};
inline constexpr std::int32_t kMaxBaudRate = 115200;

// "a.b.c.d", most significant byte first.
std::string FormatDottedQuad(std::uint32_t address);
// Strict reading of "a.b.c.d" (four numbers 0..255), for user input.
std::optional<std::uint32_t> ParseDottedQuad(std::string_view text);

}  // namespace vantorel

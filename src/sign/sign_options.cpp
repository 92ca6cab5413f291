#include "sign/sign_options.h"

#include <charconv>
#include <cstdlib>
#include <functional>
#include <map>

#include "app/text_ids.h"
#include "comm/operations.h"
#include "comm/packet.h"
#include "platform/sign_io.h"
#include "platform/udp_socket.h"
#include "screen/controller_types.h"

namespace vantorel {
namespace {

Status BadValue(const std::string& option, const std::string& value) {
  return Status::Failure(kTextSignBadValue, option + " " + value);
}

// Decimal, or hexadecimal after "0x".
std::optional<std::uint64_t> ReadNumber(const std::string& text) {
  std::string_view digits = text;
  int base = 10;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    digits.remove_prefix(2);
    base = 16;
  }
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) return std::nullopt;
  return value;
}

std::optional<double> ReadProbability(const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || !(value >= 0 && value <= 1)) return std::nullopt;
  return value;
}

// Numbers 0-15 separated by `dot` inside parts separated by `dash`.
std::optional<std::vector<int>> ReadNibbles(const std::string& text) {
  std::vector<int> numbers;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of(".-", start);
    if (end == std::string::npos) end = text.size();
    const auto value = ReadNumber(text.substr(start, end - start));
    if (!value || *value > 15) return std::nullopt;
    numbers.push_back(static_cast<int>(*value));
    start = end + 1;
  }
  return numbers;
}

std::optional<FirmwareVersions> ReadFirmware(const std::string& text) {
  const auto numbers = ReadNibbles(text);
  if (!numbers) return std::nullopt;
  FirmwareVersions firmware;
  if (numbers->size() == 12) {
    firmware.format = 98;
    for (std::size_t i = 0; i < 6; ++i) {
      firmware.bytes[i] = static_cast<std::uint8_t>((*numbers)[2 * i] << 4 | (*numbers)[2 * i + 1]);
    }
  } else if (numbers->size() == 6) {
    firmware.format = 0;
    for (std::size_t i = 0; i < 6; ++i) firmware.bytes[i] = static_cast<std::uint8_t>((*numbers)[i]);
  } else {
    return std::nullopt;
  }
  return firmware;
}

std::optional<TcpAddress> ReadTcpAddress(const std::string& text) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos) return std::nullopt;
  TcpAddress address;
  const auto port = ReadNumber(text.substr(colon + 1));
  if (!port || *port > 0xFFFF || !ParseIpv4(text.substr(0, colon), address.ipv4)) return std::nullopt;
  address.port = static_cast<std::uint16_t>(*port);
  return address;
}

// 32-bit ID code: a.b.c.d (the screen editor's form) or a number.
std::optional<std::uint32_t> ReadIdCode(const std::string& text) {
  std::uint32_t dotted = 0;
  if (text.find('.') != std::string::npos) return ParseIpv4(text, dotted) ? std::optional(dotted) : std::nullopt;
  const auto value = ReadNumber(text);
  if (!value || *value > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<std::uint32_t>(*value);
}

std::optional<std::uint64_t> ReadBounded(const std::string& text, std::uint64_t low, std::uint64_t high) {
  const auto value = ReadNumber(text);
  if (!value || *value < low || *value > high) return std::nullopt;
  return value;
}

using Setter = std::function<bool(const std::string&)>;

template <typename T>
void Assign(T& field, std::uint64_t value) { field = static_cast<T>(value); }
template <typename T>
void Assign(std::optional<T>& field, std::uint64_t value) { field = static_cast<T>(value); }

// A setter of a number option into `field` (a number or an optional one), refusing values
// outside low-high.
template <typename Field>
Setter Into(Field& field, std::uint64_t low, std::uint64_t high) {
  return [&field, low, high](const std::string& text) {
    const auto value = ReadBounded(text, low, high);
    if (value) Assign(field, *value);
    return value.has_value();
  };
}

Setter IntoProbability(double& field) {
  return [&field](const std::string& text) {
    const auto value = ReadProbability(text);
    if (value) field = *value;
    return value.has_value();
  };
}

}  // namespace

Expected<SignOptions> ParseSignOptions(const std::vector<std::string>& arguments) {
  SignOptions options;
  options.model = kModelM5;
  bool kindGiven = false;
  const std::map<std::string, Setter> takesValue = {
      {"--tcp", [&](const std::string& v) {
         const auto address = ReadTcpAddress(v);
         if (!address || !IsUnicastIpv4(address->ipv4)) return false;
         options.tcp.push_back(*address);
         return true;
       }},
      {"--store", [&](const std::string& v) { return !(options.store = v).empty(); }},
      {"--log", [&](const std::string& v) { return !(options.logFile = v).empty(); }},
      {"--model", [&](const std::string& v) {
         if (const auto model = FindModelByName(v)) {
           options.model = *model;
         } else if (const auto code = ReadBounded(v, 1, 0xFFFF)) {
           options.model = static_cast<std::uint16_t>(*code);
         } else {
           return false;
         }
         return true;
       }},
      {"--id", Into(options.screenId, 1, 254)},
      {"--id-code", [&](const std::string& v) {
         const auto code = ReadIdCode(v);
         if (code) options.idCode = *code;
         return code.has_value();
       }},
      {"--kind", [&](const std::string& v) {
         const auto kind = ReadBounded(v, 0, 0xFF);
         if (kind) options.kindCode = static_cast<std::uint8_t>(*kind), kindGiven = true;
         return kind.has_value();
       }},
      {"--version", [&](const std::string& v) {
         const std::size_t dot = v.find('.');
         if (dot == std::string::npos) return false;
         const auto major = ReadBounded(v.substr(0, dot), 0, 255);
         const auto minor = ReadBounded(v.substr(dot + 1), 0, 255);
         if (!major || !minor) return false;
         options.versionWord1 = static_cast<std::uint16_t>(*major << 8 | *minor);
         return true;
       }},
      {"--version2", Into(options.versionWord2, 0, 0xFFFF)},
      {"--firmware", [&](const std::string& v) {
         const auto firmware = ReadFirmware(v);
         if (firmware) options.firmware = *firmware;
         return firmware.has_value();
       }},
      {"--protect-options", Into(options.protectOptions, 0, 0xFFFF)},
      {"--protect-mode", [&](const std::string& v) {
         const auto value = ReadNumber(v);
         if (!value || *value > 0xFFFF || !ProtectionLevelOfMode(static_cast<int>(*value))) return false;
         options.protectMode = static_cast<int>(*value);
         return true;
       }},
      {"--key", [&](const std::string& v) {
         options.keyText = v;
         return v.find_first_of("\t\r\n") == std::string::npos;
       }},
      {"--password", [&](const std::string& v) {
         options.password = v;
         return v.size() == kControllerPasswordLength;
       }},
      {"--name", [&](const std::string& v) {
         options.name = v;
         return !v.empty() && v.find_first_of("\t\r\n") == std::string::npos;
       }},
      {"--size", [&](const std::string& v) {
         const std::size_t x = v.find('x');
         if (x == std::string::npos) return false;
         const auto width = ReadBounded(v.substr(0, x), 1, 65535);
         const auto height = ReadBounded(v.substr(x + 1), 1, 65535);
         if (!width || !height) return false;
         options.width = static_cast<int>(*width);
         options.height = static_cast<int>(*height);
         return true;
       }},
      {"--capacity", Into(options.capacity, 0, 1ull << 48)},
      {"--temperature", [&](const std::string& v) {
         if (v == "none") {
           options.temperatureTenths.reset();
           return true;
         }
         char* end = nullptr;
         const double celsius = std::strtod(v.c_str(), &end);
         if (v.empty() || end != v.c_str() + v.size() || !(celsius > -100 && celsius < 200)) return false;
         options.temperatureTenths = static_cast<int>(celsius * 10 + (celsius < 0 ? -0.5 : 0.5));
         return true;
       }},
      {"--charset", Into(options.charset, 0, 255)},
      {"--ascii-sizes", Into(options.asciiSizes, 0, 0xFFFF)},
      {"--ext-sizes", Into(options.extSizes, 0, 0xFFFF)},
      {"--drop", IntoProbability(options.faults.drop)},
      {"--corrupt", IntoProbability(options.faults.corrupt)},
      {"--delay", Into(options.faults.delayMs, 0, 600000)},
      {"--disconnect-after", Into(options.faults.disconnectAfter, 1, ~0ull)},
      {"--seed", Into(options.faults.seed, 0, ~0ull)},
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--serial") {
      options.serial = true;
      continue;
    }
    if (option == "--help" || option == "-h") {
      options.help = true;
      continue;
    }
    const auto setter = takesValue.find(option);
    if (setter == takesValue.end()) return Status::Failure(kTextSignUnknownOption, option);
    if (i + 1 >= arguments.size()) return BadValue(option, "(missing)");
    const std::string& value = arguments[++i];
    if (!setter->second(value)) {
      if (option == "--tcp") return Status::Failure(kTextSignAddressRefused, value);
      return BadValue(option, value);
    }
  }
  options.controllerClass = static_cast<std::uint8_t>(ControllerClassOf(options.model));
  if (!kindGiven) options.kindCode = options.controllerClass == kControllerClass7 ? 0x72 : 0x62;
  if (!options.help && options.tcp.empty() && !options.serial) return Status::Failure(kTextSignNoChannel);
  return options;
}

std::string SignUsage() {
  return "Usage: vantorel-sign [--tcp ADDRESS:PORT]... [--serial] [options]\n"
         "  --tcp A.B.C.D:PORT   listen on this address (port 0: a free one); the UDP probe on the same port\n"
         "  --serial             open a pseudo-terminal and answer on it (prints \"serial: PATH\")\n"
         "  --store DIR          the sign's state and files\n"
         "  --log FILE           one line per request (default: standard error)\n"
         "  --model NAME|CODE  --id N  --id-code A.B.C.D|N  --name NAME  --size WxH\n"
         "  --kind 0xNN  --version A.B  --version2 0xNNNN  --firmware a.b.c.d-e.f.g.h-i.j.k.l|a.b-c.d-e.f\n"
         "  --protect-options N  --protect-mode 1|2|32770  --key TEXT  --password 8CHARS\n"
         "  --capacity BYTES  --temperature C|none  --charset N  --ascii-sizes N  --ext-sizes N\n"
         "  --drop P  --corrupt P  --delay MS  --disconnect-after BYTES  --seed N\n";
}

Expected<std::filesystem::path> DefaultStoreFolder(const SignOptions& options) {
  std::filesystem::path base;
  if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state != '\0') {
    base = state;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    base = std::filesystem::path(home) / ".local" / "state";
  } else {
    return Status::Failure(kTextSignNoStoreFolder);
  }
  const std::string channel = options.tcp.empty() ? "serial-" + std::to_string(options.screenId)
                                                  : "tcp-" + std::to_string(options.tcp.front().port);
  return base / "vantorel-sign" / channel;
}

}  // namespace vantorel

#pragma once
// The command line of the virtual sign (vantorel-sign) read into one value: where it listens,
// who it is (model, screen ID, network ID code, controller kind and versions, protection), where
// it keeps its state, and the faults it injects for tests. docs/virtual-sign.md lists every
// option. Plain data; nothing here is shared between threads.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/status.h"

namespace vantorel {

struct TcpAddress {
  std::uint32_t ipv4 = 0;   // host order; never 0.0.0.0
  std::uint16_t port = 0;   // 0: a free port, printed at start
};

// The six version bytes of ReadVersion: byte 1 of the answer is 98 when they hold four numbers
// per part in nibbles ("1.2.3.4-2.1.0.3-4.5.0.6"), else 0 and one number per byte ("1.2-3.4-5.6").
struct FirmwareVersions {
  std::uint8_t format = 98;
  std::uint8_t bytes[6] = {0x12, 0x00, 0x10, 0x00, 0x15, 0x00};
};

struct SignFaultOptions {
  double drop = 0;              // probability of ignoring a request
  double corrupt = 0;           // probability of flipping one byte of an answer
  int delayMs = 0;              // before every answer
  std::uint64_t disconnectAfter = 0;  // TCP: close a connection after this many answer bytes (0: never)
  std::uint64_t seed = 1;
};

struct SignOptions {
  std::vector<TcpAddress> tcp;
  bool serial = false;
  std::filesystem::path store;      // empty: DefaultStoreFolder
  std::filesystem::path logFile;    // empty: standard error
  std::uint16_t model = 0;          // the model code
  std::uint8_t screenId = 1;
  std::uint32_t idCode = 0xFFFFFFFF;
  std::uint8_t kindCode = 0x62;
  std::uint8_t controllerClass = 6;
  std::uint16_t versionWord1 = 0x0102;
  std::uint16_t versionWord2 = 0x0045;
  FirmwareVersions firmware;
  std::uint16_t protectOptions = 0;
  std::optional<int> protectMode;   // given: replaces the stored mode at start
  std::string keyText = "vantorel";
  std::string password = "12345678";  // the custom password of mode 32770
  std::string name = "vantorel-sign";
  int width = 128;
  int height = 64;
  std::uint64_t capacity = 64ull << 20;   // bytes of the simulated storage
  std::optional<int> temperatureTenths = 255;  // Celsius × 10 of the sensor; nothing: no sensor
  std::optional<std::uint8_t> charset;
  std::optional<std::uint16_t> asciiSizes;
  std::optional<std::uint16_t> extSizes;
  SignFaultOptions faults;
  bool help = false;
};

// Reads the arguments after the program name. A failure names the option.
Expected<SignOptions> ParseSignOptions(const std::vector<std::string>& arguments);

// The usage text of --help.
std::string SignUsage();

// Where the sign keeps its state without --store: $XDG_STATE_HOME/vantorel-sign/<channel>
// ($HOME/.local/state when the variable is not set), <channel> "tcp-PORT" for the first TCP
// address or "serial-ID".
Expected<std::filesystem::path> DefaultStoreFolder(const SignOptions& options);

}  // namespace vantorel

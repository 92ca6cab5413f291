#pragma once
// One serial line device (a port, a USB adapter or a pseudo-terminal) opened in raw byte mode
// over POSIX termios: no parity check, no hardware or software flow control, DTR and RTS on,
// every queue flushed when it opens. Opened exclusively (TIOCEXCL): a second open of the same
// device fails while this one holds it.
//
// Reads wait with poll() for the first byte and give what is there (VMIN = VTIME = 0); writes
// wait at most their time-out and report a short write as a failure.
//
// A port belongs to one thread at a time.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace vantorel {

enum class SerialParity : std::uint8_t { kNone, kOdd, kEven, kMark, kSpace };
enum class SerialStopBits : std::uint8_t { kOne, kOneAndHalf, kTwo };

struct SerialSettings {
  std::int32_t baud = 9600;
  int dataBits = 8;                           // 5-8
  SerialParity parity = SerialParity::kNone;
  SerialStopBits stopBits = SerialStopBits::kOne;

  friend bool operator==(const SerialSettings&, const SerialSettings&) = default;
};

// Reads a settings text "115200,8,N,1": baud rate, data bits, parity letter (N, O, E, M or S,
// either case) and stop bits ("1", "1.5" or "2"), separated by blanks, commas, tabs or line ends
// (runs of them count as one). Fields left out keep their defaults (8, N, 1); the baud rate is
// required. Nothing for a text that breaks these rules.
std::optional<SerialSettings> ParseSerialSettings(std::string_view text);

// Whether the termios interface knows `baud` (50 ... 4,000,000 in the usual steps).
bool IsSupportedBaudRate(std::int32_t baud);

class SerialPort {
public:
  // Opens `devicePath` for reading and writing and configures it. Fails with the system's reason
  // and the path (EBUSY when another program holds it exclusively). Parity mark and space and
  // 1.5 stop bits need driver support that termios does not name; they fail with EINVAL.
  static Expected<SerialPort> Open(const std::string& devicePath, const SerialSettings& settings);

  SerialPort(SerialPort&& other) noexcept;
  SerialPort& operator=(SerialPort&& other) noexcept;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;
  ~SerialPort();

  // Writes every byte within `timeoutMs`; a write that stops short (time-out, hang-up, error) is
  // a failure that says how many bytes went out.
  Status Write(std::span<const std::uint8_t> bytes, int timeoutMs);
  // Waits at most `timeoutMs` for the first byte, then takes what is there (at most
  // buffer.size()). 0: nothing came in time. A failure: the device reported an error or hang-up.
  Expected<std::size_t> Read(std::span<std::uint8_t> buffer, int timeoutMs);
  // Drops everything in the input and output queues.
  void Flush();
  const std::string& Path() const { return m_path; }

private:
  SerialPort(int descriptor, std::string path) : m_descriptor(descriptor), m_path(std::move(path)) {}
  void CloseDescriptor();

  int m_descriptor = -1;
  std::string m_path;
};

}  // namespace vantorel

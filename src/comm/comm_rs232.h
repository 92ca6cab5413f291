#pragma once
// The serial line channel: a controller on a serial port (RS232/RS485), a USB adapter or, for
// tests and the virtual sign, a pseudo-terminal. Port index N ("COM<N+1>") opens the device the
// port table names (serial_port_table.h). Packets travel in serial frames (serial_frame.h).
//
// Open configures the port "<baud>,8,N,1" with read and write time-outs of SerialTimeoutMs;
// Send writes every byte (a short write is a failure); Receive decodes one frame from reads of up
// to 2,048 bytes and stops at the buffer's capacity, at a frame error and at the serial time-out
// counted over the whole answer (a stream that never ends a frame fails instead of running on).
//
// A channel is used by one thread at a time.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "comm/answer_readers.h"
#include "comm/uni_comm.h"
#include "platform/serial_port.h"

namespace vantorel {

// The larger of the answer time-out and 2,000 ms, plus 600 ms at 2,400 baud, 500 at 4,800, 400
// at 9,600, 300 at 19,200, 200 at 38,400, 100 at 57,600, nothing otherwise.
int SerialTimeoutMs(int answerTimeoutMs, int baud);
// 112 bytes below 57,600 baud, else 512.
int SerialPacketSize(int baud);
// 12 ms at 115,200 baud or more, 13 at 57,600, 15 at 38,400, 20 at 19,200, 25 at 9,600, 30 at
// 4,800, 40 at 2,400, 50 below (rates between two steps take the lower step's pause).
int SerialPacketPause(int baud);

// The port wrapper: device, settings, time-outs and nested opens of one serial port.
class CRs232 {
public:
  static constexpr int kDefaultTimeoutMs = 600;
  static constexpr std::size_t kReadArea = 2048;

  // `portName` is "COM<n>"; the device is the port table's entry n - 1.
  bool Configure(const std::string& portName, const std::string& settingsText, int readTimeoutMs,
                 int writeTimeoutMs);
  // Nested: the first open opens the device, later ones count.
  bool Open();
  void Close();
  int OpenCount() const { return m_openCount; }

  Status Write(std::span<const std::uint8_t> bytes);
  // One read of at most 2,048 bytes into the read area, waiting at most `timeoutMs`.
  Expected<std::span<const std::uint8_t>> Read(int timeoutMs);

  const std::string& DevicePath() const { return m_devicePath; }
  const SerialSettings& Settings() const { return m_settings; }
  int ReadTimeoutMs() const { return m_readTimeoutMs; }
  int WriteTimeoutMs() const { return m_writeTimeoutMs; }
  const Status& LastFailure() const { return m_lastFailure; }

private:
  std::string m_devicePath;
  SerialSettings m_settings;
  int m_readTimeoutMs = kDefaultTimeoutMs;
  int m_writeTimeoutMs = kDefaultTimeoutMs;
  int m_openCount = 0;
  std::optional<SerialPort> m_port;
  std::array<std::uint8_t, kReadArea> m_readArea{};
  Status m_lastFailure;
};

class CCommRs232 : public CUniComm {
public:
  CCommRs232(std::uint8_t address, std::uint8_t portIndex, std::int32_t baud, std::int32_t answerTimeoutMs);
  ~CCommRs232() override;

  bool Open() override;
  void Close() override;
  // "Failed to open COM<port index + 1>".
  std::string GetErrorText() const override;
  int PacketSize() const override;
  bool WaitEachPacket() const override { return true; }
  bool Send(std::span<const std::uint8_t> bytes) override;
  int Receive(std::span<std::uint8_t> buffer) override;
  int PacketPause() const override;

  std::uint8_t PortIndex() const { return m_portIndex; }
  std::int32_t Baud() const { return m_baud; }
  int TimeoutMs() const { return SerialTimeoutMs(m_answerTimeoutMs, m_baud); }
  // The wrapper, once the channel was opened (tests look at its settings).
  const CRs232* Port() const { return m_port.get(); }

private:
  std::uint8_t m_portIndex;
  std::int32_t m_baud;
  std::int32_t m_answerTimeoutMs;
  std::unique_ptr<CRs232> m_port;
  SerialAnswerReader m_reader;
};

}  // namespace vantorel

#include "comm/comm_rs232.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/text_format.h"
#include "app/text_ids.h"
#include "app/text_table.h"
#include "comm/serial_port_table.h"

namespace vantorel {

int SerialTimeoutMs(int answerTimeoutMs, int baud) {
  const int base = std::max(answerTimeoutMs, 2000);
  switch (baud) {
    case 2400: return base + 600;
    case 4800: return base + 500;
    case 9600: return base + 400;
    case 19200: return base + 300;
    case 38400: return base + 200;
    case 57600: return base + 100;
    default: return base;
  }
}

int SerialPacketSize(int baud) { return baud < 57600 ? 112 : 512; }

int SerialPacketPause(int baud) {
  if (baud >= 115200) return 12;
  if (baud >= 57600) return 13;
  if (baud >= 38400) return 15;
  if (baud >= 19200) return 20;
  if (baud >= 9600) return 25;
  if (baud >= 4800) return 30;
  if (baud >= 2400) return 40;
  return 50;
}

// ---- CRs232 ----

bool CRs232::Configure(const std::string& portName, const std::string& settingsText, int readTimeoutMs,
                       int writeTimeoutMs) {
  int number = 0;
  char rest = 0;
  if (std::sscanf(portName.c_str(), "COM%d%c", &number, &rest) != 1 || number < 1) {
    m_lastFailure = Status::Failure(kTextCannotOpenPort, portName);
    return false;
  }
  const auto settings = ParseSerialSettings(settingsText);
  if (!settings) {
    m_lastFailure = Status::Failure(kTextSerialSettingsInvalid, settingsText);
    return false;
  }
  m_devicePath = SerialDevicePath(number - 1);
  m_settings = *settings;
  m_readTimeoutMs = readTimeoutMs;
  m_writeTimeoutMs = writeTimeoutMs;
  return true;
}

bool CRs232::Open() {
  if (m_openCount > 0) {
    ++m_openCount;
    return true;
  }
  if (m_devicePath.empty()) {
    m_lastFailure = Status::Failure(kTextFailed, "no device for this serial port");
    return false;
  }
  Expected<SerialPort> port = SerialPort::Open(m_devicePath, m_settings);
  if (!port) {
    m_lastFailure = port.status();
    return false;
  }
  m_port.emplace(std::move(*port));
  m_openCount = 1;
  return true;
}

void CRs232::Close() {
  if (m_openCount == 0) return;
  if (--m_openCount == 0) m_port.reset();
}

Status CRs232::Write(std::span<const std::uint8_t> bytes) {
  if (!m_port) return Status::SystemError(EBADF, m_devicePath);
  Status status = m_port->Write(bytes, m_writeTimeoutMs);
  if (!status) m_lastFailure = status;
  return status;
}

Expected<std::span<const std::uint8_t>> CRs232::Read(int timeoutMs) {
  if (!m_port) return Status::SystemError(EBADF, m_devicePath);
  const Expected<std::size_t> got = m_port->Read(m_readArea, timeoutMs);
  if (!got) {
    m_lastFailure = got.status();
    return got.status();
  }
  return std::span<const std::uint8_t>(m_readArea).first(*got);
}

// ---- CCommRs232 ----

CCommRs232::CCommRs232(std::uint8_t address, std::uint8_t portIndex, std::int32_t baud, std::int32_t answerTimeoutMs)
    : CUniComm(kChannelSerial, address), m_portIndex(portIndex), m_baud(baud), m_answerTimeoutMs(answerTimeoutMs) {}

CCommRs232::~CCommRs232() {
  while (m_openCount > 0) Close();
}

bool CCommRs232::Open() {
  if (!m_port) m_port = std::make_unique<CRs232>();
  if (m_openCount == 0) {
    const int timeout = TimeoutMs();
    if (!m_port->Configure("COM" + std::to_string(m_portIndex + 1), std::to_string(m_baud) + ",8,N,1", timeout,
                           timeout) ||
        !m_port->Open()) {
      SetFailure(m_port->LastFailure());
      m_port.reset();
      return false;
    }
    m_reader.DropKept();
  }
  ++m_openCount;
  return true;
}

void CCommRs232::Close() {
  if (m_openCount == 0) return;
  if (--m_openCount > 0) return;
  if (m_port) m_port->Close();
  m_port.reset();
  m_reader.DropKept();
}

std::string CCommRs232::GetErrorText() const {
  return FormatText(LoadText(kTextCannotOpenPort).c_str(), m_portIndex + 1);
}

int CCommRs232::PacketSize() const { return SerialPacketSize(m_baud); }
int CCommRs232::PacketPause() const { return SerialPacketPause(m_baud); }

bool CCommRs232::Send(std::span<const std::uint8_t> bytes) {
  if (!m_port || m_openCount == 0) {
    SetFailure(Status::Failure(kTextFailed, "the serial channel is not open"));
    return false;
  }
  // Bytes left over from an earlier answer belong to no request that follows.
  m_reader.DropKept();
  const Status status = m_port->Write(bytes);
  if (!status) SetFailure(status);
  return status.ok();
}

int CCommRs232::Receive(std::span<std::uint8_t> buffer) {
  if (!m_port || m_openCount == 0) return 0;
  Status failure;
  const int received = ReceiveAnswer(
      m_reader, [this](int timeoutMs) { return m_port->Read(timeoutMs); }, m_port->ReadTimeoutMs(), buffer,
      m_port->DevicePath(), failure);
  if (received == 0) SetFailure(failure);
  return received;
}

}  // namespace vantorel

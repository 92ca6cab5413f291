#pragma once
// A pseudo-terminal pair standing in for a serial line: the program opens the device at
// DevicePath() like any serial port, and whoever holds this object talks from the other end
// (the virtual sign, a test's controller). The pair starts in raw mode, and this object keeps
// the device end open too, so the other end stays usable while the program closes and reopens
// its side.
//
// Read and Write belong to one thread at a time each (one reader and one writer may run at once).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/status.h"

namespace vantorel {

class PseudoTerminal {
public:
  static Expected<PseudoTerminal> Open();

  PseudoTerminal(PseudoTerminal&& other) noexcept;
  PseudoTerminal& operator=(PseudoTerminal&& other) noexcept;
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;
  ~PseudoTerminal();

  // "/dev/pts/N": the device the program opens.
  const std::string& DevicePath() const { return m_path; }
  // The controller's end, for a poll loop that waits on several descriptors at once.
  int Descriptor() const { return m_master; }
  // The controller's end.
  Status Write(std::span<const std::uint8_t> bytes, int timeoutMs);
  // Waits at most `timeoutMs`; 0 when nothing came.
  Expected<std::size_t> Read(std::span<std::uint8_t> buffer, int timeoutMs);

private:
  PseudoTerminal(int master, int device, std::string path)
      : m_master(master), m_device(device), m_path(std::move(path)) {}
  void CloseAll();

  int m_master = -1;
  int m_device = -1;
  std::string m_path;
};

}  // namespace vantorel

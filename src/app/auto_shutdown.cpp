#include "app/auto_shutdown.h"

#include <ctime>

namespace vantorel {

CAutoShutdown::CAutoShutdown(Clock clock, PowerOff powerOff)
    : m_clock(std::move(clock)), m_powerOff(std::move(powerOff)) {}

void CAutoShutdown::Configure(bool enabled, int shutdownTime) {
  m_enabled = enabled;
  m_done = false;
  m_word = (static_cast<std::uint32_t>(m_clock()) & 0xFFFFu) << 16 | (static_cast<std::uint32_t>(shutdownTime) & 0xFFFFu);
}

void CAutoShutdown::OnIdle() {
  if (!m_enabled || m_done) return;
  const std::uint32_t high = m_word >> 16;
  const std::uint32_t low = m_word & 0xFFFFu;
  if (high == low) return;
  m_word = kChecked << 16 | low;
  if (static_cast<std::uint32_t>(m_clock()) == low) {
    // The power-off takes a while; without this the idle checks of that minute would repeat it.
    m_done = true;
    m_powerOff();
  }
}

int CAutoShutdown::LocalHourMinute() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_hour * 256 + local.tm_min;
}

}  // namespace vantorel

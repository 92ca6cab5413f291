#include "sign/sign_faults.h"

#include <algorithm>

namespace vantorel {

bool SignFaults::Draw(double probability) {
  if (probability <= 0) return false;
  if (probability >= 1) return true;
  return std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < probability;
}

bool SignFaults::Drop() { return Draw(m_options.drop); }

bool SignFaults::Corrupt(std::vector<std::uint8_t>& answer) {
  if (answer.empty() || !Draw(m_options.corrupt)) return false;
  const std::size_t at = std::uniform_int_distribution<std::size_t>(0, answer.size() - 1)(m_random);
  answer[at] ^= static_cast<std::uint8_t>(std::uniform_int_distribution<int>(1, 255)(m_random));
  return true;
}

std::size_t SignFaults::Allowed(std::uint64_t sent, std::size_t size) const {
  if (m_options.disconnectAfter == 0) return size;
  if (sent >= m_options.disconnectAfter) return 0;
  return static_cast<std::size_t>(std::min<std::uint64_t>(size, m_options.disconnectAfter - sent));
}

}  // namespace vantorel

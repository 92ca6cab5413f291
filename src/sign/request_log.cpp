#include "sign/request_log.h"

#include <chrono>
#include <ctime>

namespace vantorel {
namespace {

std::string Now() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[40];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
  std::snprintf(text + length, sizeof text - length, ".%03dZ", static_cast<int>(ms));
  return text;
}

}  // namespace

std::string LogBytes(std::span<const std::uint8_t> bytes) {
  constexpr std::size_t kShown = 48;
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (std::size_t i = 0; i < bytes.size() && i < kShown; ++i) {
    if (i != 0) text += ' ';
    text += kHex[bytes[i] >> 4];
    text += kHex[bytes[i] & 15];
  }
  if (bytes.size() > kShown) text += " ... (" + std::to_string(bytes.size()) + " bytes)";
  if (bytes.empty()) text = "(no bytes)";
  return text;
}

void RequestLog::Log(std::string_view transport, std::string_view operation, std::span<const std::uint8_t> request,
                     std::string_view result) {
  Write(Now() + " " + std::string(transport) + " " + std::string(operation) + " " + LogBytes(request) + " " +
        std::string(result));
}

void RequestLog::Note(std::string_view text) { Write(Now() + " " + std::string(text)); }

void RequestLog::Write(const std::string& line) {
  if (m_file == nullptr) return;
  const std::lock_guard lock(m_mutex);
  std::fputs((line + "\n").c_str(), m_file);
  std::fflush(m_file);
}

}  // namespace vantorel

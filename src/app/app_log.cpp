#include "app/app_log.h"

#include <ctime>
#include <fstream>
#include <memory>

namespace vantorel {
namespace {

const char* KindName(LogKind kind) {
  switch (kind) {
    case LogKind::Start: return "START ";
    case LogKind::Info: return "INFO  ";
    case LogKind::Send: return "SEND  ";
    case LogKind::Error: return "ERROR ";
  }
  return "";
}

std::mutex& ProcessLogMutex() {
  static std::mutex mutex;
  return mutex;
}

std::unique_ptr<CAppLog>& ProcessLog() {
  static std::unique_ptr<CAppLog> log;
  return log;
}

}  // namespace

CAppLog::CAppLog(std::filesystem::path file, std::uintmax_t limit, Clock clock)
    : m_file(std::move(file)), m_limit(limit), m_clock(std::move(clock)) {}

void CAppLog::Write(LogKind kind, std::string_view message) {
  std::string line = m_clock() + ' ' + KindName(kind);
  for (const char c : message) line.push_back(c == '\n' || c == '\r' ? ' ' : c);  // one event, one line
  line.push_back('\n');

  const std::lock_guard lock(m_mutex);
  std::error_code error;
  const auto size = std::filesystem::file_size(m_file, error);
  if (!error && size > 0 && size + line.size() > m_limit) {
    std::filesystem::path old = m_file;
    old += ".1";
    std::filesystem::rename(m_file, old, error);
  }
  std::ofstream out(m_file, std::ios::app | std::ios::binary);
  out << line;
}

std::string CAppLog::LocalTimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

void OpenProcessLog(const std::filesystem::path& file) {
  const std::lock_guard lock(ProcessLogMutex());
  ProcessLog() = std::make_unique<CAppLog>(file);
}

void CloseProcessLog() {
  const std::lock_guard lock(ProcessLogMutex());
  ProcessLog().reset();
}

void WriteLog(LogKind kind, std::string_view message) {
  const std::lock_guard lock(ProcessLogMutex());
  if (ProcessLog()) ProcessLog()->Write(kind, message);
}

}  // namespace vantorel

#pragma once
// "Vantorel.log" in the data folder: one line per event, with local date and time and its kind:
//
//   2024-05-17 14:03:22 START Vantorel 0.1.0, data folder /home/ann/.local/share/OrvikSoft/bin
//   2024-05-17 14:05:10 SEND  screen 1 "Korvan-M5[1]": 5 files, successful
//   2024-05-17 14:06:41 ERROR Fail loading DLL  /opt/vantorel/libledtool.so
//
// Line breaks inside a message become blanks, so every event is one line.
//
// Before a line would take the file past its size limit, the file is renamed to "Vantorel.log.1"
// (replacing an older one) and a new file is started, so at most twice the limit is kept.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace vantorel {

enum class LogKind { Start, Info, Send, Error };

class CAppLog {
public:
  static constexpr std::uintmax_t kDefaultLimit = 1024 * 1024;
  using Clock = std::function<std::string()>;  // "YYYY-MM-DD hh:mm:ss"

  explicit CAppLog(std::filesystem::path file, std::uintmax_t limit = kDefaultLimit, Clock clock = LocalTimeStamp);

  // Safe from any thread; a line that cannot be written is lost without further notice.
  void Write(LogKind kind, std::string_view message);

  const std::filesystem::path& File() const { return m_file; }
  static std::string LocalTimeStamp();

private:
  std::filesystem::path m_file;
  std::uintmax_t m_limit;
  Clock m_clock;
  std::mutex m_mutex;
};

// The log of this run, once the application has opened it; lines written before are dropped.
void OpenProcessLog(const std::filesystem::path& file);
void CloseProcessLog();
void WriteLog(LogKind kind, std::string_view message);

}  // namespace vantorel

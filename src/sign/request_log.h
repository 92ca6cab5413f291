#pragma once
// The virtual sign's request log: one line per request received,
//
//   2026-12-09T21:40:01.123Z tcp 127.0.0.1:40312 ReadClock 68 FF 04 00 07 00 00 05 ... answered
//
// with the time (UTC), the transport and peer, the operation, the request bytes (the first 48,
// then "... (N bytes)") and the result: "answered", "answered: status 2 (bad request data)",
// "answered, corrupted", "no answer wanted", "refused: bad CRC", "dropped", followed by a note
// of what the request did when it did something worth telling.
//
// Log may be called from several threads at once (lines are written whole under a lock).

#include <cstdio>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

namespace vantorel {

// The request bytes as the log shows them.
std::string LogBytes(std::span<const std::uint8_t> bytes);

class RequestLog {
public:
  // Writes to `file` (not closed here; standard error by default). Null: logs nothing.
  explicit RequestLog(std::FILE* file = stderr) : m_file(file) {}

  void Log(std::string_view transport, std::string_view operation, std::span<const std::uint8_t> request,
           std::string_view result);
  // A line of its own (start, stop, failures to save).
  void Note(std::string_view text);

private:
  void Write(const std::string& line);

  std::mutex m_mutex;
  std::FILE* m_file;
};

}  // namespace vantorel

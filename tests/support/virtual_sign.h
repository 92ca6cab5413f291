#pragma once
// vantorel-sign running for a test: started on 127.0.0.1 (a free port) and on a pseudo-terminal,
// its state in `store`, on a thread of its own until the object ends (its process group is ended
// then). `Port()` and `Serial()` give where it listens.

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/child_process.h"

namespace vantorel::test {

class VirtualSign {
public:
  // `extra`: more options of vantorel-sign (protection, faults, kind).
  explicit VirtualSign(const std::filesystem::path& store, std::vector<std::string> extra = {});
  ~VirtualSign();
  VirtualSign(const VirtualSign&) = delete;
  VirtualSign& operator=(const VirtualSign&) = delete;

  // What follows `prefix` on the first line the sign printed that starts with it.
  std::string Line(const std::string& prefix) const;
  std::string Port() const;
  std::string Serial() const;

private:
  ProgramRun m_run;
  std::atomic<bool> m_stop{false};
  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<std::string> m_lines;
  Expected<ProgramResult> m_result = Status::Failure(0);
  std::thread m_thread;
};

}  // namespace vantorel::test

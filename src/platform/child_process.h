#pragma once
// Running another program (the video converter, the office suite) and waiting for it: its
// standard output line by line to a callback, the end of its error output kept for the message,
// a time limit, and cancelling from another thread. The program runs in a process group of its
// own, so a time limit or a cancel ends it together with every process it started.
//
// RunProgram blocks the calling thread; run it on a worker. The callback runs on that thread.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/status.h"

namespace vantorel {

struct ProgramRun {
  std::vector<std::string> arguments;                       // after the program's name
  std::filesystem::path workingFolder;                      // empty: the caller's
  std::vector<std::pair<std::string, std::string>> environment;  // set (or replaced) for the program
  std::chrono::milliseconds timeLimit{0};                   // 0: none
  const std::atomic<bool>* cancel = nullptr;                // set by another thread to stop the program
  std::function<void(std::string_view line)> onOutputLine;  // each line of standard output, without "\n"
};

struct ProgramResult {
  int exitCode = -1;      // the program's exit status; -1 when it ended by a signal
  bool timedOut = false;  // ended because the time limit passed
  bool cancelled = false; // ended because `cancel` was set
  std::string errorTail;  // the last lines of its error output (at most kErrorTailBytes)

  bool Succeeded() const { return exitCode == 0 && !timedOut && !cancelled; }
};

inline constexpr std::size_t kErrorTailBytes = 4096;

// The program `name` on PATH (or `name` itself when it holds a "/" and is executable); empty when
// there is none.
std::filesystem::path FindProgram(std::string_view name);

// Runs `program` and waits for its end. Fails only when it cannot be started (the system's reason
// and the program's path); how it ended is in the result.
Expected<ProgramResult> RunProgram(const std::filesystem::path& program, const ProgramRun& run);

}  // namespace vantorel

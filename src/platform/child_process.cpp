#include "platform/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>

extern char** environ;

namespace vantorel {
namespace {

constexpr int kPollMs = 50;

bool IsExecutable(const std::filesystem::path& file) {
  std::error_code error;
  return std::filesystem::is_regular_file(file, error) && ::access(file.c_str(), X_OK) == 0;
}

// The environment of the child: ours with `changes` set.
std::vector<std::string> ChildEnvironment(const std::vector<std::pair<std::string, std::string>>& changes) {
  std::map<std::string, std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text(*entry);
    const std::size_t equals = text.find('=');
    if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
  }
  for (const auto& [name, value] : changes) variables[name] = value;
  std::vector<std::string> result;
  result.reserve(variables.size());
  for (const auto& [name, value] : variables) result.push_back(name + "=" + value);
  return result;
}

std::vector<char*> PointersTo(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  pointers.reserve(texts.size() + 1);
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Both ends of a pipe, closed on exec; closed when the object goes.
struct Pipe {
  int ends[2] = {-1, -1};
  ~Pipe() {
    for (int end : ends) {
      if (end >= 0) ::close(end);
    }
  }
  void CloseEnd(int which) {
    if (ends[which] >= 0) ::close(ends[which]);
    ends[which] = -1;
  }
};

// Standard output cut into lines for the callback.
class LineSplitter {
public:
  explicit LineSplitter(const std::function<void(std::string_view)>& onLine) : m_onLine(onLine) {}
  void Add(const char* bytes, std::size_t size) {
    if (!m_onLine) return;
    m_pending.append(bytes, size);
    std::size_t start = 0;
    for (std::size_t end; (end = m_pending.find('\n', start)) != std::string::npos; start = end + 1) {
      m_onLine(std::string_view(m_pending).substr(start, end - start));
    }
    m_pending.erase(0, start);
  }
  void Finish() {
    if (m_onLine && !m_pending.empty()) m_onLine(m_pending);
    m_pending.clear();
  }

private:
  const std::function<void(std::string_view)>& m_onLine;
  std::string m_pending;
};

void KeepTail(std::string& tail, const char* bytes, std::size_t size) {
  tail.append(bytes, size);
  if (tail.size() > kErrorTailBytes) tail.erase(0, tail.size() - kErrorTailBytes);
}

// Reads both pipes until the program closes them, ending the program's group when the time limit
// passes or the caller cancels.
void WatchProgram(pid_t child, Pipe& output, Pipe& errors, const ProgramRun& run, ProgramResult& result) {
  LineSplitter lines(run.onOutputLine);
  const auto start = std::chrono::steady_clock::now();
  bool killed = false;
  char buffer[4096];
  while (output.ends[0] >= 0 || errors.ends[0] >= 0) {
    pollfd watched[2] = {{output.ends[0], POLLIN, 0}, {errors.ends[0], POLLIN, 0}};
    const int ready = ::poll(watched, 2, kPollMs);
    if (ready < 0 && errno != EINTR) break;
    for (int i = 0; i < 2 && ready > 0; ++i) {
      if ((watched[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
      Pipe& pipe = i == 0 ? output : errors;
      const ssize_t count = ::read(pipe.ends[0], buffer, sizeof buffer);
      if (count <= 0) {
        if (count < 0 && errno == EINTR) continue;
        pipe.CloseEnd(0);
        continue;
      }
      if (i == 0) {
        lines.Add(buffer, static_cast<std::size_t>(count));
      } else {
        KeepTail(result.errorTail, buffer, static_cast<std::size_t>(count));
      }
    }
    if (killed) continue;
    if (run.cancel != nullptr && run.cancel->load()) {
      result.cancelled = true;
    } else if (run.timeLimit.count() > 0 && std::chrono::steady_clock::now() - start > run.timeLimit) {
      result.timedOut = true;
    } else {
      continue;
    }
    ::kill(-child, SIGKILL);
    killed = true;
  }
  lines.Finish();
}

}  // namespace

std::filesystem::path FindProgram(std::string_view name) {
  if (name.empty()) return {};
  if (name.find('/') != std::string_view::npos) {
    const std::filesystem::path file(name);
    return IsExecutable(file) ? file : std::filesystem::path();
  }
  const char* path = std::getenv("PATH");
  std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  while (!folders.empty()) {
    const std::size_t colon = folders.find(':');
    const std::string_view folder = folders.substr(0, colon);
    folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
    if (folder.empty()) continue;
    const std::filesystem::path candidate = std::filesystem::path(folder) / name;
    if (IsExecutable(candidate)) return candidate;
  }
  return {};
}

Expected<ProgramResult> RunProgram(const std::filesystem::path& program, const ProgramRun& run) {
  Pipe output, errors;
  if (::pipe2(output.ends, O_CLOEXEC) != 0 || ::pipe2(errors.ends, O_CLOEXEC) != 0) {
    return Status::SystemError(errno, program);
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, output.ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errors.ends[1], STDERR_FILENO);
  if (!run.workingFolder.empty()) posix_spawn_file_actions_addchdir_np(&actions, run.workingFolder.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // A group of its own, so that a time limit or a cancel ends everything it started.
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);

  std::vector<std::string> argumentTexts{program.string()};
  argumentTexts.insert(argumentTexts.end(), run.arguments.begin(), run.arguments.end());
  std::vector<std::string> environmentTexts = ChildEnvironment(run.environment);
  std::vector<char*> arguments = PointersTo(argumentTexts);
  std::vector<char*> environment = PointersTo(environmentTexts);
  pid_t child = 0;
  const int spawned =
      posix_spawn(&child, program.c_str(), &actions, &attributes, arguments.data(), environment.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (spawned != 0) return Status::SystemError(spawned, program);
  output.CloseEnd(1);
  errors.CloseEnd(1);

  ProgramResult result;
  WatchProgram(child, output, errors, run, result);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace vantorel

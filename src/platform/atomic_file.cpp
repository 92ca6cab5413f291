#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>

namespace vantorel {
namespace {

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  if (path.empty()) return false;
  std::string pattern = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
  if (path.parent_path().empty()) pattern = "." + path.filename().string() + ".XXXXXX";
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return false;
  // Group read/write so that every user of the machine may work with the data folder.
  ::fchmod(fd, 0664);
  const bool ok = WriteAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !ok || ::rename(pattern.c_str(), path.c_str()) != 0) {
    ::unlink(pattern.c_str());
    return false;
  }
  return true;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view text) {
  return WriteFileAtomically(
      path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& content) {
  content.clear();
  // A folder opens like a file on Linux but fails on the first read: only regular files count.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return false;
  content = std::move(buffer).str();
  return true;
}

}  // namespace vantorel

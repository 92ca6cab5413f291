#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>

namespace vantorel {
namespace {

// 0 when everything was written, else the errno of the failed write.
int WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return 0;
}

}  // namespace

Status WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  if (path.empty()) return Status::SystemError(ENOENT, path);
  std::string pattern = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
  if (path.parent_path().empty()) pattern = "." + path.filename().string() + ".XXXXXX";
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return Status::SystemError(errno, path);
  // Group read/write so that every user of the machine may work with the data folder.
  ::fchmod(fd, 0664);
  int error = WriteAll(fd, bytes.data(), bytes.size());
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(pattern.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(pattern.c_str());
    return Status::SystemError(error, path);
  }
  return Status::Ok();
}

Status WriteFileAtomically(const std::filesystem::path& path, std::string_view text) {
  return WriteFileAtomically(
      path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

namespace {

// Opens a regular file for reading; a folder opens like a file on Linux but fails on the first
// read, so only regular files count.
Status OpenRegularFile(const std::filesystem::path& path, std::ifstream& in) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (error) return Status::SystemError(error.value(), path);
  if (std::filesystem::is_directory(status)) return Status::SystemError(EISDIR, path);
  if (!std::filesystem::is_regular_file(status)) return Status::SystemError(EINVAL, path);
  in.open(path, std::ios::binary);
  if (!in) return Status::SystemError(errno != 0 ? errno : EACCES, path);
  return Status::Ok();
}

}  // namespace

Status ReadWholeFile(const std::filesystem::path& path, std::string& content) {
  content.clear();
  std::ifstream in;
  if (Status opened = OpenRegularFile(path, in); !opened) return opened;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return Status::SystemError(EIO, path);
  content = std::move(buffer).str();
  return Status::Ok();
}

Status ReadFileStart(const std::filesystem::path& path, std::size_t maxBytes, std::string& content) {
  content.clear();
  std::ifstream in;
  if (Status opened = OpenRegularFile(path, in); !opened) return opened;
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  content.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(error ? maxBytes : size, maxBytes)));
  in.read(content.data(), static_cast<std::streamsize>(content.size()));
  if (in.bad()) return Status::SystemError(EIO, path);
  content.resize(static_cast<std::size_t>(in.gcount()));
  return Status::Ok();
}

}  // namespace vantorel

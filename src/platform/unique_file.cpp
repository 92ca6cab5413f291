#include "platform/unique_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace vantorel {

Expected<std::filesystem::path> CreateUniqueFile(const std::filesystem::path& folder, std::string_view prefix,
                                                 std::string_view suffix) {
  std::string pattern = (folder / (std::string(prefix) + "XXXXXX" + std::string(suffix))).string();
  const int fd = ::mkstemps(pattern.data(), static_cast<int>(suffix.size()));
  if (fd < 0) return Status::SystemError(errno, folder);
  // Group read/write, as for every file we make in the data folders.
  ::fchmod(fd, 0664);
  ::close(fd);
  return std::filesystem::path(pattern);
}

Status RenameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return Status::Ok();
  if (errno != EINVAL && errno != ENOSYS) return Status::SystemError(errno, to);
  // A file system without the flag: a hard link is made only when the name is free.
  if (::link(from.c_str(), to.c_str()) != 0) return Status::SystemError(errno, to);
  ::unlink(from.c_str());
  return Status::Ok();
}

}  // namespace vantorel

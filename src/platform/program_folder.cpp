#include "platform/program_folder.h"

#include <system_error>

namespace vantorel {

std::filesystem::path ExecutableFolder() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path(error);
  return exe.parent_path();
}

std::filesystem::path ProgramFolderFor(const std::filesystem::path& executableFolder) {
  // VANTOREL_SHARE_FROM_BIN is the installed data folder relative to the installed executables,
  // set by the build from its install folders.
  const std::filesystem::path installed = (executableFolder / VANTOREL_SHARE_FROM_BIN).lexically_normal();
  std::error_code error;
  return std::filesystem::is_directory(installed, error) ? installed : executableFolder;
}

std::filesystem::path ProgramFolder() { return ProgramFolderFor(ExecutableFolder()); }

}  // namespace vantorel

#include "app/app_folders.h"

#include <cstdlib>
#include <system_error>

#include "platform/program_folder.h"

namespace vantorel {
namespace {

std::filesystem::path DefaultDataFolder(const std::filesystem::path& programFolder) {
  std::filesystem::path base;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = std::filesystem::path(home) / ".local" / "share";
  } else {
    return {};
  }
  return base / "OrvikSoft" / programFolder.filename();
}

}  // namespace

bool MakeSharedFolder(const std::filesystem::path& folder) {
  if (folder.empty()) return false;
  std::error_code error;
  if (std::filesystem::is_directory(folder, error)) return true;
  if (!std::filesystem::create_directories(folder, error) && !std::filesystem::is_directory(folder, error)) {
    return false;
  }
  using std::filesystem::perms;
  std::filesystem::permissions(folder, perms::owner_all | perms::group_all | perms::others_read | perms::others_exec,
                               error);
  return true;
}

void CleanTemporaryFolder(const std::filesystem::path& tempFolder) {
  std::error_code error;
  for (std::filesystem::directory_iterator it(tempFolder, error), end; !error && it != end; it.increment(error)) {
    std::error_code ignored;
    if (it->path().filename().string().starts_with('~') && !it->is_directory(ignored)) {
      std::filesystem::remove(it->path(), ignored);
    }
  }
  std::filesystem::remove(tempFolder, error);  // refuses a folder that still holds something
}

CAppFolders::CAppFolders(std::filesystem::path programFolder, std::filesystem::path dataFolder)
    : m_programFolder(std::move(programFolder)), m_dataFolder(std::move(dataFolder)) {}

CAppFolders CAppFolders::FromEnvironment() {
  const std::filesystem::path program = vantorel::ProgramFolder();
  std::filesystem::path data;
  if (const char* overridden = std::getenv("VANTOREL_DATA_DIR"); overridden && *overridden) {
    data = overridden;
  } else {
    data = DefaultDataFolder(program);
  }
  if (!MakeSharedFolder(data)) data = program;
  return CAppFolders(program, data);
}

}  // namespace vantorel

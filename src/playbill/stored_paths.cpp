#include "playbill/stored_paths.h"

#include <algorithm>
#include <system_error>

#include "playbill/prg_item.h"

namespace vantorel {
namespace {

// The folder as text ending with its separator, so that "/work/a" never matches "/work/ab/x".
std::string FolderPrefix(const std::filesystem::path& folder) {
  std::string prefix = folder.string();
  if (prefix.empty() || prefix.back() != '/') prefix.push_back('/');
  return prefix;
}

}  // namespace

bool MediaIsText(int kind) {
  return kind == kKindClock || kind == kKindCellText || kind == kKindImageText || kind == kKindSensor ||
         kind == kKindTimeCounter || kind == kKindWorkCounter;
}

std::filesystem::path PlaybillFolderOf(const std::filesystem::path& playbill) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(playbill, error);
  if (error) absolute = playbill;
  return absolute.lexically_normal().parent_path();
}

std::string StoredPath(std::string_view path, const std::filesystem::path& folder) {
  const std::string prefix = FolderPrefix(folder);
  if (folder.empty() || path.size() <= prefix.size() || !path.starts_with(prefix)) return std::string(path);
  return ".\\" + std::string(path.substr(prefix.size()));
}

std::string ResolvedPath(std::string_view value, const std::filesystem::path& folder) {
  if (!value.starts_with('.')) return std::string(value);
  const std::size_t rest = value.find_first_not_of("./\\");
  std::string relative(rest == std::string_view::npos ? std::string_view() : value.substr(rest));
  std::replace(relative.begin(), relative.end(), '\\', '/');
  return FolderPrefix(folder) + relative;
}

}  // namespace vantorel

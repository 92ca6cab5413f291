#include "screen/cross_map_library.h"

#include <algorithm>
#include <system_error>

#include "app/text_format.h"
#include "screen/ascii_text.h"

namespace vantorel {

std::filesystem::path CrossMapFolder(const std::filesystem::path& programFolder, int width, int height) {
  return programFolder / "Config" / "CrossMap" / FormatText("%dx%d", width, height);
}

std::vector<std::filesystem::path> CrossMapFiles(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->is_regular_file(error) && EqualsIgnoringAsciiCase(it->path().extension().string(), ".map")) {
      files.push_back(it->path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::filesystem::path CrossMapPicture(const std::filesystem::path& mapFile) {
  std::filesystem::path picture = mapFile;
  picture.replace_extension(".jpg");
  return picture;
}

std::string CrossMapTitle(const std::string& displayName, int width, int height, const std::string& commParameters) {
  return FormatText("%s, %d x %d, %s", displayName.c_str(), width, height, commParameters.c_str());
}

}  // namespace vantorel

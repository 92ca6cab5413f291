#include "render/media/media_kind.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace vantorel {

MediaKind MediaKindOf(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".avi" || extension == ".mpg" || extension == ".mpeg" || extension == ".wmv" || extension == ".mp4") {
    return kMediaVideo;
  }
  if (extension == ".laf") return kMediaAnimation;
  if (extension == ".swf") return kMediaFlash;
  return kMediaNone;
}

std::filesystem::path FlashStandIn(const std::filesystem::path& swf) {
  std::filesystem::path laf = swf;
  laf.replace_extension(".laf");
  return laf;
}

}  // namespace vantorel

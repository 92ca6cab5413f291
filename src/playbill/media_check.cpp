#include "playbill/media_check.h"

#include <filesystem>
#include <system_error>

namespace vantorel {

int CountMissingMedia(const PrgList& list) {
  int missing = 0;
  for (const tagPrgItem& record : list) {
    if (!record.IsItem() || !IsMediaFileKind(record.item.actType) || record.item.media.empty()) continue;
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::path(record.item.media.str()), error)) ++missing;
  }
  return missing;
}

}  // namespace vantorel

#include "playbill/playbill_paths.h"

#include "app/app_folders.h"
#include "app/text_format.h"
#include "screen/controller_types.h"

namespace vantorel {

bool IsPlaybillClass(const tagScreenInfo& screen) {
  return IsKnownControllerClass(screen.type);
}

std::string PlaybillFileName(int screenId) { return FormatText("av%04x.ldt", static_cast<unsigned>(screenId)); }

std::filesystem::path PlaybillPathFor(const tagScreenInfo& screen, const std::filesystem::path& workFolder) {
  if (!IsPlaybillClass(screen)) return {};
  if (workFolder.empty() || !MakeSharedFolder(workFolder)) return {};
  return workFolder / PlaybillFileName(screen.number);
}

std::filesystem::path SchedulePathFor(const std::filesystem::path& playbill) {
  if (playbill.empty()) return {};
  std::filesystem::path schedule = playbill;
  schedule.replace_extension(".rsh");
  return schedule;
}

}  // namespace vantorel

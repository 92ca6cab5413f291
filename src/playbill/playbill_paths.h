#pragma once
// Where a screen's playbill and its schedule live.

#include <filesystem>
#include <string>

#include "screen/screen_data.h"

namespace vantorel {

// Screens of controller class 6 or 7: the classes whose playbills the editor keeps and fits.
bool IsPlaybillClass(const tagScreenInfo& screen);

// The playbill file name of screen ID `screenId`: "av%04x.ldt" (four lower-case hex digits).
std::string PlaybillFileName(int screenId);

// "av%04x.ldt" (the screen ID in four lower-case hex digits) in `workFolder`, for screens of
// controller class 6 or 7; empty for other classes. Creates the work folder when missing; empty
// when that fails.
std::filesystem::path PlaybillPathFor(const tagScreenInfo& screen, const std::filesystem::path& workFolder);

// The schedule file beside a playbill: the same path with the extension ".rsh"; empty for an
// empty playbill path.
std::filesystem::path SchedulePathFor(const std::filesystem::path& playbill);

}  // namespace vantorel

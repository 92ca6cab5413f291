#pragma once
// Exchanging playbills as single ".lpl" files: export of the current playbill with its schedule,
// import into the current screen, and import into several screens at once. A file may only go to
// screens like the one it was made for: the same controller class, width and height (the colour
// mode may differ).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/status.h"
#include "playbill/play_schedule.h"
#include "playbill/prg_list_doc.h"
#include "screen/screen_data.h"

namespace vantorel {

bool IsImportCompatible(const tagScreenInfo& fileScreen, const tagScreenInfo& screen);

// "64 x 64 (w x h)\nFull color\n": how an open dialog previews a playbill file's screen.
std::string ScreenSummaryText(const tagScreenInfo& screen);

// Writes `schedule` to the schedule file beside `playbill`.
Status StoreSchedule(const CPlaySchedule& schedule, const std::filesystem::path& playbill);

// Saves the document to the current screen's playbill file, then writes a copy of the playbill
// (with the current screen's header) to `target` and the schedule beside it. The document's
// path stays the screen's file.
Status ExportPlaybill(CPrgListDoc& doc, const std::filesystem::path& target);

// Imports `file` into the current screen: refused with kTextImportRefused (detail: the file's
// "%d(w) x %d(h), %s") when the file was made for another kind of screen, and with the cause when
// it cannot be read, holds no program or cannot be stored; otherwise the document holds the
// file's playbill, saved to the screen's playbill file, and the file's schedule, saved to the
// screen's schedule file.
Status ImportPlaybill(CPrgListDoc& doc, const std::filesystem::path& file);
// How a failed import reads: message 319 followed by "\n\n %d(w) x %d(h), %s\n" with the file's
// width, height and colour, else StatusMessage.
std::string ImportFailureText(const Status& failure);

// The multi-screen dialog's OK check: message 319 when a chosen screen does not suit the file.
Status CheckImportScreens(const tagScreenInfo& fileScreen, const CScreenData& screens, const std::vector<int>& chosen);

struct ScreensImport {
  bool currentChosen = false;   // the current screen was among the chosen: import it next
  std::vector<int> failedScreens;  // indexes whose playbill or schedule could not be stored
  std::vector<Status> failures;    // why, in the same order, each naming its screen
};

// Copies `file` into the playbill and schedule files of every chosen screen other than the
// current one, read as that screen's playbill (its window and item limits apply). A screen that
// fails does not stop the others.
ScreensImport ImportToScreens(const CPrgListDoc& doc, const std::filesystem::path& file, const std::vector<int>& chosen);

// "Failed: <name>, <name>" naming the screens of `failedScreens`.
std::string FailedScreensText(const CScreenData& screens, const std::vector<int>& failedScreens);

}  // namespace vantorel

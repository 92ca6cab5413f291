#include "playbill/playbill_transfer.h"

#include <algorithm>

#include "app/text_format.h"
#include "app/text_table.h"
#include "playbill/play_schedule.h"
#include "playbill/playbill_paths.h"
#include "playbill/playbill_reader.h"
#include "playbill/playbill_writer.h"
#include "playbill/prg_list.h"
#include "screen/colour_modes.h"

namespace vantorel {

bool IsImportCompatible(const tagScreenInfo& fileScreen, const tagScreenInfo& screen) {
  return fileScreen.type == screen.type && fileScreen.width == screen.width && fileScreen.height == screen.height;
}

std::string ScreenSummaryText(const tagScreenInfo& screen) {
  return FormatText("%d", screen.width) + " x " + FormatText("%d", screen.height) + " (w x h)" + "\n" +
         ColourModeName(screen.color) + "\n";
}

std::string ImportRefusalText(const tagScreenInfo& fileScreen) {
  return LoadText(kTextImportRefused) + FormatText("\n\n %d(w) x %d(h), %s\n", fileScreen.width, fileScreen.height,
                                                   ColourModeName(fileScreen.color).c_str());
}

bool ExportPlaybill(CPrgListDoc& doc, const std::filesystem::path& target) {
  return doc.Save() && WritePlaybill(target, doc.Records(), doc.CurrentScreen()) &&
         doc.Schedule().WriteSchedule(SchedulePathFor(target)) == 0;
}

ImportOutcome ImportPlaybill(CPrgListDoc& doc, const std::filesystem::path& file) {
  tagScreenInfo fileScreen;
  if (!ReadPlaybillScreen(file, fileScreen)) return {false, LoadText(kTextFailed)};
  if (!IsImportCompatible(fileScreen, doc.CurrentScreen())) return {false, ImportRefusalText(fileScreen)};
  // Opened from another file, playbill and schedule count as modified: Save stores both for the screen.
  if (!doc.OpenFile(file) || !doc.Save()) return {false, LoadText(kTextFailed)};
  return {true, {}};
}

std::optional<std::string> CheckImportScreens(const tagScreenInfo& fileScreen, const CScreenData& screens,
                                              const std::vector<int>& chosen) {
  for (int index : chosen) {
    if (!screens.IsValidIndex(index) || !IsImportCompatible(fileScreen, screens.Screen(index))) {
      return ImportRefusalText(fileScreen);
    }
  }
  return std::nullopt;
}

ScreensImport ImportToScreens(const CPrgListDoc& doc, const std::filesystem::path& file, const std::vector<int>& chosen) {
  ScreensImport result;
  tagScreenInfo fileScreen;
  const bool fileReadable = ReadPlaybillScreen(file, fileScreen);
  CPlaySchedule schedule;
  schedule.ReadSchedule(SchedulePathFor(file));
  for (int index : chosen) {
    if (index == doc.CurrentScreenIndex()) {
      result.currentChosen = true;
      continue;
    }
    if (!doc.Screens().IsValidIndex(index)) continue;
    const tagScreenInfo& screen = doc.Screens().Screen(index);
    const std::filesystem::path target = PlaybillPathFor(screen, doc.WorkFolder());
    PrgList list;
    int version = kPlaybillVersion;
    const bool stored = fileReadable && IsImportCompatible(fileScreen, screen) &&
                        ReadPlaybill(file, list, version, &screen) > 0 && ProgramRecordAt(list, 0) >= 0 &&
                        WritePlaybill(target, list, screen) && schedule.WriteSchedule(SchedulePathFor(target)) == 0;
    if (!stored) result.failedScreens.push_back(index);
  }
  return result;
}

std::string FailedScreensText(const CScreenData& screens, const std::vector<int>& failedScreens) {
  std::string names;
  for (int index : failedScreens) {
    if (!screens.IsValidIndex(index)) continue;
    names += (names.empty() ? "" : ", ") + screens.DisplayName(index);
  }
  return LoadText(kTextFailed) + (names.empty() ? "" : ": " + names);
}

}  // namespace vantorel

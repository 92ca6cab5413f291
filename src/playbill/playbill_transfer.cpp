#include "playbill/playbill_transfer.h"

#include <algorithm>

#include "app/status_text.h"
#include "app/text_format.h"
#include "platform/atomic_file.h"
#include "app/text_table.h"
#include "playbill/play_schedule.h"
#include "playbill/playbill_paths.h"
#include "playbill/playbill_reader.h"
#include "playbill/playbill_writer.h"
#include "playbill/prg_list.h"
#include "playbill/stored_paths.h"
#include "screen/colour_modes.h"

namespace vantorel {

Status StoreSchedule(const CPlaySchedule& schedule, const std::filesystem::path& playbill) {
  return schedule.WriteSchedule(SchedulePathFor(playbill));
}

bool IsImportCompatible(const tagScreenInfo& fileScreen, const tagScreenInfo& screen) {
  return fileScreen.type == screen.type && fileScreen.width == screen.width && fileScreen.height == screen.height;
}

std::string ScreenSummaryText(const tagScreenInfo& screen) {
  return FormatText("%d", screen.width) + " x " + FormatText("%d", screen.height) + " (w x h)" + "\n" +
         ColourModeName(screen.color) + "\n";
}

Status ExportPlaybill(CPrgListDoc& doc, const std::filesystem::path& target) {
  if (Status saved = doc.Save(); !saved) return saved;
  if (Status stored = WritePlaybill(target, doc.Records(), doc.CurrentScreen()); !stored) return stored;
  return StoreSchedule(doc.Schedule(), target);
}

namespace {

// The file's screen, or why it cannot be read.
Expected<tagScreenInfo> FileScreenOf(const std::filesystem::path& file) {
  tagScreenInfo fileScreen;
  if (ReadPlaybillScreen(file, fileScreen)) return fileScreen;
  std::string content;
  const Status read = ReadWholeFile(file, content);
  return read ? Status::Failure(kTextFailed, "damaged \u2014 " + file.string()) : read;
}

Status Refusal(const tagScreenInfo& fileScreen) {
  return Status::Failure(kTextImportRefused, FormatText("%d(w) x %d(h), %s", fileScreen.width, fileScreen.height,
                                                        ColourModeName(fileScreen.color).c_str()));
}

}  // namespace

Status ImportPlaybill(CPrgListDoc& doc, const std::filesystem::path& file) {
  const Expected<tagScreenInfo> fileScreen = FileScreenOf(file);
  if (!fileScreen) return fileScreen.status();
  if (!IsImportCompatible(*fileScreen, doc.CurrentScreen())) return Refusal(*fileScreen);
  // Opened from another file, playbill and schedule count as modified: Save stores both for the screen.
  if (Status opened = doc.OpenFile(file); !opened) return opened;
  return doc.Save();
}

std::string ImportFailureText(const Status& failure) {
  if (failure.text() == kTextImportRefused) return LoadText(kTextImportRefused) + "\n\n " + failure.detail() + "\n";
  return StatusMessage(failure);
}

Status CheckImportScreens(const tagScreenInfo& fileScreen, const CScreenData& screens, const std::vector<int>& chosen) {
  for (int index : chosen) {
    if (!screens.IsValidIndex(index) || !IsImportCompatible(fileScreen, screens.Screen(index))) {
      return Refusal(fileScreen);
    }
  }
  return Status::Ok();
}

ScreensImport ImportToScreens(const CPrgListDoc& doc, const std::filesystem::path& file, const std::vector<int>& chosen) {
  ScreensImport result;
  const Expected<tagScreenInfo> fileScreen = FileScreenOf(file);
  CPlaySchedule schedule;
  // Without the file's schedule a copy would lose its periods.
  const Expected<ReadWarnings> scheduleRead = schedule.ReadSchedule(SchedulePathFor(file));
  for (int index : chosen) {
    if (index == doc.CurrentScreenIndex()) {
      result.currentChosen = true;
      continue;
    }
    if (!doc.Screens().IsValidIndex(index)) continue;
    const tagScreenInfo& screen = doc.Screens().Screen(index);
    const std::filesystem::path target = PlaybillPathFor(screen, doc.WorkFolder());
    const Status stored = [&]() -> Status {
      if (!fileScreen) return fileScreen.status();
      if (!scheduleRead) return scheduleRead.status();
      if (!IsImportCompatible(*fileScreen, screen)) return Refusal(*fileScreen);
      PrgList list;
      int version = kPlaybillVersion;
      if (const auto read = ReadPlaybill(file, list, version, &screen); !read) return read.status().WithText(kTextFailed);
      if (ProgramRecordAt(list, 0) < 0) return Status::Failure(kTextFailed, "no program \u2014 " + file.string());
      if (Status written = WritePlaybill(target, list, screen); !written) return written;
      return StoreSchedule(schedule, target);
    }();
    if (!stored) {
      result.failedScreens.push_back(index);
      result.failures.push_back(stored.WithContext(doc.Screens().DisplayName(index)));
    }
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

#pragma once
// Making the files of one screen as the user asks for them (the editor's "Make data", the
// command line's make): the data maker run on the screen's playbill, then the run schedule of its
// play schedule beside the files.
//
// MakeScreenFiles blocks; the editor runs it on a worker thread with a copy of the job.

#include <atomic>
#include <filesystem>

#include "maker/data_maker.h"
#include "maker/make_observer.h"
#include "playbill/play_schedule.h"
#include "playbill/prg_item.h"
#include "screen/screen_data.h"

namespace vantorel {

struct ScreenFilesJob {
  tagScreenInfo screen;
  tagCommInfo comm;
  PrgList records;
  CPlaySchedule schedule;
  std::filesystem::path workFolder;
  std::filesystem::path dataFolder;
  std::filesystem::path outputFolder;  // empty: "a32sd" in the work folder
  MakeOptions options;
};

// The made files include the run schedule (IIII.rsf) when the play schedule has entries; a run
// schedule that cannot be written fails the run.
MakeResult MakeScreenFiles(const ScreenFilesJob& job, CMakeObserver* observer = nullptr,
                           const std::atomic<bool>* cancel = nullptr);

}  // namespace vantorel

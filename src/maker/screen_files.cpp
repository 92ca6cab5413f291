#include "maker/screen_files.h"

#include <system_error>

#include "app/status_text.h"
#include "app/text_ids.h"
#include "maker/controller_file_names.h"

namespace vantorel {

MakeResult MakeScreenFiles(const ScreenFilesJob& job, CMakeObserver* observer, const std::atomic<bool>* cancel) {
  CDataMaker maker(job.workFolder, job.dataFolder);
  maker.Reset();
  maker.SetScreen(job.screen, job.comm);
  maker.SetModel(job.screen.model);
  if (!job.outputFolder.empty()) maker.SetOutputFolder(job.outputFolder);
  maker.SetOptions(job.options);
  MakeResult result = maker.Make(job.records, observer, cancel);
  if (!result.made || job.records.empty()) return result;
  const std::filesystem::path runSchedule = maker.Context().outputFolder / RunScheduleName(job.screen.number);
  if (Status written = job.schedule.WriteControllerSchedule(runSchedule); !written) {
    result.made = false;
    result.failure = Status::Failure(kTextCannotMakeData, StatusMessage(written)).WithTitle(kTextError);
    return result;
  }
  std::error_code error;
  if (std::filesystem::is_regular_file(runSchedule, error)) {
    result.files.push_back(runSchedule);
    const auto size = std::filesystem::file_size(runSchedule, error);
    if (!error) result.bytes += size;
  }
  return result;
}

}  // namespace vantorel

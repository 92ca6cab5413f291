// The file-bound operations of the playbill document: new, open, save, save to another file and
// switching screens.

#include <ctime>
#include <string>
#include <system_error>

#include "app/text_ids.h"
#include "platform/atomic_file.h"

#include "playbill/playbill_paths.h"
#include "playbill/playbill_reader.h"
#include "playbill/playbill_transfer.h"
#include "playbill/playbill_writer.h"
#include "playbill/prg_list.h"
#include "playbill/prg_list_doc.h"
#include "playbill/stored_paths.h"

namespace vantorel {
namespace {

bool HasProgram(const PrgList& list) { return ProgramRecordAt(list, 0) >= 0; }

std::filesystem::path Normalized(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::weakly_canonical(path, error);
  return error ? path.lexically_normal() : absolute;
}

int FirstItem(const PrgList& list) {
  for (int index = 0; index < RecordCount(list); ++index) {
    if (list[static_cast<std::size_t>(index)].IsItem()) return index;
  }
  return list.empty() ? -1 : 0;
}

// Local time as "YYYYMMDD-HHMMSS", the suffix of a kept file.
std::string TimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

}  // namespace

bool CPrgListDoc::IsScreenFile(const std::filesystem::path& file) const {
  const std::filesystem::path own = PlaybillPath();
  return !own.empty() && Normalized(own) == Normalized(file);
}

PrgList CPrgListDoc::ShippedDefault() const {
  PrgList list;
  tagScreenInfo fileScreen;
  if (m_defaultPlaybill.empty() || !ReadPlaybillScreen(m_defaultPlaybill, fileScreen) ||
      !IsImportCompatible(fileScreen, CurrentScreen())) {
    return list;
  }
  int version = kPlaybillVersion;
  (void)ReadPlaybill(m_defaultPlaybill, list, version, &CurrentScreen());
  if (!HasProgram(list)) list.clear();
  return list;
}

Status CPrgListDoc::NewDocument() {
  m_history.Clear();  // a new playbill has no past
  PrgList shipped = ShippedDefault();
  m_defaultPlaybill.clear();  // the shipped playbill starts the first screen only
  if (shipped.empty()) {
    ResetToDefault();
  } else {
    const int item = FirstItem(shipped);
    SetRecords(std::move(shipped));
    Select(item);
  }
  m_version = kPlaybillVersion;
  m_schedule.Clear();
  m_schedule.SetProgramCount(m_summary.programCount);
  m_modified = true;
  return Save();
}

Status CPrgListDoc::KeepDamaged(const std::filesystem::path& file, const Status& why, TextId notice) {
  const std::string stem = file.string() + ".damaged-" + TimeStamp();
  std::error_code error;
  // A rename replaces its target: a file kept within the same second must not be lost.
  std::filesystem::path kept = stem;
  for (int copy = 2; std::filesystem::exists(kept, error) || error; ++copy) {
    if (error) return Status::SystemError(error.value(), kept);
    kept = stem + "-" + std::to_string(copy);
  }
  std::filesystem::rename(file, kept, error);
  if (error) return Status::SystemError(error.value(), file);
  // The reason without the path it names: the kept path says where the file is now.
  const std::string& detail = why.detail();
  const std::string reason = detail.substr(0, detail.find(" \u2014 "));
  m_notices.push_back(Status::Failure(notice, kept.string() + " (" + reason + ")"));
  return Status::Ok();
}

Status CPrgListDoc::OpenScreen(int index) {
  if (!m_screens.IsValidIndex(index)) return Status::Failure(kTextFailed, "no screen " + std::to_string(index + 1));
  const int previous = m_screenIndex;
  m_screenIndex = index;
  const std::filesystem::path file = PlaybillPath();
  std::error_code error;
  if (!file.empty() && std::filesystem::exists(file, error)) {
    const Status opened = OpenFile(file);
    if (opened) {
      m_history.Clear();  // steps of the playbill shown before belong to another screen
      return Status::Ok();
    }
    // The user's programs are in that file: it is never replaced by a new playbill.
    if (Status kept = KeepDamaged(file, opened, kTextPlaybillKept); !kept) {
      m_screenIndex = previous;
      return kept;
    }
  }
  return NewDocument();
}

Status CPrgListDoc::SelectScreen(int index) {
  if (!m_screens.IsValidIndex(index)) return Status::Failure(kTextFailed, "no screen " + std::to_string(index + 1));
  if (Status saved = Save(); !saved) return saved;
  RememberSelection();
  std::error_code error;
  const std::filesystem::path file = PlaybillPathFor(m_screens.Screen(index), m_workFolder);
  const bool hadFile = !file.empty() && std::filesystem::exists(file, error);
  const std::size_t noticesBefore = m_notices.size();
  Status opened = OpenScreen(index);
  // The remembered selection belongs to the playbill that was read, not to a kept damaged one.
  if (opened && hadFile && m_notices.size() == noticesBefore) RestoreSelection();
  return opened;
}

Status CPrgListDoc::Save() {
  m_history.BreakMerge();
  if (!m_modified && !m_schedule.IsModified() && IsScreenFile(m_path)) return Status::Ok();
  const std::filesystem::path file = PlaybillPath();
  if (file.empty()) return Status::Failure(kTextFailed, "no playbill file for the screen " + CurrentScreen().scrName.str());
  if (m_modified) {
    if (Status stored = WritePlaybill(file, m_records, CurrentScreen()); !stored) return stored;
    m_modified = false;
  }
  m_path = file;
  if (m_schedule.IsModified()) {
    if (Status stored = StoreSchedule(m_schedule, file); !stored) return stored;
    m_schedule.SetModified(false);
  }
  return Status::Ok();
}

Status CPrgListDoc::SaveToFile(const std::filesystem::path& file) {
  if (Status stored = WritePlaybill(file, m_records, CurrentScreen()); !stored) return stored;
  const bool newFile = Normalized(file) != Normalized(m_path);
  m_path = file;
  const bool screenFile = IsScreenFile(file);
  if (screenFile) m_modified = false;
  if (m_schedule.IsModified() || newFile) {
    if (Status stored = StoreSchedule(m_schedule, file); !stored) return stored;
    if (screenFile) m_schedule.SetModified(false);
  }
  return Status::Ok();
}

Expected<CPlaySchedule> CPrgListDoc::ReadScheduleBeside(const std::filesystem::path& file) {
  const std::filesystem::path scheduleFile = SchedulePathFor(file);
  CPlaySchedule schedule;
  const Expected<ReadWarnings> read = schedule.ReadSchedule(scheduleFile);
  m_scheduleWarnings = read.value_or(ReadWarnings());
  if (read) return schedule;
  if (!IsScreenFile(file)) return read.status();
  if (Status kept = KeepDamaged(scheduleFile, read.status(), kTextScheduleKept); !kept) return kept;
  return schedule;
}

Status CPrgListDoc::OpenFile(const std::filesystem::path& file) {
  PrgList list;
  int version = m_version;
  if (const auto read = ReadPlaybill(file, list, version, &CurrentScreen()); !read) {
    return read.status().WithText(kTextFailed);
  }
  if (!HasProgram(list)) return Status::Failure(kTextFailed, "no program \u2014 " + file.string());
  Expected<CPlaySchedule> schedule = ReadScheduleBeside(file);
  if (!schedule) return schedule.status();
  WillChange();
  SetRecords(std::move(list));
  m_version = version;
  m_path = file;
  const bool fitted = FitWindowsToScreen();
  m_schedule = std::move(*schedule);
  // A playbill without periods: the columns start in step with its programs.
  if (m_schedule.EntryCount() == 0) m_schedule.SetProgramCount(m_summary.programCount);
  const bool screenFile = IsScreenFile(file);
  m_modified = fitted || !screenFile;
  m_schedule.SetModified(!screenFile);
  return Status::Ok();
}

}  // namespace vantorel

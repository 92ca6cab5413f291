// The file-bound operations of the playbill document: new, open, save, save to another file and
// switching screens.

#include <system_error>

#include "playbill/playbill_paths.h"
#include "playbill/playbill_reader.h"
#include "playbill/playbill_transfer.h"
#include "playbill/playbill_writer.h"
#include "playbill/prg_list.h"
#include "playbill/prg_list_doc.h"

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
  ReadPlaybill(m_defaultPlaybill, list, version, &CurrentScreen());
  if (!HasProgram(list)) list.clear();
  return list;
}

bool CPrgListDoc::NewDocument() {
  PrgList shipped = ShippedDefault();
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

bool CPrgListDoc::SelectScreen(int index) {
  if (!m_screens.IsValidIndex(index) || !Save()) return false;
  RememberSelection();
  m_screenIndex = index;
  const std::filesystem::path file = PlaybillPath();
  std::error_code error;
  if (!file.empty() && std::filesystem::exists(file, error) && OpenFile(file)) {
    RestoreSelection();
  } else {
    NewDocument();
  }
  return true;
}

bool CPrgListDoc::Save() {
  if (!m_modified && !m_schedule.IsModified() && IsScreenFile(m_path)) return true;
  const std::filesystem::path file = PlaybillPath();
  if (file.empty()) return false;
  if (m_modified) {
    if (!WritePlaybill(file, m_records, CurrentScreen())) return false;
    m_modified = false;
  }
  m_path = file;
  if (m_schedule.IsModified()) {
    if (m_schedule.WriteSchedule(SchedulePathFor(file)) != 0) return false;
    m_schedule.SetModified(false);
  }
  return true;
}

bool CPrgListDoc::SaveToFile(const std::filesystem::path& file) {
  if (!WritePlaybill(file, m_records, CurrentScreen())) return false;
  const bool newFile = Normalized(file) != Normalized(m_path);
  m_path = file;
  const bool screenFile = IsScreenFile(file);
  if (screenFile) m_modified = false;
  if (m_schedule.IsModified() || newFile) {
    if (m_schedule.WriteSchedule(SchedulePathFor(file)) != 0) return false;
    if (screenFile) m_schedule.SetModified(false);
  }
  return true;
}

bool CPrgListDoc::OpenFile(const std::filesystem::path& file) {
  PrgList list;
  int version = m_version;
  if (ReadPlaybill(file, list, version, &CurrentScreen()) < 0 || !HasProgram(list)) return false;
  SetRecords(std::move(list));
  m_version = version;
  m_path = file;
  const bool fitted = FitWindowsToScreen();
  m_schedule.ReadSchedule(SchedulePathFor(file));
  // A playbill without periods: the columns start in step with its programs.
  if (m_schedule.EntryCount() == 0) m_schedule.SetProgramCount(m_summary.programCount);
  const bool screenFile = IsScreenFile(file);
  m_modified = fitted || !screenFile;
  m_schedule.SetModified(!screenFile);
  return true;
}

}  // namespace vantorel

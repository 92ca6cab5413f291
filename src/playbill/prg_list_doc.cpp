#include "playbill/prg_list_doc.h"

#include <algorithm>
#include <iterator>

#include "playbill/display_names.h"
#include "playbill/item_builder.h"
#include "playbill/media_check.h"
#include "playbill/playbill_paths.h"
#include "playbill/prg_list.h"
#include "playbill/window_fit.h"

namespace vantorel {
namespace {

constexpr std::uint16_t kBackgroundStretched = 2;

std::ptrdiff_t Offset(int index) { return static_cast<std::ptrdiff_t>(index); }

}  // namespace

CPrgListDoc::CPrgListDoc(std::filesystem::path workFolder, ItemDefaults defaults)
    : m_workFolder(std::move(workFolder)), m_defaults(defaults) {}

int CPrgListDoc::CurrentScreenIndex() const { return m_screens.IsValidIndex(m_screenIndex) ? m_screenIndex : 0; }

void CPrgListDoc::RememberSelection() { m_screens.SetSelectedRecord(CurrentScreenIndex(), CurrentRecord()); }

void CPrgListDoc::RestoreSelection() {
  const int remembered = m_screens.SelectedRecord(CurrentScreenIndex());
  const int count = RecordCount(m_records);
  Select(remembered >= 0 && remembered < count ? remembered : (count > 0 ? 0 : -1));
}

void CPrgListDoc::SetRecords(PrgList records) {
  m_records = std::move(records);
  Renumber(m_records);
  m_summary = Summarize(m_records, m_records.empty() ? -1 : 0);
  m_modified = false;
}

bool CPrgListDoc::ReplaceRecord(int index, tagPrgItem record, std::uint64_t mergeKey) {
  if (index < 0 || index >= RecordCount(m_records)) return false;
  if (Record(index).level != record.level) return false;
  record.positionKey = Record(index).positionKey;
  if (record == Record(index)) return true;
  WillChange(mergeKey);
  m_records[static_cast<std::size_t>(index)] = std::move(record);
  Changed(CurrentRecord());
  return true;
}

bool CPrgListDoc::SetWindowRect(int record, WindowRect rect, std::uint64_t mergeKey) {
  if (record < 0 || record >= RecordCount(m_records) || !Record(record).IsWindow()) return false;
  const tagScreenInfo& screen = CurrentScreen();
  const WindowRect fitted = FitWindowRect(rect, screen.width, screen.height);
  tagPrgItem window = Record(record);
  window.window.left = fitted.left;
  window.window.top = fitted.top;
  window.window.width = fitted.width;
  window.window.height = fitted.height;
  return ReplaceRecord(record, std::move(window), mergeKey);
}

bool CPrgListDoc::Select(int record) {
  if (record < -1 || record >= RecordCount(m_records)) return false;
  if (record != CurrentRecord()) m_history.BreakMerge();
  m_summary = Summarize(m_records, record);
  return true;
}

std::string CPrgListDoc::DisplayName(int record) const { return RecordDisplayName(m_records, record); }

Status CPrgListDoc::ReplaceSchedulePeriods(std::span<const ScheduleEntry> periods) {
  CPlaySchedule rebuilt = m_schedule;
  if (Status replaced = rebuilt.ReplaceEntries(m_summary.programCount, periods); !replaced) return replaced;
  WillChange();
  m_schedule = std::move(rebuilt);
  Changed(CurrentRecord());
  return Status::Ok();
}

void CPrgListDoc::WillChange(std::uint64_t mergeKey) { m_history.Record(State(), mergeKey); }

EditState CPrgListDoc::State() const { return {m_records, m_schedule, CurrentRecord()}; }

bool CPrgListDoc::Restore(std::optional<EditState> state) {
  if (!state) return false;
  m_records = std::move(state->records);
  // The schedule file is written again only when the schedule is not what it was.
  const bool scheduleChanged = m_schedule.ProgramCount() != state->schedule.ProgramCount() ||
                               m_schedule.Attribute() != state->schedule.Attribute() ||
                               m_schedule.Entries() != state->schedule.Entries();
  const bool scheduleModified = m_schedule.IsModified() || scheduleChanged;
  m_schedule = std::move(state->schedule);
  m_schedule.SetModified(scheduleModified);
  Changed(state->selection);
  return true;
}

bool CPrgListDoc::Undo() { return Restore(m_history.Undo(State())); }

bool CPrgListDoc::Redo() { return Restore(m_history.Redo(State())); }

void CPrgListDoc::Changed(int select) {
  Renumber(m_records);
  m_summary = Summarize(m_records, select);
  m_modified = true;
}

void CPrgListDoc::InsertProgram(int at, tagPrgItem program, const std::vector<WindowRect>& windows,
                                bool crossItems) {
  PrgList records;
  records.push_back(std::move(program));
  for (const WindowRect& rect : windows) {
    records.push_back(NewWindowRecord(rect.left, rect.top, rect.width, rect.height));
    records.push_back(NewItemRecord(m_defaults, crossItems));
  }
  m_records.insert(m_records.begin() + Offset(at), std::make_move_iterator(records.begin()),
                   std::make_move_iterator(records.end()));
}

void CPrgListDoc::EraseRange(int begin, int end) {
  m_records.erase(m_records.begin() + Offset(begin), m_records.begin() + Offset(end));
}

void CPrgListDoc::ResetToDefault() {
  m_records.clear();
  const tagScreenInfo& screen = CurrentScreen();
  InsertProgram(0, NewProgramRecord(), LayoutWindows(0, screen.width, screen.height), false);
  Changed(2);
}

bool CPrgListDoc::AddProgram() {
  const int programRecord = m_summary.programRecord;
  const int at = programRecord >= 0 ? SubtreeEnd(m_records, programRecord) : RecordCount(m_records);
  const int position = programRecord >= 0 ? m_summary.currentProgram + 1 : m_summary.programCount;
  const tagScreenInfo& screen = CurrentScreen();
  WillChange();
  InsertProgram(at, NewProgramRecord(), LayoutWindows(0, screen.width, screen.height), false);
  if (m_slots) m_slots->InsertProgram(position, false);
  Changed(at + 2);
  return true;
}

bool CPrgListDoc::ApplyLayout(int layout) {
  const int programRecord = m_summary.programRecord;
  const tagScreenInfo& screen = CurrentScreen();
  const std::vector<WindowRect> windows = LayoutWindows(layout, screen.width, screen.height);
  if (programRecord < 0 || windows.empty()) return false;

  const int program = m_summary.currentProgram;
  const int programEnd = SubtreeEnd(m_records, programRecord);
  tagPrgItem replacement = NewProgramRecord();
  const tagProgramPart& old = Record(programRecord).program;
  replacement.program.backgrd = old.backgrd;
  replacement.program.showMode = old.showMode;
  WillChange();
  InsertProgram(programEnd, std::move(replacement), windows, layout != 0);
  if (m_slots) m_slots->InsertProgram(program + 1, false);

  EraseRange(programRecord, programEnd);
  if (m_slots) m_slots->RemoveProgram(program);
  Changed(programRecord + 2);
  return true;
}

bool CPrgListDoc::CanAddItem() const { return m_summary.itemRecord >= 0; }

bool CPrgListDoc::AddItem() {
  if (!CanAddItem()) return false;
  const int at = m_summary.itemRecord + 1;
  WillChange();
  m_records.insert(m_records.begin() + Offset(at), NewItemRecord(m_defaults, false));
  Changed(at);
  return true;
}

bool CPrgListDoc::AddMediaItem(std::uint16_t kind, const std::filesystem::path& media) {
  // A path cut to the field would name another file.
  if (!CanAddItem() || media.empty() || media.string().size() > decltype(tagItemPart::media)::kMaxBytes) return false;
  tagPrgItem item = NewItemRecord(m_defaults, false);
  StartItemKind(item.item, kind);
  item.item.media = media.string();
  const int at = m_summary.itemRecord + 1;
  WillChange();
  m_records.insert(m_records.begin() + Offset(at), std::move(item));
  Changed(at);
  return true;
}

bool CPrgListDoc::CanDeleteProgram() const { return m_summary.programRecord >= 0 && m_summary.programCount > 1; }

bool CPrgListDoc::CanDeleteItem() const { return m_summary.itemRecord >= 0; }

bool CPrgListDoc::Delete(int record) {
  if (record < 0 || record >= RecordCount(m_records)) return false;
  const tagPrgItem& target = Record(record);
  if (target.IsProgram()) {
    const int programCount = m_summary.programCount;
    if (programCount <= 1) return false;
    const int program = CountLevel(m_records, 0, record, kLevelProgram);
    WillChange();
    EraseRange(record, SubtreeEnd(m_records, record));
    if (m_slots) m_slots->RemoveProgram(program);
    // The next program moves into the deleted one's place; after the last, the previous one.
    Changed(ProgramRecordAt(m_records, program < programCount - 1 ? program : program - 1));
    return true;
  }
  if (target.IsItem()) {
    WillChange();
    EraseRange(record, record + 1);
    Changed(record < RecordCount(m_records) ? record : record - 1);
    return true;
  }
  return false;
}

bool CPrgListDoc::CanMoveProgramUp() const { return m_summary.currentProgram > 0; }

bool CPrgListDoc::CanMoveProgramDown() const {
  return m_summary.currentProgram >= 0 && m_summary.currentProgram < m_summary.programCount - 1;
}

bool CPrgListDoc::MoveProgramUp() { return MoveProgram(false); }

bool CPrgListDoc::MoveProgramDown() { return MoveProgram(true); }

bool CPrgListDoc::MoveProgram(bool down) {
  if (down ? !CanMoveProgramDown() : !CanMoveProgramUp()) return false;
  const int program = m_summary.currentProgram;
  // Rotating [first, middle, last) swaps the two neighbouring subtrees.
  const int upper = ProgramRecordAt(m_records, down ? program : program - 1);
  const int middle = SubtreeEnd(m_records, upper);
  const int last = SubtreeEnd(m_records, middle);
  const int selected = CurrentRecord();
  WillChange();
  std::rotate(m_records.begin() + Offset(upper), m_records.begin() + Offset(middle), m_records.begin() + Offset(last));
  if (m_slots) m_slots->SwapProgram(program, down);
  // The selected record travels with its program.
  Changed(down ? selected + (last - middle) : selected - (middle - upper));
  return true;
}

bool CPrgListDoc::ClearBackground() {
  const int programRecord = m_summary.programRecord;
  if (programRecord < 0) return false;
  WillChange();
  tagProgramPart& program = m_records[static_cast<std::size_t>(programRecord)].program;
  program.backgrd.clear();
  program.showMode = 0;
  Changed(CurrentRecord());
  return true;
}

bool CPrgListDoc::SetBackground(const std::filesystem::path& picture, const PictureProbe& isDecodable) {
  const int programRecord = m_summary.programRecord;
  const std::string path = picture.string();
  // A path cut to the field would name another file.
  if (programRecord < 0 || path.empty() || path.size() > decltype(tagProgramPart::backgrd)::kMaxBytes) return false;
  if (!isDecodable || !isDecodable(picture)) return false;
  WillChange();
  tagProgramPart& program = m_records[static_cast<std::size_t>(programRecord)].program;
  program.backgrd = path;
  program.showMode = kBackgroundStretched;
  Changed(CurrentRecord());
  return true;
}

bool CPrgListDoc::FitWindowsToScreen() {
  const tagScreenInfo& screen = CurrentScreen();
  if (!IsPlaybillClass(screen) || !vantorel::FitWindowsToScreen(m_records, screen.width, screen.height)) return false;
  m_modified = true;
  return true;
}

int CPrgListDoc::CountMissingMedia() const { return vantorel::CountMissingMedia(m_records); }

std::filesystem::path CPrgListDoc::PlaybillPath() const { return PlaybillPathFor(CurrentScreen(), m_workFolder); }

std::filesystem::path CPrgListDoc::SchedulePath() const { return SchedulePathFor(PlaybillPath()); }

}  // namespace vantorel

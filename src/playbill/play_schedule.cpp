#include "playbill/play_schedule.h"

#include <algorithm>
#include <utility>

#include "app/text_format.h"
#include "app/text_ids.h"

namespace vantorel {
namespace {

std::size_t Column(int program) { return kEntryFixedChars + static_cast<std::size_t>(program); }

}  // namespace

bool CPlaySchedule::SetProgramCount(int count) {
  if (!m_entries.empty() || count < 0 || count > kMaxCount) return false;
  m_programCount = count;
  m_modified = true;
  return true;
}

void CPlaySchedule::SetAttribute(int attribute) {
  m_attribute = attribute;
  m_modified = true;
}

void CPlaySchedule::Clear() {
  m_entries.clear();
  m_modified = true;
}

bool CPlaySchedule::AddEntry(int type, std::string_view weekdays, ScheduleDate startDate, ScheduleDate endDate,
                             ScheduleTime startTime, ScheduleTime endTime, std::string_view programs) {
  if (programs.size() != static_cast<std::size_t>(m_programCount)) return false;
  auto entry = MakeEntry(type, weekdays, startDate, endDate, startTime, endTime, programs);
  if (!entry || EntryCount() >= kMaxCount) return false;
  m_entries.push_back(std::move(*entry));
  m_modified = true;
  return true;
}

bool CPlaySchedule::AddEntry(const ScheduleEntry& period) {
  return AddEntry(period.type, period.weekdays, period.startDate, period.endDate, period.startTime, period.endTime,
                  period.programs);
}

Status CPlaySchedule::ReplaceEntries(int programCount, std::span<const ScheduleEntry> periods) {
  CPlaySchedule rebuilt;
  if (!rebuilt.SetProgramCount(programCount)) return Status::Failure(kTextFailed, FormatText("%d programs", programCount));
  for (std::size_t line = 0; line < periods.size(); ++line) {
    if (!rebuilt.AddEntry(periods[line])) {
      return Status::Failure(kTextFailed, FormatText("period %zu does not fit a schedule of %d programs", line + 1, programCount));
    }
  }
  m_programCount = rebuilt.m_programCount;
  m_entries = std::move(rebuilt.m_entries);
  m_modified = true;
  return Status::Ok();
}

bool CPlaySchedule::RemoveEntry(int index) {
  if (index < 0 || index >= EntryCount()) return false;
  m_entries.erase(m_entries.begin() + index);
  m_modified = true;
  return true;
}

std::optional<ScheduleEntry> CPlaySchedule::GetEntry(int index) const {
  if (index < 0 || index >= EntryCount()) return std::nullopt;
  return ParseEntry(m_entries[static_cast<std::size_t>(index)]);
}

std::vector<ScheduleEntry> CPlaySchedule::Periods() const {
  std::vector<ScheduleEntry> periods;
  for (const std::string& entry : m_entries) {
    if (auto period = ParseEntry(entry)) periods.push_back(std::move(*period));
  }
  return periods;
}

void CPlaySchedule::InsertProgram(int position, bool plays) {
  if (position < 0 || m_programCount >= kMaxCount) return;
  position = std::min(position, m_programCount);
  for (std::string& entry : m_entries) entry.insert(Column(position), 1, plays ? '1' : '0');
  ++m_programCount;
  m_modified = true;
}

void CPlaySchedule::RemoveProgram(int position) {
  if (position < 0 || position >= m_programCount) return;
  for (std::string& entry : m_entries) entry.erase(Column(position), 1);
  --m_programCount;
  m_modified = true;
}

void CPlaySchedule::SwapProgram(int position, bool down) {
  const int other = down ? position + 1 : position - 1;
  if (position < 0 || position >= m_programCount || other < 0 || other >= m_programCount) return;
  for (std::string& entry : m_entries) std::swap(entry[Column(position)], entry[Column(other)]);
  m_modified = true;
}

}  // namespace vantorel

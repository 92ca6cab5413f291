#include "playbill/play_schedule.h"

#include <algorithm>
#include <utility>

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

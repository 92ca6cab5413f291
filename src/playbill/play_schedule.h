#pragma once
// The play schedule of a playbill: periods (entry strings, schedule_entry.h) saying which programs
// play when. It keeps one column per program and follows the programs the document inserts,
// removes and moves. Stored beside the playbill as a ".rsh" settings file, and sent to controllers
// as a big-endian ".rsf" run schedule.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "playbill/schedule_entry.h"
#include "playbill/schedule_slots.h"

namespace vantorel {

class CPlaySchedule final : public IScheduleSlots {
public:
  // Program and entry counts a schedule file may give.
  static constexpr int kMaxCount = 65535;

  int ProgramCount() const { return m_programCount; }
  // Only while there is no entry: entries are as long as the program count says.
  bool SetProgramCount(int count);
  int Attribute() const { return m_attribute; }
  void SetAttribute(int attribute);
  int EntryCount() const { return static_cast<int>(m_entries.size()); }
  const std::vector<std::string>& Entries() const { return m_entries; }
  bool IsModified() const { return m_modified; }
  void SetModified(bool modified) { m_modified = modified; }

  // Frees every entry; the program count stays.
  void Clear();
  // Appends a period; `programs` holds one "1" or "0" per program. False when the parts make no
  // valid entry for this schedule's program count (see MakeEntry).
  bool AddEntry(int type, std::string_view weekdays, ScheduleDate startDate, ScheduleDate endDate,
                ScheduleTime startTime, ScheduleTime endTime, std::string_view programs);
  bool RemoveEntry(int index);
  std::optional<ScheduleEntry> GetEntry(int index) const;

  // The program columns follow the playbill. A position out of range changes nothing (inserting
  // past the end appends).
  void InsertProgram(int position, bool plays) override;
  void RemoveProgram(int position) override;
  void SwapProgram(int position, bool down) override;

  // The ".rsh" file. Reading always succeeds (0): a missing or damaged file gives an empty or
  // shorter schedule, and clears the modified flag. Writing returns 0, or -1 when the file cannot
  // be written (the previous file then stays as it was); an empty schedule leaves no file.
  int ReadSchedule(const std::filesystem::path& file);
  int WriteSchedule(const std::filesystem::path& file) const;
  void ReadScheduleText(std::string_view text);
  // Nothing for an empty schedule (no program or no entry).
  std::optional<std::string> ScheduleText() const;

  // The controller's ".rsf" form; 0, or -1 when it cannot be written. An empty schedule leaves no
  // file.
  int WriteControllerSchedule(const std::filesystem::path& file) const;
  // Nothing for an empty schedule.
  std::optional<std::vector<std::uint8_t>> ControllerScheduleBytes() const;

private:
  bool IsEmpty() const { return m_programCount <= 0 || m_entries.empty(); }

  int m_programCount = 0;
  int m_attribute = 0;
  std::vector<std::string> m_entries;
  bool m_modified = false;
};

}  // namespace vantorel

#pragma once
// The play schedule of a playbill: periods (entry strings, schedule_entry.h) saying which programs
// play when. It keeps one column per program and follows the programs the document inserts,
// removes and moves. Stored beside the playbill as a ".rsh" settings file, and sent to controllers
// as a big-endian ".rsf" run schedule.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"
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
  // The same from an entry's parsed parts (its weekday field as it stands; the mask is not looked at).
  bool AddEntry(const ScheduleEntry& period);
  // What the schedule editor's OK does: cleared, the program count set to the playbill's, then one
  // entry per period in their order; the attribute stays. A period that makes no entry for that
  // count (see MakeEntry) is a failure naming it, and the schedule stays as it was.
  Status ReplaceEntries(int programCount, std::span<const ScheduleEntry> periods);
  bool RemoveEntry(int index);
  std::optional<ScheduleEntry> GetEntry(int index) const;
  // The parts of every entry that parses, in their order.
  std::vector<ScheduleEntry> Periods() const;

  // The program columns follow the playbill. A position out of range changes nothing (inserting
  // past the end appends).
  void InsertProgram(int position, bool plays) override;
  void RemoveProgram(int position) override;
  void SwapProgram(int position, bool down) override;

  // The ".rsh" file. Reading clears the schedule first and then takes what is sound: a missing file
  // gives an empty schedule; another VERSION than 1, counts out of range and entries that are not
  // exactly 40 + PRGCNT printable characters starting with "1" are dropped and counted in the
  // warnings ("ITEM3: length 42, expected 43"). A file that exists but cannot be read is a failure
  // (the schedule stays empty). The modified flag is cleared.
  Expected<ReadWarnings> ReadSchedule(const std::filesystem::path& file);
  ReadWarnings ReadScheduleText(std::string_view text);
  // Writing: see WriteScheduleFile.
  Status WriteSchedule(const std::filesystem::path& file) const;
  // Nothing for an empty schedule (no program or no entry); a failure when an entry is missing.
  Expected<std::optional<std::string>> ScheduleText() const;

  // The controller's ".rsf" form. The old file is deleted first, so a failure (the system's reason
  // and the path) leaves none behind to be sent; an empty schedule leaves no file.
  Status WriteControllerSchedule(const std::filesystem::path& file) const;
  // Nothing for an empty schedule. Entries that do not parse are left out (and out of the count).
  std::optional<std::vector<std::uint8_t>> ControllerScheduleBytes() const;

private:
  bool IsEmpty() const { return m_programCount <= 0 || m_entries.empty(); }

  int m_programCount = 0;
  int m_attribute = 0;
  std::vector<std::string> m_entries;
  bool m_modified = false;
};

// The ".rsh" text of a schedule's parts: nothing when there is no program or no entry; a failure
// naming the first entry that is missing (empty) or damaged: not 40 + `programCount` printable
// characters starting with "1" ("ITEM2: missing", "ITEM0: length 42, expected 43").
Expected<std::optional<std::string>> ScheduleFileText(int programCount, int attribute, std::span<const std::string> entries);
// Writes that text in place of `file` (through a temporary file: a failed write leaves the old one
// as it was). An empty schedule deletes `file`; so does a missing entry, which then fails.
Status WriteScheduleFile(const std::filesystem::path& file, int programCount, int attribute,
                         std::span<const std::string> entries);

}  // namespace vantorel

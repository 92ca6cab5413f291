#pragma once
// The schedule file of a screen (IIII ".lpt", magic "LT"): one 7-byte record per program that
// carries a time schedule (bit 8 of its first "TIMESCH" value set), docs/formats.md, "Schedule
// file". Written only when there is at least one record; the caller decides.
//
// Pure functions; the writer replaces the file through a temporary one. Safe on any thread.

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "platform/status.h"

namespace vantorel {

inline constexpr std::size_t kScheduleHeaderBytes = 7;
inline constexpr std::size_t kScheduleRecordBytes = 7;

struct ProgramScheduleRecord {
  std::uint16_t program = 0;               // 0 for the first program of the playbill
  std::array<std::uint16_t, 3> timeSch{};  // the "TIMESCH" values: the first and third keep their low byte

  friend bool operator==(const ProgramScheduleRecord&, const ProgramScheduleRecord&) = default;
};

// At most 65535 records are stored.
std::vector<std::uint8_t> ProgramScheduleBytes(std::span<const ProgramScheduleRecord> records);
// Refuses more than 65535 records; a failed write leaves the old file as it was.
Status WriteProgramSchedule(const std::filesystem::path& file, std::span<const ProgramScheduleRecord> records);

}  // namespace vantorel

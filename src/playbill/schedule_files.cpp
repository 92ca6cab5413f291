// The two stored forms of a play schedule: the ".rsh" settings file beside the playbill and the
// big-endian ".rsf" run schedule of the controller.

#include <algorithm>
#include <array>
#include <system_error>

#include "app/ini_file.h"
#include "app/text_format.h"
#include "app/text_ids.h"
#include "platform/atomic_file.h"
#include "platform/byte_writer.h"
#include "playbill/play_schedule.h"
#include "screen/ascii_text.h"

namespace vantorel {
namespace {

constexpr std::string_view kSection = "RUNSCH";
constexpr int kScheduleVersion = 1;

std::string ItemKey(std::size_t index) { return FormatText("ITEM%zu", index); }

// Deletes `file`; one that is not there counts as deleted.
Status Remove(const std::filesystem::path& file) {
  std::error_code error;
  std::filesystem::remove(file, error);
  return error ? Status::SystemError(error.value(), file) : Status::Ok();
}

int IntValue(const CIniFile::SectionValues& values, std::string_view key) {
  const auto found = values.find(key);
  return found == values.end() ? 0 : DecimalValue(found->second);
}

// Why an entry is not whole for `programCount` programs, or nothing. An entry holds digits and the
// marks "^", "+" and "_"; control characters, blanks or bytes beyond ASCII mean a damaged line,
// which would not even read back the same once written.
std::optional<std::string> EntryProblem(std::string_view entry, int programCount) {
  const std::size_t length = kEntryFixedChars + static_cast<std::size_t>(programCount);
  if (entry.empty()) return "missing";
  if (entry.size() != length) return FormatText("length %zu, expected %zu", entry.size(), length);
  if (!entry.starts_with('1')) return std::string("does not start with \"1\"");
  const bool printable = std::all_of(entry.begin(), entry.end(), [](char c) { return c > ' ' && c < 0x7F; });
  if (!printable) return std::string("holds a blank, a control character or a byte beyond ASCII");
  return std::nullopt;
}

// A count of the file: 0 (nothing stored) or within what a schedule holds; nothing otherwise.
bool CountInRange(const CIniFile::SectionValues& values, std::string_view key, ReadWarnings& warnings) {
  const int count = IntValue(values, key);
  if (count >= 0 && count <= CPlaySchedule::kMaxCount) return true;
  warnings.Drop(FormatText("%s %d: out of range 0..%d", std::string(key).c_str(), count, CPlaySchedule::kMaxCount));
  return false;
}

}  // namespace

Expected<std::optional<std::string>> ScheduleFileText(int programCount, int attribute, std::span<const std::string> entries) {
  if (programCount <= 0 || entries.empty()) return std::optional<std::string>();
  std::string text = FormatText("[%s]\r\nVERSION=%d\r\nPRGCNT=%d\r\nSCHCNT=%zu\r\nATTRIB=%d\r\n", kSection.data(),
                                kScheduleVersion, programCount, entries.size(), attribute);
  for (std::size_t index = 0; index < entries.size(); ++index) {
    if (const auto problem = EntryProblem(entries[index], programCount)) {
      return Status::Failure(kTextFailed, ItemKey(index) + ": " + *problem);
    }
    text += ItemKey(index) + "=" + entries[index] + "\r\n";
  }
  return std::optional<std::string>(std::move(text));
}

Status WriteScheduleFile(const std::filesystem::path& file, int programCount, int attribute,
                         std::span<const std::string> entries) {
  if (file.empty()) return Status::Failure(kTextFailed, "no schedule file");
  const Expected<std::optional<std::string>> text = ScheduleFileText(programCount, attribute, entries);
  if (text && *text) return WriteFileAtomically(file, **text);
  // Nothing to store, or a schedule that cannot be stored whole: no file stays that tells of
  // another schedule.
  const Status removed = Remove(file);
  if (!text) return Status::Failure(kTextFailed, text.status().detail() + " \u2014 " + file.string());
  return removed;
}

ReadWarnings CPlaySchedule::ReadScheduleText(std::string_view text) {
  m_entries.clear();
  m_programCount = 0;
  m_attribute = 0;
  m_modified = false;
  ReadWarnings warnings;
  const CIniFile::SectionValues values = CIniFile::Parse(text).Values(kSection);
  if (values.empty()) return warnings;
  if (const int version = IntValue(values, "VERSION"); version != kScheduleVersion) {
    warnings.Drop(FormatText("VERSION %d: only version %d is read", version, kScheduleVersion));
    return warnings;
  }
  if (!CountInRange(values, "PRGCNT", warnings) || !CountInRange(values, "SCHCNT", warnings)) return warnings;
  const int programCount = IntValue(values, "PRGCNT");
  const int entryCount = IntValue(values, "SCHCNT");
  if (programCount == 0 || entryCount == 0) return warnings;
  m_programCount = programCount;
  m_attribute = IntValue(values, "ATTRIB");
  for (std::size_t index = 0; index < static_cast<std::size_t>(entryCount); ++index) {
    const auto found = values.find(ItemKey(index));
    const std::string_view entry = found == values.end() ? std::string_view() : std::string_view(found->second);
    if (const auto problem = EntryProblem(entry, programCount)) {
      warnings.Drop(ItemKey(index) + ": " + *problem);
    } else {
      m_entries.emplace_back(entry);
    }
  }
  return warnings;
}

Expected<ReadWarnings> CPlaySchedule::ReadSchedule(const std::filesystem::path& file) {
  ReadScheduleText({});
  std::error_code error;
  if (!std::filesystem::exists(file, error) && !error) return ReadWarnings();
  std::string text;
  if (Status read = ReadWholeFile(file, text); !read) return read;
  return ReadScheduleText(text);
}

Expected<std::optional<std::string>> CPlaySchedule::ScheduleText() const {
  return ScheduleFileText(m_programCount, m_attribute, m_entries);
}

Status CPlaySchedule::WriteSchedule(const std::filesystem::path& file) const {
  return WriteScheduleFile(file, m_programCount, m_attribute, m_entries);
}

std::optional<std::vector<std::uint8_t>> CPlaySchedule::ControllerScheduleBytes() const {
  if (IsEmpty()) return std::nullopt;
  const auto programCount = static_cast<std::uint16_t>(m_programCount);
  const std::size_t bitBytes = (static_cast<std::size_t>(programCount) + 7) / 8;
  const std::vector<ScheduleEntry> entries = Periods();
  ByteWriter out;
  out.Bytes(std::array<std::uint8_t, 4>{0x52, 0x53, 0x01, 0x00});
  out.U16Be(programCount);
  // The count says what follows: entries that could not be parsed are not in the file.
  out.U16Be(static_cast<std::uint16_t>(entries.size()));
  out.Bytes(std::array<std::uint8_t, 4>{0x00, 0x10, 0x00, 0x00});
  out.U8(static_cast<std::uint8_t>(m_attribute));
  out.U8(static_cast<std::uint8_t>(bitBytes));
  out.U16Be(0);
  for (const ScheduleEntry& entry : entries) {
    const auto byte = [&out](int value) { out.U8(static_cast<std::uint8_t>(value)); };
    byte(entry.type * 16 + 1);
    byte(entry.weekdayMask);
    for (const ScheduleDate& date : {entry.startDate, entry.endDate}) {
      byte(date.year % 100);
      byte(date.month);
      byte(date.day);
    }
    for (const ScheduleTime& time : {entry.startTime, entry.endTime}) {
      byte(time.hour);
      byte(time.minute);
      byte(time.second);
    }
    std::vector<std::uint8_t> bits(bitBytes, 0);
    for (std::size_t program = 0; program < programCount; ++program) {
      if (entry.Plays(program)) bits[program / 8] = static_cast<std::uint8_t>(bits[program / 8] | (0x80u >> (program % 8)));
    }
    out.Bytes(bits);
  }
  return std::move(out).Take();
}

Status CPlaySchedule::WriteControllerSchedule(const std::filesystem::path& file) const {
  if (file.empty()) return Status::Failure(kTextFailed, "no run schedule file");
  // An old run schedule must not be sent in place of one that could not be written.
  if (Status removed = Remove(file); !removed) return removed;
  const auto bytes = ControllerScheduleBytes();
  return bytes ? WriteFileAtomically(file, *bytes) : Status::Ok();
}

}  // namespace vantorel

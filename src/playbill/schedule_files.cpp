// The two stored forms of a play schedule: the ".rsh" settings file beside the playbill and the
// big-endian ".rsf" run schedule of the controller.

#include <algorithm>
#include <array>
#include <map>
#include <system_error>

#include "app/text_format.h"
#include "platform/atomic_file.h"
#include "platform/byte_writer.h"
#include "playbill/play_schedule.h"
#include "screen/ascii_text.h"

namespace vantorel {
namespace {

constexpr std::string_view kSection = "RUNSCH";
constexpr int kScheduleVersion = 1;

// Writes `bytes` in place of `file`, or removes `file` when there is nothing to write.
int WriteOrRemove(const std::filesystem::path& file, const std::optional<std::string>& bytes) {
  if (file.empty()) return -1;
  if (bytes) return WriteFileAtomically(file, *bytes) ? 0 : -1;
  std::error_code error;
  std::filesystem::remove(file, error);
  return error ? -1 : 0;
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

// The keys of one section of a settings-style text, as the settings functions of the system that
// made these files see them: names without regard to case, the first of equal keys wins, values
// trimmed and freed of one pair of enclosing quotes.
std::map<std::string, std::string> SectionValues(std::string_view text, std::string_view section) {
  std::map<std::string, std::string> values;
  bool inSection = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = TrimSpaces(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.starts_with('[')) {
      const std::size_t close = line.find(']');
      inSection = close != std::string_view::npos && EqualsIgnoringAsciiCase(TrimSpaces(line.substr(1, close - 1)), section);
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inSection || equals == std::string_view::npos) continue;
    std::string_view value = TrimSpaces(line.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    values.emplace(UpperCase(TrimSpaces(line.substr(0, equals))), std::string(value));
  }
  return values;
}

int IntValue(const std::map<std::string, std::string>& values, const std::string& key) {
  const auto found = values.find(key);
  return found == values.end() ? 0 : DecimalValue(found->second);
}

bool InCountRange(int count) { return count >= 1 && count <= CPlaySchedule::kMaxCount; }

// An entry holds digits and the marks "^", "+" and "_" only; control characters, blanks or bytes
// beyond ASCII mean a damaged line, which would not even read back the same once written.
bool IsEntryText(std::string_view entry) {
  return std::all_of(entry.begin(), entry.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

}  // namespace

void CPlaySchedule::ReadScheduleText(std::string_view text) {
  m_entries.clear();
  m_programCount = 0;
  m_attribute = 0;
  m_modified = false;
  const auto values = SectionValues(text, kSection);
  if (IntValue(values, "VERSION") != kScheduleVersion) return;
  const int programCount = IntValue(values, "PRGCNT");
  const int entryCount = IntValue(values, "SCHCNT");
  // Counts outside what a schedule can hold mean a damaged file: nothing of it is taken.
  if (!InCountRange(programCount) || !InCountRange(entryCount)) return;
  m_programCount = programCount;
  m_attribute = IntValue(values, "ATTRIB");
  const std::size_t length = kEntryFixedChars + static_cast<std::size_t>(programCount);
  for (int index = 0; index < entryCount; ++index) {
    const auto found = values.find(FormatText("ITEM%d", index));
    if (found == values.end()) continue;
    const std::string& entry = found->second;
    if (entry.size() == length && entry.starts_with('1') && IsEntryText(entry)) m_entries.push_back(entry);
  }
}

int CPlaySchedule::ReadSchedule(const std::filesystem::path& file) {
  std::string text;
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error) || !ReadWholeFile(file, text)) text.clear();
  ReadScheduleText(text);
  return 0;
}

std::optional<std::string> CPlaySchedule::ScheduleText() const {
  if (IsEmpty()) return std::nullopt;
  std::string text = FormatText("[%s]\r\nVERSION=%d\r\nPRGCNT=%d\r\nSCHCNT=%d\r\nATTRIB=%d\r\n", kSection.data(),
                                kScheduleVersion, m_programCount, EntryCount(), m_attribute);
  for (int index = 0; index < EntryCount(); ++index) {
    text += FormatText("ITEM%d=", index) + m_entries[static_cast<std::size_t>(index)] + "\r\n";
  }
  return text;
}

int CPlaySchedule::WriteSchedule(const std::filesystem::path& file) const { return WriteOrRemove(file, ScheduleText()); }

std::optional<std::vector<std::uint8_t>> CPlaySchedule::ControllerScheduleBytes() const {
  if (IsEmpty()) return std::nullopt;
  const auto programCount = static_cast<std::uint16_t>(m_programCount);
  const std::size_t bitBytes = (static_cast<std::size_t>(programCount) + 7) / 8;
  std::vector<ScheduleEntry> entries;
  for (int index = 0; index < EntryCount(); ++index) {
    if (auto entry = GetEntry(index)) entries.push_back(std::move(*entry));
  }
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

int CPlaySchedule::WriteControllerSchedule(const std::filesystem::path& file) const {
  const auto bytes = ControllerScheduleBytes();
  if (!bytes) return WriteOrRemove(file, std::nullopt);
  return WriteOrRemove(file, std::string(bytes->begin(), bytes->end()));
}

}  // namespace vantorel

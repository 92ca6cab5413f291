#include "render/media/conversion_log.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <system_error>

#include "app/text_format.h"
#include "platform/atomic_file.h"

namespace vantorel {
namespace {

// 100-ns ticks from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kTicksTo1970 = 116444736000000000;
constexpr std::size_t kTimeDigits = 16;

using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>;

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

template <typename T>
bool ParseDecimal(std::string_view text, T& value) {
  if (text.empty() || (text.front() == '+')) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool ParseTime(std::string_view text, std::uint64_t& value) {
  if (text.size() != kTimeDigits || !std::all_of(text.begin(), text.end(), IsHexDigit)) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  return error == std::errc() && end == text.data() + text.size();
}

bool ParseDigest(std::string_view text, std::string& value) {
  if (text.size() > kMaxRecordDigestLength || !std::all_of(text.begin(), text.end(), IsHexDigit)) return false;
  value.assign(text);
  std::transform(value.begin(), value.end(), value.begin(),
                 [](char c) { return c >= 'A' && c <= 'F' ? static_cast<char>(c - 'A' + 'a') : c; });
  return true;
}

std::string WithSlashes(std::string_view path) {
  std::string result(path);
  std::replace(result.begin(), result.end(), '\\', '/');
  return result;
}

// The fields "ssz" to "smd" and the start of "dst", read from `text` which starts with ", ssz=".
// Gives the length up to the value of "dst", or 0 when `text` does not hold them.
std::size_t ParseMiddle(std::string_view text, VideoConversionRecord& record) {
  struct Field {
    std::string_view key;
    std::string_view value;
  };
  Field fields[] = {{", ssz=", {}}, {", sft=", {}}, {", sm5=", {}}, {", smd=", {}}};
  std::size_t at = 0;
  for (std::size_t i = 0; i < std::size(fields); ++i) {
    if (text.substr(at, fields[i].key.size()) != fields[i].key) return 0;
    at += fields[i].key.size();
    const std::size_t end = text.find(", ", at);
    if (end == std::string_view::npos) return 0;
    fields[i].value = text.substr(at, end - at);
    at = end;
  }
  constexpr std::string_view kDst = ", dst=";
  if (text.substr(at, kDst.size()) != kDst) return 0;
  if (!ParseDecimal(fields[0].value, record.sourceSize) || !ParseTime(fields[1].value, record.sourceTime) ||
      !ParseDigest(fields[2].value, record.sourceDigest) || !ParseDecimal(fields[3].value, record.sourceMode)) {
    return 0;
  }
  return at + kDst.size();
}

// One line as a record, or the reason it is not one.
std::string ParseLine(std::string_view line, VideoConversionRecord& record) {
  constexpr std::string_view kSrc = "src=";
  if (line.substr(0, kSrc.size()) != kSrc) return "no \"src\" at the start";
  // The fixed fields at the end, from the right: their values hold no ", ".
  struct Tail {
    std::string_view key;
    std::string_view value;
  };
  Tail tail[] = {{", vh=", {}}, {", vw=", {}}, {", dm5=", {}}, {", dft=", {}}, {", dsz=", {}}};
  std::size_t end = line.size();
  for (Tail& field : tail) {
    const std::size_t at = line.substr(0, end).rfind(field.key);
    if (at == std::string_view::npos || at < kSrc.size()) {
      return "no \"" + std::string(field.key.substr(2, field.key.size() - 3)) + "\"";
    }
    field.value = line.substr(at + field.key.size(), end - at - field.key.size());
    end = at;
  }
  const std::size_t dszAt = end;
  if (!ParseDecimal(tail[0].value, record.height) || !ParseDecimal(tail[1].value, record.width)) {
    return "bad picture size";
  }
  if (record.width <= 0 || record.height <= 0) return "bad picture size";
  if (!ParseDigest(tail[2].value, record.convertedDigest)) return "bad \"dm5\"";
  if (!ParseTime(tail[3].value, record.convertedTime)) return "bad \"dft\"";
  if (!ParseDecimal(tail[4].value, record.convertedSize)) return "bad \"dsz\"";
  // "src" ends where the fixed fields of the middle follow.
  constexpr std::string_view kSsz = ", ssz=";
  for (std::size_t at = line.find(kSsz, kSrc.size()); at != std::string_view::npos && at < dszAt;
       at = line.find(kSsz, at + 1)) {
    const std::size_t length = ParseMiddle(line.substr(at, dszAt - at), record);
    if (length == 0) continue;
    record.source = WithSlashes(line.substr(kSrc.size(), at - kSrc.size()));
    const std::string converted = WithSlashes(line.substr(at + length, dszAt - at - length));
    record.converted = converted.substr(converted.rfind('/') + 1);
    if (record.source.empty()) return "empty \"src\"";
    if (record.converted.empty() || record.converted == "." || record.converted == "..") return "bad \"dst\"";
    return {};
  }
  return "bad fields between \"src\" and \"dst\"";
}

}  // namespace

std::filesystem::path ScreenMediaFolder(const std::filesystem::path& workFolder, int screenId) {
  return workFolder / FormatText("_av%04x", static_cast<unsigned>(screenId) & 0xffffu);
}

std::optional<RecordFileStamp> ReadRecordFileStamp(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  if (error) return std::nullopt;
  const auto written = std::filesystem::last_write_time(file, error);
  if (error) return std::nullopt;
  const auto sinceEpoch = std::chrono::duration_cast<Ticks>(std::chrono::file_clock::to_sys(written).time_since_epoch());
  const std::int64_t ticks = sinceEpoch.count() > -kTicksTo1970 ? sinceEpoch.count() + kTicksTo1970 : 0;
  return RecordFileStamp{static_cast<std::uint64_t>(size), static_cast<std::uint64_t>(ticks)};
}

std::string ConversionRecordLine(const VideoConversionRecord& record) {
  // Appended rather than formatted: a path is written whole, whatever bytes it holds.
  const auto time = [](std::uint64_t ticks) {
    return FormatText("%08x%08x", static_cast<unsigned>(ticks >> 32), static_cast<unsigned>(ticks & 0xffffffffu));
  };
  return "src=" + record.source + ", ssz=" + std::to_string(record.sourceSize) + ", sft=" + time(record.sourceTime) +
         ", sm5=" + record.sourceDigest + ", smd=" + std::to_string(record.sourceMode) + ", dst=" + record.converted +
         ", dsz=" + std::to_string(record.convertedSize) + ", dft=" + time(record.convertedTime) +
         ", dm5=" + record.convertedDigest + ", vw=" + std::to_string(record.width) +
         ", vh=" + std::to_string(record.height);
}

std::vector<VideoConversionRecord> ParseConversionRecords(std::string_view text, ReadWarnings& warnings) {
  std::vector<VideoConversionRecord> records;
  std::size_t lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    VideoConversionRecord record;
    const std::string problem = ParseLine(line, record);
    if (!problem.empty()) {
      warnings.Drop(FormatText("line %zu: %s", lineNumber, problem.c_str()));
      continue;
    }
    records.push_back(std::move(record));
  }
  return records;
}

Expected<CConversionLog> CConversionLog::Load(const std::filesystem::path& folder) {
  CConversionLog log(folder);
  const std::filesystem::path file = log.FilePath();
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return log;
  std::string text;
  if (Status read = ReadWholeFile(file, text); !read) return read;
  for (VideoConversionRecord& record : ParseConversionRecords(text, log.m_warnings)) {
    const std::optional<RecordFileStamp> source = ReadRecordFileStamp(record.source);
    const std::optional<RecordFileStamp> converted = ReadRecordFileStamp(log.ConvertedPath(record));
    if (!source || !converted || source->size != record.sourceSize || converted->size != record.convertedSize) {
      ++log.m_stale;
      log.m_modified = true;
      continue;
    }
    log.m_records.push_back(std::move(record));
  }
  return log;
}

std::filesystem::path CConversionLog::ConvertedPath(const VideoConversionRecord& record) const {
  return m_folder / record.converted;
}

void CConversionLog::Add(VideoConversionRecord record) {
  std::erase_if(m_records, [&record](const VideoConversionRecord& old) {
    return old.converted == record.converted ||
           (old.source == record.source && old.sourceMode == record.sourceMode && old.width == record.width &&
            old.height == record.height);
  });
  m_records.push_back(std::move(record));
  m_modified = true;
}

void CConversionLog::SetSourceTime(std::size_t index, std::uint64_t time) {
  if (index >= m_records.size() || m_records[index].sourceTime == time) return;
  m_records[index].sourceTime = time;
  m_modified = true;
}

Status CConversionLog::Save() {
  if (!m_modified) return Status::Ok();
  std::error_code error;
  if (m_records.empty()) {
    if (!std::filesystem::remove(FilePath(), error) && error) return Status::SystemError(error.value(), FilePath());
    m_modified = false;
    return Status::Ok();
  }
  std::filesystem::create_directories(m_folder, error);
  if (error) return Status::SystemError(error.value(), m_folder);
  std::string text;
  for (const VideoConversionRecord& record : m_records) text += ConversionRecordLine(record) + "\r\n";
  if (Status written = WriteFileAtomically(FilePath(), text); !written) return written;
  m_modified = false;
  return Status::Ok();
}

}  // namespace vantorel

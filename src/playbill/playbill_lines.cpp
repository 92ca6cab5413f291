#include "playbill/playbill_lines.h"

#include <algorithm>

#include "app/text_format.h"
#include "playbill/playbill_keys.h"

namespace vantorel {
namespace {

constexpr std::size_t kLengthBytes = 2;
constexpr std::size_t kMaxRecordBytes = 0xFFFF;

std::string Unscrambled(std::span<const std::uint8_t> record, std::size_t length) {
  const std::uint8_t key = ScrambleKey(record.size());
  std::string text(length, '\0');
  std::transform(record.begin(), record.begin() + static_cast<std::ptrdiff_t>(length), text.begin(),
                 [key](std::uint8_t byte) { return static_cast<char>(byte ^ key); });
  return text;
}

std::string CutAtLineEnd(std::string line) {
  const std::size_t end = line.find_first_of("\r\n");
  if (end != std::string::npos) line.resize(end);
  return line;
}

}  // namespace

std::uint8_t ScrambleKey(std::size_t length) {
  const auto low = static_cast<std::uint8_t>(length & 0xFF);
  return low == 0 ? 24 : low;
}

void AppendScrambledRecord(ByteWriter& out, std::span<const std::uint8_t> bytes) {
  bytes = bytes.first(std::min(bytes.size(), kMaxRecordBytes));
  const std::uint8_t key = ScrambleKey(bytes.size());
  out.U16Le(static_cast<std::uint16_t>(bytes.size()));
  for (std::uint8_t byte : bytes) out.U8(static_cast<std::uint8_t>(byte ^ key));
}

CPlaybillLineReader::CPlaybillLineReader(std::span<const std::uint8_t> file, std::size_t start, bool scrambled,
                                         ReadWarnings* warnings)
    : m_file(file), m_in(file), m_scrambled(scrambled), m_warnings(warnings) {
  m_in.Seek(std::min(start, file.size()));
}

std::string CPlaybillLineReader::Place() const {
  return FormatText(m_scrambled ? "record %zu" : "line %zu", m_number);
}

void CPlaybillLineReader::Warn(const std::string& reason) {
  if (m_warnings) m_warnings->Drop(Place() + ": " + reason);
}

std::optional<std::span<const std::uint8_t>> CPlaybillLineReader::NextRecord() {
  if (m_in.AtEnd()) return std::nullopt;
  ++m_number;
  const std::size_t offset = m_in.Offset();
  const std::size_t length = m_in.Remaining() < kLengthBytes ? kMaxRecordBytes + 1 : m_in.U16Le();
  // A length that does not fit the file, or the last byte alone, ends the reading.
  if (m_in.Remaining() < length) {
    Warn(FormatText("cut off by the end of the file at offset %zu", offset));
    m_in.Seek(m_in.Size());
    return std::nullopt;
  }
  return m_in.Bytes(length);
}

std::optional<std::string> CPlaybillLineReader::NextLine() {
  if (!m_scrambled) return NextPlainLine();
  while (auto record = NextRecord()) {
    if (record->size() > kMaxLineBytes) {
      Warn(FormatText("over %zu bytes", kMaxLineBytes));
      continue;
    }
    return CutAtLineEnd(Unscrambled(*record, record->size()));
  }
  return std::nullopt;
}

std::optional<std::string> CPlaybillLineReader::NextPlainLine() {
  while (!m_in.AtEnd()) {
    ++m_number;
    const auto rest = m_file.subspan(m_in.Offset());
    const auto end = std::find(rest.begin(), rest.end(), std::uint8_t{'\n'});
    const auto text = m_in.Bytes(static_cast<std::size_t>(end - rest.begin()) + (end == rest.end() ? 0 : 1));
    std::string line = CutAtLineEnd(std::string(text.begin(), text.end()));
    if (line.size() <= kMaxLineBytes) return line;
    Warn(FormatText("over %zu bytes", kMaxLineBytes));
  }
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> CPlaybillLineReader::NextBlock(std::size_t maxBytes) {
  const auto record = NextRecord();
  if (!record) return std::nullopt;
  if (record->size() > maxBytes) Warn(FormatText("block of %zu bytes cut to %zu", record->size(), maxBytes));
  const std::string kept = Unscrambled(*record, std::min(record->size(), maxBytes));
  return std::vector<std::uint8_t>(kept.begin(), kept.end());
}

}  // namespace vantorel

#include "playbill/playbill_lines.h"

#include <algorithm>

#include "playbill/byte_order.h"
#include "playbill/playbill_keys.h"

namespace vantorel {
namespace {

constexpr std::size_t kLengthBytes = 2;
constexpr std::size_t kMaxRecordBytes = 0xFFFF;

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

void AppendScrambledRecord(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
  bytes = bytes.first(std::min(bytes.size(), kMaxRecordBytes));
  const std::uint8_t key = ScrambleKey(bytes.size());
  AppendU16Le(out, static_cast<std::uint16_t>(bytes.size()));
  for (std::uint8_t byte : bytes) out.push_back(static_cast<std::uint8_t>(byte ^ key));
}

CPlaybillLineReader::CPlaybillLineReader(std::span<const std::uint8_t> file, std::size_t start, bool scrambled)
    : m_file(file), m_pos(std::min(start, file.size())), m_scrambled(scrambled) {}

std::optional<std::span<const std::uint8_t>> CPlaybillLineReader::NextRecord() {
  if (m_file.size() - m_pos < kLengthBytes) {
    m_pos = m_file.size();
    return std::nullopt;
  }
  const std::size_t length = ReadU16Le(m_file.subspan(m_pos));
  if (m_file.size() - m_pos - kLengthBytes < length) {
    m_pos = m_file.size();
    return std::nullopt;
  }
  const auto record = m_file.subspan(m_pos + kLengthBytes, length);
  m_pos += kLengthBytes + length;
  return record;
}

std::optional<std::string> CPlaybillLineReader::NextLine() {
  if (!m_scrambled) return NextPlainLine();
  while (auto record = NextRecord()) {
    if (record->size() > kMaxLineBytes) continue;
    const std::uint8_t key = ScrambleKey(record->size());
    std::string line(record->size(), '\0');
    std::transform(record->begin(), record->end(), line.begin(),
                   [key](std::uint8_t byte) { return static_cast<char>(byte ^ key); });
    return CutAtLineEnd(std::move(line));
  }
  return std::nullopt;
}

std::optional<std::string> CPlaybillLineReader::NextPlainLine() {
  while (!AtEnd()) {
    const auto begin = m_file.begin() + static_cast<std::ptrdiff_t>(m_pos);
    const auto end = std::find(begin, m_file.end(), std::uint8_t{'\n'});
    m_pos = static_cast<std::size_t>(end - m_file.begin()) + (end == m_file.end() ? 0 : 1);
    std::string line = CutAtLineEnd(std::string(begin, end));
    if (line.size() <= kMaxLineBytes) return line;
  }
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> CPlaybillLineReader::NextBlock(std::size_t maxBytes) {
  const auto record = NextRecord();
  if (!record) return std::nullopt;
  const std::uint8_t key = ScrambleKey(record->size());
  const auto kept = record->first(std::min(record->size(), maxBytes));
  std::vector<std::uint8_t> block(kept.size());
  std::transform(kept.begin(), kept.end(), block.begin(), [key](std::uint8_t byte) { return static_cast<std::uint8_t>(byte ^ key); });
  return block;
}

}  // namespace vantorel

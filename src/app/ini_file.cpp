#include "app/ini_file.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/legacy_text.h"

namespace vantorel {
namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// "[Name]" gives "Name"; nothing for other lines.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

bool IsComment(std::string_view line) {
  line = Trim(line);
  return !line.empty() && (line.front() == ';' || line.front() == '#');
}

// The value of a key line, without one pair of enclosing double quotes.
std::string ValueOf(std::string_view line) {
  std::string_view value = Trim(line.substr(line.find('=') + 1));
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  return std::string(value);
}

std::string OneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return line;
}

}  // namespace

CIniFile CIniFile::Parse(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  const std::string text = ToUtf8(bytes);
  CIniFile file;
  const auto firstEnd = text.find('\n');
  file.m_lineEnd = firstEnd != std::string::npos && firstEnd > 0 && text[firstEnd - 1] == '\r' ? "\r\n" : "\n";
  std::string section;
  std::size_t pos = 0;
  while (pos < text.size()) {
    auto end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string_view raw(text.data() + pos, end - pos);
    while (raw.ends_with('\r')) raw.remove_suffix(1);
    pos = end + 1;

    Line line{std::string(raw), section, {}, false};
    if (const auto name = SectionName(raw)) {
      section = std::string(*name);
      line.section = section;
      line.isSection = true;
    } else if (!IsComment(raw)) {
      const auto equals = raw.find('=');
      if (equals != std::string_view::npos) line.key = std::string(Trim(raw.substr(0, equals)));
    }
    file.m_lines.push_back(std::move(line));
  }
  return file;
}

Expected<CIniFile> CIniFile::Read(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error) && !error) return CIniFile();
  std::string text;
  if (Status read = ReadWholeFile(path, text); !read.ok()) return read;
  return Parse(text);
}

int CIniFile::FindKey(std::string_view section, std::string_view key) const {
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    const Line& line = m_lines[i];
    if (!line.key.empty() && SameName(line.key, key) && SameName(line.section, section)) return static_cast<int>(i);
  }
  return -1;
}

std::optional<std::string> CIniFile::Value(std::string_view section, std::string_view key) const {
  const int index = FindKey(section, key);
  if (index < 0) return std::nullopt;
  return ValueOf(m_lines[static_cast<std::size_t>(index)].text);
}

bool CIniFile::NameLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Lower(x) < Lower(y); });
}

CIniFile::SectionValues CIniFile::Values(std::string_view section) const {
  SectionValues values;
  for (const Line& line : m_lines) {
    if (!line.key.empty() && SameName(line.section, section)) values.emplace(line.key, ValueOf(line.text));
  }
  return values;
}

void CIniFile::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  const std::string text = std::string(key) + "=" + OneLine(value);
  if (const int index = FindKey(section, key); index >= 0) {
    Line& line = m_lines[static_cast<std::size_t>(index)];
    // The name keeps the spelling the file has.
    line.text = line.key + "=" + OneLine(value);
    return;
  }
  // After the last key or section line of the first section of that name (its trailing blank
  // lines and comments stay after the new key).
  int insertAt = -1;
  bool inSection = false;
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    const Line& line = m_lines[i];
    if (line.isSection) {
      if (inSection) break;
      inSection = SameName(line.section, section);
    }
    if (inSection && (line.isSection || !line.key.empty())) insertAt = static_cast<int>(i) + 1;
  }
  if (insertAt < 0) {
    if (!section.empty()) {
      m_lines.push_back({"[" + std::string(section) + "]", std::string(section), {}, true});
    }
    insertAt = static_cast<int>(m_lines.size());
  }
  m_lines.insert(m_lines.begin() + insertAt, Line{text, std::string(section), std::string(key), false});
}

std::string CIniFile::Text() const {
  std::string text;
  for (const Line& line : m_lines) text += line.text + m_lineEnd;
  return text;
}

Status CIniFile::Write(const std::filesystem::path& path) const { return WriteFileAtomically(path, Text()); }

}  // namespace vantorel

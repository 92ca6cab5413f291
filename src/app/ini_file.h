#pragma once
// Settings files in the classic INI form that users, installers and older installations write by
// hand: "[Section]" lines and "Key=Value" lines. Section and key names are compared without
// regard to case, blanks in names stay blanks, and a value is plain text to the end of its line
// ("Shop, Main Street; Gate 2" is one value). Writing back keeps every other line — comments,
// unknown sections and keys, their order and spelling — and the file's line ends.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace vantorel {

class CIniFile {
public:
  // An empty file.
  CIniFile() = default;
  // The lines of `text`; a UTF-8 byte-order mark, CR LF line ends and blanks around names and "="
  // are accepted. Text that is not UTF-8 is read in the legacy code page.
  static CIniFile Parse(std::string_view text);
  // The file at `path`; a missing file reads as an empty one, any other failure says why.
  static Expected<CIniFile> Read(const std::filesystem::path& path);

  // The value of the first `key` in `section` (a section that appears twice counts as one, its
  // first key winning). A value in double quotes loses them, as the classic readers do.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  // Names compared without regard to case, for the keys of one section.
  struct NameLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  using SectionValues = std::map<std::string, std::string, NameLess>;
  // Every key of `section` with its value as Value gives it, in one pass: for sections of many
  // keys (one per schedule period) that would take a search per key.
  SectionValues Values(std::string_view section) const;
  // Replaces the value of an existing key, or adds the key at the end of its section (the section
  // at the end of the file when there is none). Line breaks in `value` become blanks.
  void SetValue(std::string_view section, std::string_view key, std::string_view value);

  std::string Text() const;
  // Writes the file through a temporary file, so a failure leaves the previous one as it was.
  Status Write(const std::filesystem::path& path) const;

private:
  struct Line {
    std::string text;     // the line as it stands, without its line end
    std::string section;  // the section it belongs to ("" before the first)
    std::string key;      // for a key line: its name, trimmed; empty otherwise
    bool isSection = false;
  };

  // Index of the first key line of `key` in `section`, or -1.
  int FindKey(std::string_view section, std::string_view key) const;

  std::vector<Line> m_lines;
  std::string m_lineEnd = "\r\n";
};

}  // namespace vantorel

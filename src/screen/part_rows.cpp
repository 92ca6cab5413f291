#include "screen/part_rows.h"

#include <cerrno>
#include <cstdint>
#include <fstream>
#include <system_error>

#include "app/text_format.h"
#include "app/text_table.h"
#include "platform/atomic_file.h"
#include "screen/ascii_text.h"
#include "screen/part_list.h"

namespace vantorel {

std::vector<PartRow> PartRowsOf(std::string_view special) {
  std::vector<PartRow> rows;
  for (const PartRect& rect : ParsePartList(special)) {
    // Part lists carry no signs, so positions are shown as the unsigned numbers they were read from.
    rows.push_back({std::to_string(static_cast<std::uint16_t>(rect.x)), std::to_string(static_cast<std::uint16_t>(rect.y)),
                    std::to_string(rect.width), std::to_string(rect.height)});
  }
  return rows;
}

bool IsFaultyPartRow(const PartRow& row, int screenWidth, int screenHeight) {
  const std::int64_t x = DecimalValue(row.x);
  const std::int64_t y = DecimalValue(row.y);
  const std::int64_t width = DecimalValue(row.width);
  const std::int64_t height = DecimalValue(row.height);
  return width < 1 || height < 1 || x + width > screenWidth || y + height > screenHeight;
}

std::string PartRowNumberText(int number, const PartRow& row, int screenWidth, int screenHeight) {
  return FormatText(IsFaultyPartRow(row, screenWidth, screenHeight) ? "%d*" : "%d", number);
}

bool AddPartRow(std::vector<PartRow>& rows) {
  if (rows.size() >= static_cast<std::size_t>(kMaxParts)) return false;
  rows.emplace_back();
  return true;
}

std::string PartRowsText(const std::vector<PartRow>& rows) {
  std::string text = "p:";
  for (const PartRow& row : rows) text += row.x + "," + row.y + "," + row.width + "," + row.height + ";";
  return text;
}

std::string PartEditorSizeText(int screenWidth, int screenHeight) {
  return FormatText(" %d x %d ", screenWidth, screenHeight);
}

Expected<std::vector<PartRow>> ImportPartRows(const std::filesystem::path& file) {
  std::error_code error;
  std::ifstream in(file, std::ios::binary);
  if (!std::filesystem::is_regular_file(file, error) || !in) {
    return Status::SystemError(error ? error.value() : errno, file, kTextFailed).WithTitle(kTextPrompt);
  }
  std::string line;
  std::getline(in, line);
  std::vector<PartRow> rows = PartRowsOf(TrimSpaces(line));
  if (rows.empty()) return Status::Failure(kTextNone).WithTitle(kTextPrompt);
  return rows;
}

Status ExportPartRows(const std::filesystem::path& file, const std::vector<PartRow>& rows) {
  return WriteFileAtomically(file, PartRowsText(rows) + "\r\n").WithText(kTextFailed).WithTitle(kTextPrompt);
}

Expected<std::vector<PartRow>> DefaultPartRows(int screenWidth, int screenHeight, const std::filesystem::path& defaultPartsFile) {
  const std::optional<std::string> list = DefaultPartList(screenWidth, screenHeight, defaultPartsFile);
  if (!list) return Status::Failure(kTextNone).WithTitle(kTextPrompt);
  return PartRowsOf(*list);
}

}  // namespace vantorel

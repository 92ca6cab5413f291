#pragma once
// Rules of the part editor: the rows it edits (four cell texts each), their marking, the row
// limit, the text OK writes, and reading and writing a part list as a one-line text file.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/text_ids.h"
#include "platform/status.h"

namespace vantorel {

struct PartRow {
  std::string x, y, width, height;  // cell texts as typed; not validated

  friend bool operator==(const PartRow&, const PartRow&) = default;
};


// The rows of the rectangles of `special`.
std::vector<PartRow> PartRowsOf(std::string_view special);
// A row lies partly outside the screen, or has a side below 1.
bool IsFaultyPartRow(const PartRow& row, int screenWidth, int screenHeight);
// Row number as listed: "%d", or "%d*" for a faulty row.
std::string PartRowNumberText(int number, const PartRow& row, int screenWidth, int screenHeight);
// Appends an empty row; false at the 100-row limit.
bool AddPartRow(std::vector<PartRow>& rows);
// What OK writes: "p:" and every row's cells joined by "," and ended by ";".
std::string PartRowsText(const std::vector<PartRow>& rows);
// The size line above the canvas, " %d x %d ".
std::string PartEditorSizeText(int screenWidth, int screenHeight);

// Rows from the first line of a text file: "Failed" when it cannot be read, "None" without a
// rectangle.
Expected<std::vector<PartRow>> ImportPartRows(const std::filesystem::path& file);
// Writes the rows as one "p:" line; "Failed" when the file cannot be written.
Status ExportPartRows(const std::filesystem::path& file, const std::vector<PartRow>& rows);
// Rows of the four-corner default of a W x H sign; "None" when the sign has none.
Expected<std::vector<PartRow>> DefaultPartRows(int screenWidth, int screenHeight, const std::filesystem::path& defaultPartsFile);

}  // namespace vantorel

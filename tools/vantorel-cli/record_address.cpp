#include "record_address.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/text_format.h"
#include "cli_command.h"
#include "playbill/prg_list.h"
#include "screen/ascii_text.h"

namespace vantorel::cli {

std::vector<int> RecordsOfLevel(const PrgList& list, int begin, int end, std::int32_t level) {
  std::vector<int> found;
  for (int i = begin; i < end; ++i) {
    if (list[static_cast<std::size_t>(i)].level == level) found.push_back(i);
  }
  return found;
}

namespace {

int Pick(const std::vector<int>& records, int number, const std::string& missing) {
  if (number < 1 || number > static_cast<int>(records.size())) throw CliError(missing);
  return records[static_cast<std::size_t>(number - 1)];
}

}  // namespace

int RecordAt(const CPrgListDoc& doc, const std::string& address) {
  std::vector<int> numbers;
  std::size_t pos = 0;
  while (pos <= address.size()) {
    const std::size_t dot = std::min(address.find('.', pos), address.size());
    const auto number = ParseCode(address.substr(pos, dot - pos));
    if (!number || *number == 0 || *number > 100000 || numbers.size() == 3) {
      throw CliError("'" + address + "' is no address: use P, P.W or P.W.I with 1-based numbers");
    }
    numbers.push_back(static_cast<int>(*number));
    pos = dot + 1;
  }
  const PrgList& list = doc.Records();
  const int program = Pick(RecordsOfLevel(list, 0, RecordCount(list), kLevelProgram), numbers[0],
                           FormatText("there is no program %d", numbers[0]));
  if (numbers.size() == 1) return program;
  const int window = Pick(RecordsOfLevel(list, program, SubtreeEnd(list, program), kLevelWindow), numbers[1],
                          FormatText("program %d has no window %d", numbers[0], numbers[1]));
  if (numbers.size() == 2) return window;
  return Pick(RecordsOfLevel(list, window, SubtreeEnd(list, window), kLevelItem), numbers[2],
              FormatText("window %d.%d has no item %d", numbers[0], numbers[1], numbers[2]));
}

}  // namespace vantorel::cli

#include "playbill/selection_summary.h"

#include "playbill/prg_list.h"

namespace vantorel {

SelectionSummary Summarize(const PrgList& list, int current) {
  SelectionSummary summary;
  const int count = RecordCount(list);
  summary.recordCount = count;
  summary.programCount = CountLevel(list, 0, count, kLevelProgram);
  if (current < 0 || current >= count) return summary;
  summary.currentRecord = current;

  const int program = ProgramRecordOf(list, current);
  if (program < 0) return summary;
  summary.programRecord = program;
  summary.currentProgram = CountLevel(list, 0, program, kLevelProgram);
  summary.windowCount = CountLevel(list, program, SubtreeEnd(list, program), kLevelWindow);

  const int window = WindowRecordOf(list, current);
  if (window < 0) return summary;
  summary.windowRecord = window;
  summary.currentWindow = CountLevel(list, program, window, kLevelWindow);
  summary.itemCount = CountLevel(list, window, SubtreeEnd(list, window), kLevelItem);

  if (!list[static_cast<std::size_t>(current)].IsItem()) return summary;
  summary.itemRecord = current;
  summary.currentItem = CountLevel(list, window, current, kLevelItem);
  return summary;
}

}  // namespace vantorel

#include "playbill/prg_list.h"

namespace vantorel {

int RecordCount(const PrgList& list) { return static_cast<int>(list.size()); }

namespace {

const tagPrgItem& At(const PrgList& list, int index) { return list[static_cast<std::size_t>(index)]; }

}  // namespace

int SubtreeEnd(const PrgList& list, int index) {
  const int count = RecordCount(list);
  if (index < 0 || index >= count) return count;
  const std::int32_t level = At(list, index).level;
  int end = index + 1;
  while (end < count && At(list, end).level > level) ++end;
  return end;
}

int ProgramRecordOf(const PrgList& list, int index) {
  if (index >= RecordCount(list)) return -1;
  for (int i = index; i >= 0; --i) {
    if (At(list, i).level <= kLevelProgram) return At(list, i).IsProgram() ? i : -1;
  }
  return -1;
}

int WindowRecordOf(const PrgList& list, int index) {
  if (index >= RecordCount(list)) return -1;
  for (int i = index; i >= 0; --i) {
    if (At(list, i).level <= kLevelWindow) return At(list, i).IsWindow() ? i : -1;
  }
  return -1;
}

int ProgramRecordAt(const PrgList& list, int program) {
  if (program < 0) return -1;
  for (int i = 0; i < RecordCount(list); ++i) {
    if (At(list, i).IsProgram() && program-- == 0) return i;
  }
  return -1;
}

int CountLevel(const PrgList& list, int begin, int end, std::int32_t level) {
  int count = 0;
  for (int i = begin; i < end; ++i) count += At(list, i).level == level ? 1 : 0;
  return count;
}

bool Renumber(PrgList& list) {
  bool changed = false;
  std::uint32_t program = 0;
  std::uint32_t window = 0;
  std::uint32_t item = 0;
  std::uint32_t windowKey = 0;
  bool anyProgram = false;
  for (tagPrgItem& record : list) {
    std::uint32_t key = 0;
    if (record.IsProgram()) {
      program = anyProgram ? program + 1 : 0;
      anyProgram = true;
      window = 0;
      item = 0;
      windowKey = 0;
      key = program << 20;
    } else if (record.IsWindow()) {
      windowKey = ((program + 1) << 20) | ((window % 16) << 16);
      ++window;
      item = 0;
      key = windowKey;
    } else if (record.IsItem()) {
      key = windowKey + item++;
    }
    changed = changed || record.positionKey != key;
    record.positionKey = key;
  }
  return changed;
}

}  // namespace vantorel

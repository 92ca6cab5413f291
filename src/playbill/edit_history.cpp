#include "playbill/edit_history.h"

namespace vantorel {
namespace {

// Position keys follow from the order and are recomputed after every restore: a record moved by an
// insert before it is still the same record.
bool SameContent(const tagPrgItem& a, const tagPrgItem& b) {
  return a.level == b.level && a.program == b.program && a.window == b.window && a.item == b.item;
}

}  // namespace

CEditHistory::Step CEditHistory::Keep(const EditState& state, const Step* neighbour) {
  static const SharedRecords kNone;
  const SharedRecords& old = neighbour ? neighbour->records : kNone;
  const std::size_t count = state.records.size();
  SharedRecords kept(count);
  // An edit changes one stretch of the list: what lies before and after it is shared.
  std::size_t prefix = 0;
  while (prefix < count && prefix < old.size() && SameContent(*old[prefix], state.records[prefix])) {
    kept[prefix] = old[prefix];
    ++prefix;
  }
  std::size_t suffix = 0;
  while (suffix < count - prefix && suffix < old.size() - prefix &&
         SameContent(*old[old.size() - 1 - suffix], state.records[count - 1 - suffix])) {
    kept[count - 1 - suffix] = old[old.size() - 1 - suffix];
    ++suffix;
  }
  for (std::size_t i = prefix; i < count - suffix; ++i) kept[i] = std::make_shared<const tagPrgItem>(state.records[i]);
  return {std::move(kept), state.schedule, state.selection};
}

EditState CEditHistory::Restore(const Step& step) {
  EditState state;
  state.records.reserve(step.records.size());
  for (const auto& record : step.records) state.records.push_back(*record);
  state.schedule = step.schedule;
  state.selection = step.selection;
  return state;
}

void CEditHistory::Record(const EditState& before, std::uint64_t mergeKey) {
  const bool joins = mergeKey != 0 && mergeKey == m_mergeKey && !m_undo.empty() && m_redo.empty();
  m_mergeKey = mergeKey;
  m_redo.clear();
  if (joins || m_depth == 0) return;
  m_undo.push_back(Keep(before, m_undo.empty() ? nullptr : &m_undo.back()));
  while (m_undo.size() > m_depth) m_undo.pop_front();
}

std::optional<EditState> CEditHistory::Travel(std::deque<Step>& from, std::deque<Step>& to, const EditState& present) {
  if (from.empty()) return std::nullopt;
  Step target = std::move(from.back());
  from.pop_back();
  to.push_back(Keep(present, &target));
  m_mergeKey = 0;
  return Restore(target);
}

void CEditHistory::Clear() {
  m_undo.clear();
  m_redo.clear();
  m_mergeKey = 0;
}

}  // namespace vantorel

#pragma once
// The undo and redo steps of a playbill document. Before each change the document hands over what
// it holds (records, play schedule, selection); undoing gives that back and keeps the present for
// redoing. Records that did not change are shared between neighbouring steps, so a long history
// of small edits costs little more than one playbill, rich-text blocks included.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "playbill/play_schedule.h"
#include "playbill/prg_item.h"

namespace vantorel {

// Everything an undo step brings back.
struct EditState {
  PrgList records;
  CPlaySchedule schedule;
  int selection = -1;
};

// A change of one field of one record: repeated changes of the same field join one step.
constexpr std::uint64_t FieldEdit(int record, int field) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(record)) << 16 | static_cast<std::uint16_t>(field)) + 1;
}

class CEditHistory {
public:
  static constexpr std::size_t kDefaultDepth = 100;

  explicit CEditHistory(std::size_t depth = kDefaultDepth) : m_depth(depth) {}

  // Keeps `before`, the state ahead of a change, as the newest undo step and forgets the redo
  // steps. A change with the same non-zero `mergeKey` as the one just before it (FieldEdit) joins
  // that change's step. The oldest step goes once there are more than the depth.
  void Record(const EditState& before, std::uint64_t mergeKey = 0);
  // The next change starts a step of its own, whatever its merge key.
  void BreakMerge() { m_mergeKey = 0; }
  bool CanUndo() const { return !m_undo.empty(); }
  bool CanRedo() const { return !m_redo.empty(); }
  std::size_t UndoCount() const { return m_undo.size(); }
  std::size_t RedoCount() const { return m_redo.size(); }
  // The state before the newest change; `present` is kept for Redo. Nothing without a step.
  std::optional<EditState> Undo(const EditState& present) { return Travel(m_undo, m_redo, present); }
  // The state the last Undo left; `present` is kept for Undo. Nothing without a step.
  std::optional<EditState> Redo(const EditState& present) { return Travel(m_redo, m_undo, present); }
  void Clear();

private:
  using SharedRecords = std::vector<std::shared_ptr<const tagPrgItem>>;
  struct Step {
    SharedRecords records;
    CPlaySchedule schedule;
    int selection = -1;
  };

  // `state` as a step, sharing the records it has in common with `neighbour`.
  static Step Keep(const EditState& state, const Step* neighbour);
  static EditState Restore(const Step& step);
  // Takes the newest step of `from`, keeps `present` in `to` and gives back the step's state.
  std::optional<EditState> Travel(std::deque<Step>& from, std::deque<Step>& to, const EditState& present);

  std::size_t m_depth;
  std::deque<Step> m_undo;  // oldest first
  std::deque<Step> m_redo;  // the next redo last
  std::uint64_t m_mergeKey = 0;
};

}  // namespace vantorel

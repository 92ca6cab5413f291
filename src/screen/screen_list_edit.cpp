#include "screen/screen_list_edit.h"

#include <algorithm>
#include <utility>

namespace vantorel {

CScreenListEdit::CScreenListEdit(const CScreenData& original) {
  m_original.CopyFrom(original, false);
  m_list.CopyFrom(original, false);
  for (int i = 0; i < original.Count(); ++i) m_origins.push_back(i);
}

ScreenDefinition CScreenListEdit::Definition(int index) const { return {m_list.Screen(index), m_list.Comm(index)}; }

bool CScreenListEdit::Append(const ScreenDefinition& definition) {
  if (!m_list.Append(definition.screen, definition.comm)) return false;
  m_origins.push_back(-1);
  return true;
}

void CScreenListEdit::Replace(int index, const ScreenDefinition& definition) {
  if (!m_list.IsValidIndex(index)) return;
  m_list.Screen(index) = definition.screen;
  m_list.Comm(index) = definition.comm;
}

bool CScreenListEdit::RemoveAt(int index) {
  if (!m_list.RemoveAt(index)) return false;
  m_origins.erase(m_origins.begin() + index);
  return true;
}

bool CScreenListEdit::MoveUp(int index) {
  if (!m_list.MoveUp(index)) return false;
  std::swap(m_origins[static_cast<std::size_t>(index)], m_origins[static_cast<std::size_t>(index - 1)]);
  return true;
}

bool CScreenListEdit::MoveDown(int index) { return MoveUp(index + 1); }

void CScreenListEdit::ReplaceAll(const CScreenData& imported) {
  m_list.CopyFrom(imported, false);
  m_origins.assign(static_cast<std::size_t>(imported.Count()), -1);
}

std::vector<ScreenIdChange> CScreenListEdit::IdChanges() const {
  std::vector<ScreenIdChange> changes;
  for (int i = 0; i < m_list.Count(); ++i) {
    const int origin = m_origins[static_cast<std::size_t>(i)];
    if (origin < 0) continue;
    const int fromId = m_original.Screen(origin).number;
    const int toId = m_list.Screen(i).number;
    if (fromId != toId) changes.push_back({fromId, toId});
  }
  return changes;
}

int CScreenListEdit::IndexOfOriginal(int originalIndex) const {
  const auto found = std::find(m_origins.begin(), m_origins.end(), originalIndex);
  return (originalIndex < 0 || found == m_origins.end()) ? -1 : static_cast<int>(found - m_origins.begin());
}

}  // namespace vantorel

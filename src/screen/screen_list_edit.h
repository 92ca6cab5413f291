#pragma once
// The copy of the screen list that one opening of the screen manager edits. It remembers where
// every screen came from, so that OK can tell which screens of the original list changed their ID
// (their playbill files are named after the ID and must follow it) and where the current screen
// went.

#include <vector>

#include "screen/screen_data.h"
#include "screen/screen_manager_rules.h"

namespace vantorel {

// A screen whose ID changed: the ID its files carry, and its ID now.
struct ScreenIdChange {
  int fromId = 0;
  int toId = 0;

  friend bool operator==(const ScreenIdChange&, const ScreenIdChange&) = default;
};

class CScreenListEdit {
public:
  explicit CScreenListEdit(const CScreenData& original);

  const CScreenData& List() const { return m_list; }
  ScreenDefinition Definition(int index) const;

  // Appends a new screen; false when the list is full.
  bool Append(const ScreenDefinition& definition);
  // The editor's result for screen `index`; it stays the same screen of the original list.
  void Replace(int index, const ScreenDefinition& definition);
  bool RemoveAt(int index);
  bool MoveUp(int index);
  bool MoveDown(int index);
  // An imported list takes the place of every screen: none of them is a screen of the original.
  void ReplaceAll(const CScreenData& imported);

  // Screens of the original list whose ID is not the one they had, in list order.
  std::vector<ScreenIdChange> IdChanges() const;
  // Where screen `originalIndex` of the original list is now; -1 when it was removed.
  int IndexOfOriginal(int originalIndex) const;

private:
  CScreenData m_original;
  CScreenData m_list;
  std::vector<int> m_origins;  // per screen of m_list: its index in m_original, -1 for a new one
};

}  // namespace vantorel

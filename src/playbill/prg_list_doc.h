#pragma once
// The playbill document: the screen list, the current screen and the record list of that screen's
// playbill, with every editing operation of the program tree. Each operation keeps the position
// keys and the selection summary up to date and marks the document modified; the play schedule is
// told about every program inserted, removed or moved.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "playbill/cross_layout.h"
#include "playbill/prg_item.h"
#include "playbill/schedule_slots.h"
#include "playbill/selection_summary.h"
#include "screen/screen_data.h"

namespace vantorel {

class CPrgListDoc {
public:
  // Answers whether a picture file can be decoded; the front ends ask their image readers.
  using PictureProbe = std::function<bool(const std::filesystem::path&)>;

  explicit CPrgListDoc(std::filesystem::path workFolder, ItemDefaults defaults = {});

  // --- Screens -------------------------------------------------------------------------------
  CScreenConfig& Screens() { return m_screens; }
  const CScreenConfig& Screens() const { return m_screens; }
  // The current screen; an index out of range counts as 0.
  int CurrentScreenIndex() const;
  void SetCurrentScreenIndex(int index) { m_screenIndex = index; }
  const tagScreenInfo& CurrentScreen() const { return m_screens.Screen(CurrentScreenIndex()); }
  // Per screen, the record selected when the screen was left.
  void RememberSelection();
  // Selects the remembered record of the current screen when it is still in range, else the
  // first record.
  void RestoreSelection();

  // --- Collaborators and options -------------------------------------------------------------
  void SetItemDefaults(const ItemDefaults& defaults) { m_defaults = defaults; }
  const ItemDefaults& GetItemDefaults() const { return m_defaults; }
  // Not owned; may be null.
  void SetScheduleSlots(IScheduleSlots* slots) { m_slots = slots; }

  // --- Records and selection -----------------------------------------------------------------
  const PrgList& Records() const { return m_records; }
  const tagPrgItem& Record(int index) const { return m_records.at(static_cast<std::size_t>(index)); }
  // Takes a playbill just read: renumbers it, selects its first record, clears the modified flag.
  void SetRecords(PrgList records);
  // An editor's changes to one record; refused when the index is out of range or the level differs.
  bool ReplaceRecord(int index, tagPrgItem record);
  const SelectionSummary& Selection() const { return m_summary; }
  int CurrentRecord() const { return m_summary.currentRecord; }
  bool Select(int record);
  std::string DisplayName(int record) const;

  // --- Editing -------------------------------------------------------------------------------
  // One default program with one full-screen window holding one default item; its item selected.
  void ResetToDefault();
  // A default program after the current program's subtree (at the end when none is selected).
  bool AddProgram();
  // Replaces the current program by a new one with the windows of `layout` (0..3), each holding
  // one default item; the background is kept.
  bool ApplyLayout(int layout);
  bool CanAddItem() const;
  // A default item right after the selected item.
  bool AddItem();
  bool CanDeleteProgram() const;
  bool CanDeleteItem() const;
  // Deletes a program with its subtree (never the only one) or an item; windows are changed
  // through layouts only.
  bool Delete(int record);
  bool CanMoveProgramUp() const;
  bool CanMoveProgramDown() const;
  bool MoveProgramUp();
  bool MoveProgramDown();
  bool ClearBackground();
  // Stores `picture` as the current program's stretched background when `isDecodable` accepts it
  // and its path fits the record.
  bool SetBackground(const std::filesystem::path& picture, const PictureProbe& isDecodable);

  // --- Checks and files ----------------------------------------------------------------------
  // Moves and cuts windows onto the current screen (classes 6 and 7 only); true when any changed.
  bool FitWindowsToScreen();
  int CountMissingMedia() const;
  std::filesystem::path PlaybillPath() const;
  std::filesystem::path SchedulePath() const;

  bool IsModified() const { return m_modified; }
  void SetModified(bool modified) { m_modified = modified; }

private:
  // Inserts at record `at` a program with `windows`, each holding one default item.
  void InsertProgram(int at, tagPrgItem program, const std::vector<WindowRect>& windows, bool crossItems);
  void EraseRange(int begin, int end);
  bool MoveProgram(bool down);
  // Ends every change: keys, selection summary, modified flag.
  void Changed(int select);

  std::filesystem::path m_workFolder;
  ItemDefaults m_defaults;
  IScheduleSlots* m_slots = nullptr;
  CScreenConfig m_screens;
  int m_screenIndex = 0;
  PrgList m_records;
  SelectionSummary m_summary;
  bool m_modified = false;
};

}  // namespace vantorel

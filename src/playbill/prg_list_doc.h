#pragma once
// The playbill document: the screen list, the current screen and the record list of that screen's
// playbill with its play schedule, every editing operation of the program tree, and the file
// operations (new, open, save, switching screens). Each editing operation keeps the position keys
// and the selection summary up to date and marks the document modified; the play schedule is told
// about every program inserted, removed or moved.
//
// Every editing operation, and a playbill opened into the current screen, can be undone and redone
// (CEditHistory); the history starts anew whenever a screen's playbill opens.
//
// Canvas, font libraries and views belong to the front ends: after NewDocument, SelectScreen and
// OpenFile they prepare them for CurrentScreen() and redraw.

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/status.h"
#include "playbill/cross_layout.h"
#include "playbill/edit_history.h"
#include "playbill/play_schedule.h"
#include "playbill/playbill_keys.h"
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
  // The document's schedule receives the program changes: the document is not copied.
  CPrgListDoc(const CPrgListDoc&) = delete;
  CPrgListDoc& operator=(const CPrgListDoc&) = delete;

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
  // Who hears of inserted, removed and moved programs: the document's own schedule unless another
  // receiver is given (not owned; null: nobody).
  void SetScheduleSlots(IScheduleSlots* receiver) { m_slots = receiver; }
  const std::filesystem::path& WorkFolder() const { return m_workFolder; }
  // The shipped default playbill ("default.ldt" beside the program), given when the default
  // screen was just made: the next new document starts from it when it suits the screen (same
  // controller class, width and height); every later one is the one-program default.
  void SetDefaultPlaybillFile(std::filesystem::path file) { m_defaultPlaybill = std::move(file); }

  // --- Records and selection -----------------------------------------------------------------
  const PrgList& Records() const { return m_records; }
  const tagPrgItem& Record(int index) const { return m_records.at(static_cast<std::size_t>(index)); }
  // Takes a playbill just read: renumbers it, selects its first record, clears the modified flag.
  void SetRecords(PrgList records);
  // An editor's changes to one record; refused when the index is out of range or the level differs.
  // A record equal to the present one changes nothing. Changes with the same `mergeKey`
  // (FieldEdit) in a row are undone together.
  bool ReplaceRecord(int index, tagPrgItem record, std::uint64_t mergeKey = 0);
  // Gives window `record` the rectangle `rect`, kept on the current screen (FitWindowRect);
  // refused for records that are no window.
  bool SetWindowRect(int record, WindowRect rect, std::uint64_t mergeKey = 0);
  const SelectionSummary& Selection() const { return m_summary; }
  int CurrentRecord() const { return m_summary.currentRecord; }
  // Choosing another record ends the joining of field changes.
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
  // An item of `kind` showing the file `media`, right after the selected item, in one step; false
  // when the path does not fit the record.
  bool AddMediaItem(std::uint16_t kind, const std::filesystem::path& media);
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

  // The schedule editor's OK: the schedule rebuilt from `periods` for the playbill's programs
  // (CPlaySchedule::ReplaceEntries) as one undo step, the document modified. A period that does
  // not fit changes nothing.
  Status ReplaceSchedulePeriods(std::span<const ScheduleEntry> periods);

  // --- Undo and redo -------------------------------------------------------------------------
  bool CanUndo() const { return m_history.CanUndo(); }
  bool CanRedo() const { return m_history.CanRedo(); }
  // Bring back records, schedule and selection as they were before the last change, or after the
  // change undone last; the document counts as modified.
  bool Undo();
  bool Redo();
  const CEditHistory& History() const { return m_history; }

  // --- Files -----------------------------------------------------------------------------------
  // The playbill of the current screen from scratch (the shipped default once, see
  // SetDefaultPlaybillFile, else one full-screen program), with an empty schedule, saved at once
  // to the screen's playbill file. On failure the document stays modified.
  Status NewDocument();
  // Makes screen `index` current and opens its playbill file, or starts a new document when there
  // is none. A file that exists but does not load is never saved over: it is renamed to
  // "<name>.damaged-<YYYYMMDD-HHMMSS>" (with "-2", "-3"... when that exists) first and a notice says so (TakeNotices); when that rename
  // fails, the previous screen stays current and nothing changes.
  Status OpenScreen(int index);
  // Saves the current playbill and schedule when modified, then opens screen `index` (OpenScreen),
  // restoring its remembered selection. A failure leaves the current screen current.
  Status SelectScreen(int index);
  // Writes the current screen's playbill file when the document is modified and its schedule file
  // when the schedule is; the playbill file becomes the document's path. On failure the previous
  // files stay as they were.
  Status Save();
  // Writes the playbill with the current screen's header to `file`, and the schedule beside it
  // when modified or when `file` is not the document's path. The document counts as saved only
  // when `file` is the current screen's own playbill file.
  Status SaveToFile(const std::filesystem::path& file);
  // Reads `file` as the current screen's playbill, fits its windows to the screen and reads the
  // schedule beside it. Changes nothing when the file cannot be read or holds no program.
  // A playbill opened from another file than the screen's own counts as modified, so that the
  // next save stores it for the screen.
  Status OpenFile(const std::filesystem::path& file);
  // What the user should hear of although the work went on (kTextPlaybillKept, kTextScheduleKept:
  // a damaged playbill or schedule kept aside); taken once.
  std::vector<Status> TakeNotices() { return std::exchange(m_notices, {}); }
  // A notice of another part of the session (the screen list) shown with the document's own.
  void AddNotice(Status notice) { m_notices.push_back(std::move(notice)); }
  const std::filesystem::path& DocumentPath() const { return m_path; }
  // The format version of the last playbill read (older clock texts depend on it).
  int FormatVersion() const { return m_version; }
  CPlaySchedule& Schedule() { return m_schedule; }
  const CPlaySchedule& Schedule() const { return m_schedule; }
  // What reading the schedule of the last playbill opened dropped (entries that were not whole);
  // the editor says nothing of it, the command line prints it.
  const ReadWarnings& ScheduleWarnings() const { return m_scheduleWarnings; }

  // --- Checks and paths ----------------------------------------------------------------------
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
  // Keeps the present state as an undo step; every change calls it before it changes anything.
  void WillChange(std::uint64_t mergeKey = 0);
  // Ends every change: keys, selection summary, modified flag.
  void Changed(int select);
  EditState State() const;
  bool Restore(std::optional<EditState> state);
  // The shipped default playbill read for the current screen; empty when it does not suit it.
  PrgList ShippedDefault() const;
  // Renames a file that did not load out of the way and records the notice (`notice`: which file
  // it was, kTextPlaybillKept or kTextScheduleKept).
  Status KeepDamaged(const std::filesystem::path& file, const Status& why, TextId notice);
  // The schedule beside playbill `file`, read for OpenFile. One that exists but cannot be read is
  // kept aside when `file` is the screen's own playbill (the next save would replace it), and a
  // failure otherwise.
  Expected<CPlaySchedule> ReadScheduleBeside(const std::filesystem::path& file);
  // Whether `file` is the current screen's own playbill file.
  bool IsScreenFile(const std::filesystem::path& file) const;

  std::filesystem::path m_workFolder;
  std::filesystem::path m_defaultPlaybill;
  ItemDefaults m_defaults;
  CPlaySchedule m_schedule;
  IScheduleSlots* m_slots = &m_schedule;
  CScreenConfig m_screens;
  int m_screenIndex = 0;
  PrgList m_records;
  SelectionSummary m_summary;
  bool m_modified = false;
  std::filesystem::path m_path;
  int m_version = kPlaybillVersion;
  std::vector<Status> m_notices;
  CEditHistory m_history;
  ReadWarnings m_scheduleWarnings;
};

}  // namespace vantorel

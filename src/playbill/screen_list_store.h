#pragma once
// Storing an edited screen list. A screen's playbill file is named after its screen ID
// ("av%04x.ldt", with its schedule ".rsh" beside it), so a screen whose ID changes takes its files
// along: its programs stay its own and no other screen takes them over. A file is never replaced
// by another screen's: such a change is refused.

#include <filesystem>
#include <vector>

#include "platform/status.h"
#include "screen/screen_data.h"
#include "screen/screen_list_edit.h"

namespace vantorel {

struct PlaybillMove {
  std::filesystem::path from;
  std::filesystem::path to;

  friend bool operator==(const PlaybillMove&, const PlaybillMove&) = default;
};

// The file moves that `changes` need, in an order in which no move replaces a file: a screen that
// takes an ID whose files another changed screen takes away moves after it. Screens without files
// need none. Refused (kTextPlaybillNameTaken, titled "Prompt", the file in the detail) when a
// screen's files would replace files that stay.
Expected<std::vector<PlaybillMove>> PlanPlaybillMoves(const std::vector<ScreenIdChange>& changes,
                                                      const std::filesystem::path& workFolder);
// Makes the moves; when one fails, what was moved goes back and the failure says why.
Status MovePlaybills(const std::vector<PlaybillMove>& moves);
// Moves the files of `moves` back, last first.
void UndoPlaybillMoves(const std::vector<PlaybillMove>& moves);

// What OK of the screen manager (and of the command line) stores: the files of the screens in
// `changes` follow their new IDs, `edited` becomes the content of `stored` (the list read from
// `screenFile`) and is written there. When a move or the write fails, files and list stay as they
// were. An empty list is taken but not written: a screen file always holds a screen. `kept`
// receives the notice of a partly read screen file kept aside before it was written over.
Status StoreScreenList(CScreenData& stored, const CScreenData& edited, const std::vector<ScreenIdChange>& changes,
                       const std::filesystem::path& workFolder, const std::filesystem::path& screenFile,
                       Status* kept = nullptr);

}  // namespace vantorel

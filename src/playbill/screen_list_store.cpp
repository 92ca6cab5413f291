#include "playbill/screen_list_store.h"

#include <set>
#include <system_error>

#include "app/text_ids.h"
#include "playbill/playbill_paths.h"

namespace vantorel {
namespace {

// The playbill file of `id` and its schedule.
std::vector<std::filesystem::path> FilesOf(int id, const std::filesystem::path& workFolder) {
  const std::filesystem::path playbill = workFolder / PlaybillFileName(id);
  return {playbill, SchedulePathFor(playbill)};
}

bool Exists(const std::filesystem::path& file) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(file, error));
}

// The first file of `id` that exists; empty when it has none.
std::filesystem::path ExistingFileOf(int id, const std::filesystem::path& workFolder) {
  for (const auto& file : FilesOf(id, workFolder)) {
    if (Exists(file)) return file;
  }
  return {};
}

bool HasFiles(int id, const std::filesystem::path& workFolder) { return !ExistingFileOf(id, workFolder).empty(); }

}  // namespace

Expected<std::vector<PlaybillMove>> PlanPlaybillMoves(const std::vector<ScreenIdChange>& changes,
                                                      const std::filesystem::path& workFolder) {
  std::vector<ScreenIdChange> pending;
  for (const ScreenIdChange& change : changes) {
    if (HasFiles(change.fromId, workFolder)) pending.push_back(change);
  }
  std::set<int> vacated;
  std::set<int> filled;
  const auto isFree = [&](int id) {
    return (vacated.count(id) > 0 || !HasFiles(id, workFolder)) && filled.count(id) == 0;
  };
  std::vector<PlaybillMove> moves;
  for (bool progress = true; progress && !pending.empty();) {
    progress = false;
    for (auto it = pending.begin(); it != pending.end();) {
      if (!isFree(it->toId)) {
        ++it;
        continue;
      }
      const auto from = FilesOf(it->fromId, workFolder);
      const auto to = FilesOf(it->toId, workFolder);
      for (std::size_t i = 0; i < from.size(); ++i) {
        if (Exists(from[i])) moves.push_back({from[i], to[i]});
      }
      vacated.insert(it->fromId);
      filled.insert(it->toId);
      it = pending.erase(it);
      progress = true;
    }
  }
  if (!pending.empty()) {
    return Status::Failure(kTextPlaybillNameTaken, ExistingFileOf(pending.front().toId, workFolder).string())
        .WithTitle(kTextPrompt);
  }
  return moves;
}

void UndoPlaybillMoves(const std::vector<PlaybillMove>& moves) {
  for (auto it = moves.rbegin(); it != moves.rend(); ++it) {
    std::error_code error;
    if (!Exists(it->from)) std::filesystem::rename(it->to, it->from, error);
  }
}

Status MovePlaybills(const std::vector<PlaybillMove>& moves) {
  for (std::size_t i = 0; i < moves.size(); ++i) {
    std::error_code error;
    // A rename replaces its target: one that appeared since the plan stays untouched.
    if (Exists(moves[i].to)) error = std::make_error_code(std::errc::file_exists);
    if (!error) std::filesystem::rename(moves[i].from, moves[i].to, error);
    if (error) {
      UndoPlaybillMoves({moves.begin(), moves.begin() + static_cast<std::ptrdiff_t>(i)});
      return Status::SystemError(error.value(), moves[i].to);
    }
  }
  return Status::Ok();
}

Status StoreScreenList(CScreenData& stored, const CScreenData& edited, const std::vector<ScreenIdChange>& changes,
                       const std::filesystem::path& workFolder, const std::filesystem::path& screenFile,
                       Status* kept) {
  const Expected<std::vector<PlaybillMove>> moves = PlanPlaybillMoves(changes, workFolder);
  if (!moves) return moves.status();
  if (Status moved = MovePlaybills(*moves); !moved) return moved;
  CScreenData before = stored;
  stored.CopyFrom(edited, false);
  if (stored.Count() == 0) return Status::Ok();
  if (Status saved = stored.Save(screenFile, kept); !saved) {
    stored = before;
    UndoPlaybillMoves(*moves);
    return saved;
  }
  return Status::Ok();
}

}  // namespace vantorel

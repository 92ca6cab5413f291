#include "playbill/document_session.h"

#include <system_error>

#include "playbill/playbill_paths.h"
#include "playbill/screen_list_store.h"

namespace vantorel {
namespace {

// The list is the default screen that the first start (or the first definition) made, by whichever
// front end, and that screen has no playbill yet.
bool IsFirstStart(const CScreenData& screens, const std::filesystem::path& workFolder) {
  CScreenData made;
  made.MakeDefault();
  if (screens.Count() != 1 || !(screens.Screen(0) == made.Screen(0))) return false;
  const std::filesystem::path playbill = PlaybillPathFor(screens.Screen(0), workFolder);
  std::error_code error;
  return !playbill.empty() && !std::filesystem::exists(playbill, error);
}

// Only the default screen of a first start begins with the shipped default playbill.
void OfferShippedPlaybill(CPrgListDoc& doc, const CAppFolders& folders) {
  if (IsFirstStart(doc.Screens(), folders.WorkFolder())) doc.SetDefaultPlaybillFile(folders.InProgramFolder("default.ldt"));
}

}  // namespace

Status OpenDocumentSession(CPrgListDoc& doc, const CAppFolders& folders, const ScreenChooser& chooseScreen) {
  if (Status notice = doc.Screens().Load(folders.ScreenFile(), true); !notice) doc.AddNotice(std::move(notice));
  if (doc.Screens().Count() == 0) return Status::Ok();
  const Expected<int> screen = chooseScreen(doc.Screens().Count());
  if (!screen) return screen.status();
  OfferShippedPlaybill(doc, folders);
  return doc.OpenScreen(*screen);
}

Status ApplyScreenListEdit(CPrgListDoc& doc, const CScreenListEdit& edit, const CAppFolders& folders) {
  CScreenConfig& screens = doc.Screens();
  const bool hadScreens = screens.Count() > 0;
  if (hadScreens) {
    if (Status saved = doc.Save(); !saved) return saved;
  }
  const int current = hadScreens ? edit.IndexOfOriginal(doc.CurrentScreenIndex()) : -1;
  Status kept;
  if (Status stored = StoreScreenList(screens, edit.List(), edit.IdChanges(), folders.WorkFolder(),
                                      folders.ScreenFile(), &kept);
      !stored) {
    return stored;
  }
  if (!kept.ok()) doc.AddNotice(std::move(kept));
  if (screens.Count() == 0) {
    doc.SetCurrentScreenIndex(0);
    doc.SetRecords({});
    doc.Schedule().Clear();
    return Status::Ok();
  }
  return doc.OpenScreen(current >= 0 ? current : 0);
}

Status DefineFirstScreens(CPrgListDoc& doc, const CScreenData& list, const CAppFolders& folders) {
  CScreenConfig& screens = doc.Screens();
  Status kept;
  if (Status stored = StoreScreenList(screens, list, {}, folders.WorkFolder(), folders.ScreenFile(), &kept); !stored) {
    return stored;
  }
  if (!kept.ok()) doc.AddNotice(std::move(kept));
  if (screens.Count() == 0) return Status::Ok();
  OfferShippedPlaybill(doc, folders);
  return doc.OpenScreen(0);
}

}  // namespace vantorel

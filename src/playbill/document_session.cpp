#include "playbill/document_session.h"

#include <system_error>

#include "playbill/playbill_paths.h"

namespace vantorel {
namespace {

// The list is the default screen that the first start made (by whichever front end), and that
// screen has no playbill yet.
bool IsFirstStart(const CScreenData& screens, const std::filesystem::path& workFolder) {
  CScreenData made;
  made.MakeDefault();
  if (screens.Count() != 1 || !(screens.Screen(0) == made.Screen(0))) return false;
  const std::filesystem::path playbill = PlaybillPathFor(screens.Screen(0), workFolder);
  std::error_code error;
  return !playbill.empty() && !std::filesystem::exists(playbill, error);
}

}  // namespace

Status OpenDocumentSession(CPrgListDoc& doc, const CAppFolders& folders, const ScreenChooser& chooseScreen) {
  if (Status notice = doc.Screens().Load(folders.ScreenFile(), true); !notice) doc.AddNotice(std::move(notice));
  if (doc.Screens().Count() == 0) return Status::Ok();
  const Expected<int> screen = chooseScreen(doc.Screens().Count());
  if (!screen) return screen.status();
  if (IsFirstStart(doc.Screens(), folders.WorkFolder())) {
    doc.SetDefaultPlaybillFile(folders.InProgramFolder("default.ldt"));
  }
  return doc.OpenScreen(*screen);
}

}  // namespace vantorel

#pragma once
// How every front end opens its playbill document: the screen list of the data folder (the
// default screen made when there is none), the screen to start on, and that screen's playbill.

#include <functional>

#include "app/app_folders.h"
#include "platform/status.h"
#include "playbill/prg_list_doc.h"
#include "screen/screen_list_edit.h"

namespace vantorel {

// The index of the screen to open among `screenCount` screens (at least one), or why none.
using ScreenChooser = std::function<Expected<int>(int screenCount)>;

// Loads the screens into `doc` and opens the chosen screen's playbill (CPrgListDoc::OpenScreen:
// a damaged one is kept aside, with a notice). With no screens the document stays empty. Only
// the default screen that the first start made starts from the shipped default playbill, and
// only while it has no playbill file yet.
Status OpenDocumentSession(CPrgListDoc& doc, const CAppFolders& folders, const ScreenChooser& chooseScreen);

// OK of the screen manager: saves the current playbill, stores the edited list with the playbill
// files following changed IDs (StoreScreenList) and opens the playbill of the screen that was
// current, or of the first screen when it was removed. With the list emptied the document is
// left without a playbill. Nothing changes when the playbill or the list cannot be stored.
Status ApplyScreenListEdit(CPrgListDoc& doc, const CScreenListEdit& edit, const CAppFolders& folders);

// The first definition of screens into an empty list (the default screen, screens read from a
// file, one defined by hand, the wizard's): `list` is stored as the screen file and the playbill of
// its first screen opens. The default screen starts from the shipped default playbill.
Status DefineFirstScreens(CPrgListDoc& doc, const CScreenData& list, const CAppFolders& folders);

}  // namespace vantorel

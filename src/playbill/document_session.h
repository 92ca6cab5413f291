#pragma once
// How every front end opens its playbill document: the screen list of the data folder (the
// default screen made when there is none), the screen to start on, and that screen's playbill.

#include <functional>

#include "app/app_folders.h"
#include "platform/status.h"
#include "playbill/prg_list_doc.h"

namespace vantorel {

// The index of the screen to open among `screenCount` screens (at least one), or why none.
using ScreenChooser = std::function<Expected<int>(int screenCount)>;

// Loads the screens into `doc` and opens the chosen screen's playbill (CPrgListDoc::OpenScreen:
// a damaged one is kept aside, with a notice). With no screens the document stays empty. Only
// the default screen that the first start made starts from the shipped default playbill, and
// only while it has no playbill file yet.
Status OpenDocumentSession(CPrgListDoc& doc, const CAppFolders& folders, const ScreenChooser& chooseScreen);

}  // namespace vantorel

#pragma once
// What the "playbill" and "schedule" commands share: the playbill document of one screen, opened
// as the editor opens it when that screen is chosen, and saved after every change.

#include <memory>
#include <string>

#include "app/options.h"
#include "app/text_format.h"
#include "app/text_table.h"
#include "cli_command.h"
#include "playbill/playbill_transfer.h"
#include "playbill/prg_list_doc.h"

namespace vantorel::cli {

// A 1-based screen number from the command line as a list index.
inline int CheckedScreenIndex(const CScreenData& list, int number) {
  if (number < 1 || number > list.Count()) {
    throw CliError(FormatText("there is no screen %d (the list holds %d screen%s)", number, list.Count(),
                              list.Count() == 1 ? "" : "s"));
  }
  return number - 1;
}

// The document with screen `number` current: its playbill file read, or a new playbill (saved at
// once) when the screen has none yet.
inline std::unique_ptr<CPrgListDoc> OpenScreenPlaybill(const CliContext& context, int number) {
  const AppOptions options = ReadOptions(context.folders.SettingsFile());
  auto doc = std::make_unique<CPrgListDoc>(context.folders.WorkFolder(), ItemDefaultsFromOptions(options));
  doc->Screens().Load(context.folders.ScreenFile(), true);
  doc->SetDefaultPlaybillFile(context.folders.InProgramFolder("default.ldt"));
  doc->SelectScreen(CheckedScreenIndex(doc->Screens(), number));
  return doc;
}

// Stores the playbill and its schedule; "Failed" when a file cannot be written.
inline void SaveDocument(CPrgListDoc& doc) {
  if (!doc.Save()) throw CliError(LoadText(kTextFailed) + ": " + doc.PlaybillPath().string());
}

}  // namespace vantorel::cli

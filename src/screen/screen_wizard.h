#pragma once
// The screen set-up wizard of the tool plug-in "libledtool.so": it searches for controllers and
// leaves the screens it found as "screen.cf_" in the data folder, in the screen list's own format.

#include <string>

#include "app/app_folders.h"
#include "app/tool_plugins.h"

namespace vantorel {

// The file the wizard leaves its screens in.
inline constexpr const char* kWizardScreenFile = "screen.cf_";

struct WizardRun {
  std::string problem;       // the plug-in could not be run: the text to show, captioned "Error"
  bool screensTaken = false;  // the wizard's screen file became the screen list's file
};

// Whether the plug-in that holds the wizard is there.
bool HasScreenWizard(const CToolPlugins& plugins);
// Deletes a "screen.cf_" left from before, runs the wizard (told the interface language and the data
// folder, nothing else) and, when it reports screens and left "screen.cf_", puts that file in the
// place of "screen.cfg".
WizardRun RunScreenWizard(const CToolPlugins& plugins, int languageId, void* parent, const CAppFolders& folders);

}  // namespace vantorel

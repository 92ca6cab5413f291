#pragma once
// The screen set-up wizard of the tool plug-in "libledtool.so": it searches for controllers and
// leaves the screens it found as "screen.cf_" in the data folder, in the screen list's own format.

#include "app/app_folders.h"
#include "app/tool_plugins.h"

namespace vantorel {

// The file the wizard leaves its screens in.
inline constexpr const char* kWizardScreenFile = "screen.cf_";

// Whether the plug-in that holds the wizard is there.
bool HasScreenWizard(const CToolPlugins& plugins);
// Deletes a "screen.cf_" left from before, runs the wizard (told the interface language and the data
// folder, nothing else) and, when it reports screens and left "screen.cf_", puts that file in the
// place of "screen.cfg": true then. A plug-in that cannot run says why (titled "Error").
Expected<bool> RunScreenWizard(const CToolPlugins& plugins, int languageId, void* parent, const CAppFolders& folders);

}  // namespace vantorel

#include "screen/screen_wizard.h"

#include <system_error>

#include "app/text_ids.h"

namespace vantorel {

bool HasScreenWizard(const CToolPlugins& plugins) {
  std::error_code error;
  return std::filesystem::exists(plugins.Library(), error);
}

Expected<bool> RunScreenWizard(const CToolPlugins& plugins, int languageId, void* parent, const CAppFolders& folders) {
  const std::filesystem::path pending = folders.InDataFolder(kWizardScreenFile);
  std::error_code error;
  std::filesystem::remove(pending, error);
  // The wizard defines screens; it is not handed the passwords the tools get.
  ToolRunContext context;
  context.languageId = languageId;
  context.dataFolder = folders.DataFolder().string();
  context.parent = parent;
  const Expected<int> found = plugins.FindDevice(context, true);
  if (!found) return found.status();
  if (*found <= 0 || !std::filesystem::is_regular_file(pending, error)) return false;
  std::filesystem::rename(pending, folders.ScreenFile(), error);
  if (error) return Status::SystemError(error.value(), folders.ScreenFile()).WithTitle(kTextError);
  return true;
}

}  // namespace vantorel

#include "app/tool_plugins.h"

#include <QLibrary>
#include <QString>

#include <algorithm>
#include <array>

#include "app/ledtool_api.h"
#include "app/text_format.h"
#include "app/text_table.h"

namespace vantorel {
namespace {

constexpr int kNameBufferSize = 100;
// A libledtool.so that names no tools is the single tool of the first generation.
constexpr int kLegacyToolType = 16;
constexpr const char* kLegacyToolName = "Kelvarn2000";

Status Problem(TextId text, const std::filesystem::path& path) {
  return Status::Failure(text, path.string()).WithTitle(kTextError);
}

// One loaded plug-in; unloaded when it goes out of scope.
class Plugin {
public:
  explicit Plugin(const std::filesystem::path& path) : m_library(QString::fromStdString(path.string())) {
    m_loaded = m_library.load();
  }
  ~Plugin() {
    if (m_loaded) m_library.unload();
  }
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  bool Loaded() const { return m_loaded; }

  template <typename Function>
  Function Resolve(const char* name) {
    return reinterpret_cast<Function>(m_library.resolve(name));
  }

private:
  QLibrary m_library;
  bool m_loaded = false;
};

std::string CallName(Ledtool_GetTypeAndName_t getTypeAndName, int languageId, int index, int& type) {
  std::array<char, kNameBufferSize> name{};
  type = getTypeAndName(languageId, index, name.data(), kNameBufferSize);
  name.back() = '\0';
  return name.data();
}

// Creates the tool, tells it what it needs and runs `body` on it.
template <typename Body>
Expected<int> RunTool(const std::filesystem::path& path, const ToolRunContext& context, const ToolEntry* entry,
                const char* mainEntryPoint, Body body) {
  Plugin plugin(path);
  if (!plugin.Loaded()) return Problem(kTextPluginLoadFailed, path);
  const auto create = plugin.Resolve<Ledtool_Create_t>("Ledtool_Create");
  const auto destroy = plugin.Resolve<Ledtool_Destroy_t>("Ledtool_Destroy");
  const auto run = plugin.Resolve<Ledtool_DoModal_t>(mainEntryPoint);
  if (!create || !destroy || !run) return Problem(kTextPluginEntryMissing, path);

  LedtoolHandle handle = create();
  if (const auto setLanguage = plugin.Resolve<Ledtool_SetLanguage_t>("Ledtool_SetLanguage")) {
    setLanguage(handle, context.languageId);
  }
  if (const auto setDataPath = plugin.Resolve<Ledtool_SetDataPath_t>("Ledtool_SetDataPath")) {
    setDataPath(handle, context.dataFolder.c_str());
  }
  if (entry) {
    if (const auto setType = plugin.Resolve<Ledtool_SetCardType_t>("Ledtool_SetCardType")) setType(handle, entry->type);
    if (const auto setName = plugin.Resolve<Ledtool_SetCardName_t>("Ledtool_SetCardName")) {
      setName(handle, entry->name.c_str());
    }
  }
  if (const auto setPassword = plugin.Resolve<Ledtool_SetPassword_t>("Ledtool_SetPassword")) {
    setPassword(handle, context.adminPassword.c_str(), context.advancedPassword.c_str());
  }
  const int result = body(run, handle);
  destroy(handle);
  return result;
}

}  // namespace

CToolPlugins::CToolPlugins(std::filesystem::path programFolder) : m_folder(std::move(programFolder)) {}

std::filesystem::path CToolPlugins::ExtendedLibrary() const { return m_folder / "libledtoolex.so"; }

std::filesystem::path CToolPlugins::Library() const { return m_folder / "libledtool.so"; }

ToolMenu CToolPlugins::BuildMenu(int languageId, bool ledtoolPasswordOption) const {
  ToolMenu menu;
  const auto add = [&menu](std::string name, int type, bool extended) {
    const int command = kFirstToolCommand + static_cast<int>(menu.entries.size());
    menu.entries.push_back({command, std::move(name), type, extended});
  };
  std::error_code error;

  if (std::filesystem::exists(ExtendedLibrary(), error)) {
    Plugin plugin(ExtendedLibrary());
    const auto count = plugin.Loaded() ? plugin.Resolve<Ledtool_GetTypeCount_t>("Ledtool_GetTypeCount") : nullptr;
    const auto getName = plugin.Loaded() ? plugin.Resolve<Ledtool_GetTypeAndName_t>("Ledtool_GetTypeAndName") : nullptr;
    if (!plugin.Loaded()) {
      menu.problems.push_back(Problem(kTextPluginLoadFailed, ExtendedLibrary()));
    } else if (!count || !getName) {
      menu.problems.push_back(Problem(kTextPluginEntryMissing, ExtendedLibrary()));
    } else {
      const int types = std::min(count(), kMaxToolEntries);
      for (int k = 0; k < types; ++k) {
        int type = 0;
        std::string name = CallName(getName, languageId, k, type);
        add(std::move(name), type, true);
      }
    }
  }
  menu.extendedCount = static_cast<int>(menu.entries.size());

  if (std::filesystem::exists(Library(), error)) {
    Plugin plugin(Library());
    if (!plugin.Loaded()) {
      menu.problems.push_back(Problem(kTextPluginLoadFailed, Library()));
      return menu;
    }
    const auto count = plugin.Resolve<Ledtool_GetTypeCount_t>("Ledtool_GetTypeCount");
    const auto getName = plugin.Resolve<Ledtool_GetTypeAndName_t>("Ledtool_GetTypeAndName");
    const int types = !getName ? 1 : count ? count() : 0;
    for (int k = 0; k < types && static_cast<int>(menu.entries.size()) < kMaxToolEntries; ++k) {
      int type = kLegacyToolType;
      std::string name = getName ? CallName(getName, languageId, k, type) : kLegacyToolName;
      add(std::move(name), type, false);
    }
    menu.showSubmenu = types >= 1;
    menu.passwordEntry = menu.showSubmenu && ledtoolPasswordOption;
    menu.findDevice = plugin.Resolve<Ledtool_SearchCard_t>("Ledtool_SearchCard") != nullptr;
  }
  return menu;
}

Expected<int> CToolPlugins::Run(const ToolMenu& menu, int command, const ToolRunContext& context) const {
  const auto entry = std::find_if(menu.entries.begin(), menu.entries.end(),
                                  [command](const ToolEntry& e) { return e.command == command; });
  if (entry == menu.entries.end()) return Status::Failure(kTextPluginEntryMissing, FormatText("no tool for command %d", command));
  return RunTool(entry->extended ? ExtendedLibrary() : Library(), context, &*entry, "Ledtool_DoModal",
                 [&context](Ledtool_DoModal_t doModal, LedtoolHandle handle) { return doModal(handle, context.parent); });
}

Expected<int> CToolPlugins::FindDevice(const ToolRunContext& context, bool extended) const {
  return RunTool(Library(), context, nullptr, extended ? "Ledtool_SearchCardEx" : "Ledtool_SearchCard",
                 [&context](Ledtool_SearchCard_t search, LedtoolHandle handle) { return search(handle, context.parent); });
}

}  // namespace vantorel

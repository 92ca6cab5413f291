#pragma once
// The tool menu made from the optional plug-ins "libledtoolex.so" and "libledtool.so" in the
// program folder (entry points in app/ledtool_api.h), and running its entries.

#include <filesystem>
#include <string>
#include <vector>
#include "platform/status.h"

namespace vantorel {

inline constexpr int kFirstToolCommand = 32899;
inline constexpr int kMaxToolEntries = 16;
inline constexpr int kFindDeviceCommand = 32915;
inline constexpr int kLedtoolPasswordCommand = 32883;

struct ToolEntry {
  int command = 0;
  std::string name;
  int type = 0;
  bool extended = false;  // from libledtoolex.so, else from libledtool.so
};

struct ToolMenu {
  std::vector<ToolEntry> entries;  // the "Led&tool" submenu, commands 32899 upward
  int extendedCount = 0;           // entries that come from libledtoolex.so
  bool showSubmenu = false;        // only when libledtool.so offers at least one tool
  bool passwordEntry = false;      // separator and "Change Ledtool advance password" (32883)
  bool findDevice = false;         // separator and "Find &device..." (32915) in the tool menu
  std::vector<Status> problems;  // plug-ins present but unusable: why, titled "Error"
};

// What a tool is told when it runs.
struct ToolRunContext {
  int languageId = 1033;
  std::string dataFolder;
  std::string adminPassword;     // clear text
  std::string advancedPassword;  // clear text
  void* parent = nullptr;
};

class CToolPlugins {
public:
  explicit CToolPlugins(std::filesystem::path programFolder);

  std::filesystem::path ExtendedLibrary() const;  // libledtoolex.so
  std::filesystem::path Library() const;          // libledtool.so

  ToolMenu BuildMenu(int languageId, bool ledtoolPasswordOption) const;
  // Runs the tool of `command` (32899 + k) of `menu`: the value the tool returned, or why it could
  // not run (titled "Error").
  Expected<int> Run(const ToolMenu& menu, int command, const ToolRunContext& context) const;
  // "Find &device...": the device search of libledtool.so, or its extended search.
  Expected<int> FindDevice(const ToolRunContext& context, bool extended) const;

private:
  std::filesystem::path m_folder;
};

}  // namespace vantorel

#pragma once
// Rules of the screen manager: adding a screen, the checks before the list is stored, and the
// texts of the manager's list.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "app/text_ids.h"
#include "platform/status.h"
#include "screen/screen_data.h"

namespace vantorel {

// One screen definition outside a list: the screen record and its communication record.
struct ScreenDefinition {
  tagScreenInfo screen;
  tagCommInfo comm;

  friend bool operator==(const ScreenDefinition&, const ScreenDefinition&) = default;
};


// Refusal when the list is full.
Status CheckCanAddScreen(const CScreenData& list);
// A new screen with nothing to copy: 128 x 64 full colour "Korvan-M5", ID 1, serial line.
ScreenDefinition EditorDefaultScreen();
// The screen the editor starts from when adding: a copy of the selected screen with the next
// free ID, or the editor defaults when `selectedIndex` is not a screen of the list.
ScreenDefinition ProposeNewScreen(const CScreenData& list, int selectedIndex);
// The editor's title when it edits a new screen.
std::string NewScreenEditorTitle(std::string_view editorTitle);

// Checks before the manager stores its list: IDs unique and within 1..254, every GPRS DTU screen
// has its DTU ID.
Status CheckManagerOk(const CScreenData& list);
// Refusal of an import whose file holds no screen.
Status NoScreenInFileRefusal();

// Columns of the manager's list.
inline constexpr int kScreenListColumns = 9;
std::array<std::string, kScreenListColumns> ScreenListHeaders();
// Model, display name, ID, colour mode, grey levels, width, height, type, parameters.
std::array<std::string, kScreenListColumns> ScreenListRow(const CScreenData& list, int index);

}  // namespace vantorel

#include "screen/screen_manager_rules.h"

#include <set>

#include "app/text_format.h"
#include "app/text_table.h"
#include "screen/colour_modes.h"
#include "screen/comm_types.h"
#include "screen/controller_types.h"

namespace vantorel {
namespace {

bool IsUsableId(int id) { return id >= 1 && id <= 254; }

}  // namespace

Status CheckCanAddScreen(const CScreenData& list) {
  if (list.Count() < CScreenData::kMaxScreens) return Status::Ok();
  return Status::Failure(kTextMaxScreens, std::to_string(CScreenData::kMaxScreens)).WithTitle(kTextPrompt);
}

ScreenDefinition EditorDefaultScreen() {
  ScreenDefinition definition;
  definition.screen.type = 6;
  definition.screen.number = 1;
  definition.screen.color = kColourFull;
  definition.screen.width = 128;
  definition.screen.height = 64;
  definition.screen.model = kModelM5;
  return definition;
}

ScreenDefinition ProposeNewScreen(const CScreenData& list, int selectedIndex) {
  if (!list.IsValidIndex(selectedIndex)) return EditorDefaultScreen();
  ScreenDefinition definition{list.Screen(selectedIndex), list.Comm(selectedIndex)};
  definition.screen.number = static_cast<std::uint8_t>(list.NextFreeId(definition.screen.number));
  return definition;
}

std::string NewScreenEditorTitle(std::string_view editorTitle) {
  return std::string(editorTitle) + " => " + LoadText(kTextNewScreen);
}

Status CheckManagerOk(const CScreenData& list) {
  std::set<int> ids;
  for (int i = 0; i < list.Count(); ++i) {
    const int id = list.Screen(i).number;
    if (!IsUsableId(id) || !ids.insert(id).second) return Status::Failure(kTextDuplicateId).WithTitle(kTextDuplicateIdLabel);
  }
  for (int i = 0; i < list.Count(); ++i) {
    if (list.Comm(i).commType == kCommGprsDtu && list.Comm(i).gprsId.empty()) {
      return Status::Failure(kTextNoDtuId).WithTitle(kTextPrompt);
    }
  }
  return Status::Ok();
}

Status NoScreenInFileRefusal() { return Status::Failure(kTextNoScreenInFile).WithTitle(kTextInformation); }

std::array<std::string, kScreenListColumns> ScreenListHeaders() {
  return {LoadText(kTextModel), LoadText(kTextName), "ID",          LoadText(kTextColor), LoadText(kTextGray),
          LoadText(kTextWidth), LoadText(kTextHeight), LoadText(kTextCommType), LoadText(kTextCommParameter)};
}

std::array<std::string, kScreenListColumns> ScreenListRow(const CScreenData& list, int index) {
  const tagScreenInfo& screen = list.Screen(index);
  const tagCommInfo& comm = list.Comm(index);
  return {ModelName(screen.model),
          list.DisplayName(index),
          std::to_string(screen.number),
          ColourModeName(screen.color),
          std::to_string(GreyLevels(screen.color)),
          std::to_string(screen.width),
          std::to_string(screen.height),
          CommTypeListText(comm.commType),
          CommParameterText(comm)};
}

}  // namespace vantorel

#include "screen/screen_editor_rules.h"

#include <cstdlib>
#include <iterator>

#include "app/text_format.h"
#include "app/text_table.h"
#include "screen/comm_types.h"
#include "screen/controller_types.h"
#include "screen/part_list.h"

namespace vantorel {
namespace {

constexpr int kPresetCount = static_cast<int>(std::size(kSizePresets));

}  // namespace

std::string SizePresetText(int presetIndex) {
  if (presetIndex < 0 || presetIndex >= kPresetCount) return {};
  const int side = kSizePresets[presetIndex];
  return FormatText("%d x %d", side, side);
}

std::string SerialPortText(int portIndex) { return FormatText("COM%d", portIndex + 1); }

int NearestSizeChoice(std::uint16_t model, int size) {
  const std::vector<int> choices = SizeChoices(model);
  int nearest = choices.front();
  for (const int choice : choices) {
    if (std::abs(choice - size) < std::abs(nearest - size)) nearest = choice;  // ties keep the smaller
  }
  return nearest;
}

EditorSize OpenEditorSize(const tagScreenInfo& screen) {
  EditorSize size;
  for (int i = 0; i < kPresetCount; ++i) {
    if (kSizePresets[i] >= screen.width) {
      size.presetIndex = i;
      break;
    }
  }
  // The preset chooser shows the nearest cross size, but opening the editor must not change the
  // screen: both sides take the size choice nearest to what the screen had.
  size.width = NearestSizeChoice(screen.model, screen.width);
  size.height = NearestSizeChoice(screen.model, screen.height);
  return size;
}

void ApplySizePreset(tagScreenInfo& screen, int presetIndex) {
  if (presetIndex < 0 || presetIndex >= kPresetCount) return;
  screen.width = static_cast<std::uint16_t>(kSizePresets[presetIndex]);
  screen.height = static_cast<std::uint16_t>(kSizePresets[presetIndex]);
}

void ApplyModelChange(ScreenDefinition& definition, std::uint16_t model) {
  tagScreenInfo& screen = definition.screen;
  tagCommInfo& comm = definition.comm;
  screen.model = model;
  screen.type = ControllerClassOf(model);
  if (!OffersColourMode(model, screen.color)) screen.color = MaxColourOf(model);
  if (comm.commType > kMaxCommType) comm.commType = kCommSerial;
  if (comm.baudRate > kMaxBaudRate) comm.baudRate = kMaxBaudRate;
}

void ApplyCommTypeChoice(ScreenDefinition& definition, std::uint8_t commType) {
  definition.comm.commType = commType;
  definition.comm.subMode = InitialSubMode(commType, definition.screen.type);
}

SpecialChoice SpecialChoiceOf(std::string_view special) {
  if (IsRotated(special)) return SpecialChoice::Rotate;
  return special.starts_with("p:") ? SpecialChoice::Parts : SpecialChoice::None;
}

int SpecialChoiceTextId(SpecialChoice choice) {
  switch (choice) {
    case SpecialChoice::Rotate: return kTextRotateLeft90Degrees;
    case SpecialChoice::Parts: return kTextShowOnlyParts;
    case SpecialChoice::None: break;
  }
  return kTextNone;
}

std::string SpecialForChoice(SpecialChoice choice) {
  switch (choice) {
    case SpecialChoice::Rotate: return "r:1";
    case SpecialChoice::Parts: return "p:";
    case SpecialChoice::None: break;
  }
  return {};
}

Status CheckEditorOk(const CScreenData& list, int editedIndex, const ScreenDefinition& definition) {
  const tagScreenInfo& screen = definition.screen;
  if (!FitsPixelLimit(screen.model, screen.color, screen.width, screen.height)) {
    return Status::Failure(kTextTooLarge).WithTitle(kTextPrompt);
  }
  for (int i = 0; i < list.Count(); ++i) {
    if (i != editedIndex && list.Screen(i).type == screen.type && list.Screen(i).number == screen.number) {
      return Status::Failure(kTextDuplicateId).WithTitle(kTextDuplicateIdLabel);
    }
  }
  if (definition.comm.commType == kCommGprsDtu && definition.comm.gprsId.empty()) {
    return Status::Failure(kTextNoDtuId).WithTitle(kTextPrompt);
  }
  return Status::Ok();
}

std::string CrossPartList(int width, int height) {
  if (width == 64) return "p:0,0,16,16;48,0,16,16;0,48,16,16;48,48,16,16;";
  const int c = width / 3;
  const int d = height / 3;
  return "p:" + FormatText("0,0,%d,%d;", c, d) + FormatText("%d,0,%d,%d;", 2 * c, c, d) +
         FormatText("0,%d,%d,%d;", 2 * d, c, d) + FormatText("%d,%d,%d,%d;", 2 * c, 2 * d, c, d);
}

Status AcceptEditedScreen(const CScreenData& list, int editedIndex, ScreenDefinition& definition) {
  if (Status checked = CheckEditorOk(list, editedIndex, definition); !checked) return checked;
  // Every screen is made a cross of its size, except where the user said otherwise: a rotated
  // screen and a part list made by hand in the part editor are kept, so no choice is lost.
  std::string& special = definition.comm.special;
  const bool userChoice = SpecialChoiceOf(special) == SpecialChoice::Rotate ||
                          (SpecialChoiceOf(special) == SpecialChoice::Parts && !ParsePartList(special).empty());
  if (!userChoice) special = CrossPartList(definition.screen.width, definition.screen.height);
  return Status::Ok();
}

}  // namespace vantorel

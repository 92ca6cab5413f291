#pragma once
// Rules of the screen editor: its choosers, what a model change does to a screen, the size
// presets, the special string chooser, and the checks and completion of OK.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/text_ids.h"
#include "platform/status.h"
#include "screen/screen_data.h"
#include "screen/screen_manager_rules.h"

namespace vantorel {

inline constexpr int kMinScreenId = 1;
inline constexpr int kMaxScreenId = 254;

// Square size presets of cross-shaped signs, offered as "%d x %d".
inline constexpr int kSizePresets[] = {24, 48, 64, 72, 96, 144, 192, 240};
std::string SizePresetText(int presetIndex);
// "COM%d" for a serial port index (0 = "COM1").
std::string SerialPortText(int portIndex);

// The size choice of `model` nearest to `size` (the smaller one on a tie).
int NearestSizeChoice(std::uint16_t model, int size);

// What the editor shows when it opens on a screen.
struct EditorSize {
  int presetIndex = -1;  // first preset at least as wide as the screen, -1 when none is
  int width = 0;
  int height = 0;
};
EditorSize OpenEditorSize(const tagScreenInfo& screen);
// Choosing preset `presetIndex` later sets both sides.
void ApplySizePreset(tagScreenInfo& screen, int presetIndex);

// A new model: its class, the colour mode kept when offered (else the model's maximum), and
// communication settings the model cannot have brought back into range.
void ApplyModelChange(ScreenDefinition& definition, std::uint16_t model);
// A new communication type, with the sub-mode a screen of this class starts in.
void ApplyCommTypeChoice(ScreenDefinition& definition, std::uint8_t commType);

// The special string chooser.
enum class SpecialChoice { None, Rotate, Parts };
inline constexpr SpecialChoice kSpecialChoices[] = {SpecialChoice::None, SpecialChoice::Rotate, SpecialChoice::Parts};
SpecialChoice SpecialChoiceOf(std::string_view special);
int SpecialChoiceTextId(SpecialChoice choice);
// "" for None, "r:1" for Rotate, "p:" for Parts (the part editor then fills the list).
std::string SpecialForChoice(SpecialChoice choice);

// Checks of OK, in order: pixel limit of the model, ID taken by another screen of the same class
// (`editedIndex` is the edited screen's slot, -1 for a screen not in `list`), GPRS DTU without ID.
Status CheckEditorOk(const CScreenData& list, int editedIndex, const ScreenDefinition& definition);
// The four-corner part list the editor writes for a WIDTH x HEIGHT cross.
std::string CrossPartList(int width, int height);
// OK of the editor: the checks, then a part list without any rectangle becomes the cross part
// list of the screen's size. Nothing changes when a check refuses.
Status AcceptEditedScreen(const CScreenData& list, int editedIndex, ScreenDefinition& definition);

}  // namespace vantorel

#pragma once
// The controller models the program knows, in the order of the model chooser, and everything
// that follows from a model: controller class, colour modes, size choices and the pixel limit.
// A model code that is not in the table is treated as a small mono/two-colour controller.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantorel {

inline constexpr std::uint16_t kModelN5A = 0x3A20;
inline constexpr std::uint16_t kModelN3A = 0x3A10;
inline constexpr std::uint16_t kModelN3B = 0x3A11;
inline constexpr std::uint16_t kModelM7 = 0x4B07;
inline constexpr std::uint16_t kModelM6 = 0x4B06;
inline constexpr std::uint16_t kModelM5 = 0x4B05;
inline constexpr std::uint16_t kModelM4 = 0x4B04;
inline constexpr std::uint16_t kModelM3 = 0x4B03;
inline constexpr std::uint16_t kModelM2 = 0x4B02;
inline constexpr std::uint16_t kModelM1 = 0x4B01;

// Controller classes (TYPE): the two classes of the models above. Screens of other classes come
// only from foreign files.
inline constexpr std::uint16_t kControllerClass6 = 6;
inline constexpr std::uint16_t kControllerClass7 = 7;

// Whether `type` is one of the two controller classes this program makes playbills for.
inline constexpr bool IsKnownControllerClass(std::uint16_t type) {
  return type == kControllerClass6 || type == kControllerClass7;
}

struct ControllerType {
  const char* name;                          // shown in the model chooser and the manager's list
  std::uint16_t code;                        // MODEL value
  std::uint16_t controllerClass;             // TYPE value: 6 or 7
  std::uint16_t maxColour;                   // colour mode taken when a chosen mode is not offered
  std::span<const std::uint16_t> colourModes;  // offered colour modes, in chooser order
  int maxSize;                               // largest width/height choice
  std::int64_t pixelLimit;                   // largest WIDTH x HEIGHT (0 = no limit)
  bool limitScalesWithColour;                // the limit is multiplied by the colour factor
  int nameTextId;                            // text of the model's name in screen display names
};

// The ten models in chooser order.
std::span<const ControllerType> ControllerTypes();
bool IsKnownModel(std::uint16_t model);
// The table entry of `model`, or the fallback entry ("Unknow") for codes not in the table.
const ControllerType& FindControllerType(std::uint16_t model);
// Position of `model` in the chooser, or -1.
int ControllerTypeIndex(std::uint16_t model);
// Model whose name equals `name` (ignoring letter case), for command-line input.
std::optional<std::uint16_t> FindModelByName(std::string_view name);

std::uint16_t ControllerClassOf(std::uint16_t model);
std::uint16_t MaxColourOf(std::uint16_t model);
std::span<const std::uint16_t> ColourModesOf(std::uint16_t model);
bool OffersColourMode(std::uint16_t model, std::uint16_t colour);
// Width and height choices: 8, 12, 16, ... in steps of 4 up to the model's largest size.
std::vector<int> SizeChoices(std::uint16_t model);
// Largest WIDTH x HEIGHT for the model in colour mode `colour`; 0 means no limit.
std::int64_t PixelLimit(std::uint16_t model, std::uint16_t colour);
bool FitsPixelLimit(std::uint16_t model, std::uint16_t colour, int width, int height);
// The model's name as shown to the user.
std::string ModelName(std::uint16_t model);

}  // namespace vantorel

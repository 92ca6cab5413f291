#include "screen/controller_types.h"

#include <algorithm>
#include <array>

#include "screen/ascii_text.h"
#include "screen/colour_modes.h"

namespace vantorel {
namespace {

constexpr std::array<std::uint16_t, 6> kAllModes = {kColourFull, kColourRgGrey, kColourMonoGrey,
                                                    kColourRgb,  kColourRg,     kColourMono};
constexpr std::array<std::uint16_t, 3> kThreePlaneModes = {kColourMono, kColourRg, kColourRgb};
constexpr std::array<std::uint16_t, 3> kGreyModes = {kColourFull, kColourRgGrey, kColourMonoGrey};
constexpr std::array<std::uint16_t, 2> kTwoPlaneModes = {kColourMono, kColourRg};

const std::array<ControllerType, 10> kTypes = {{
    {"Korvan-N5A", kModelN5A, 6, kColourFull, kAllModes, 1024, 131072, true, 241},
    {"Korvan-N3A", kModelN3A, 6, kColourFull, kAllModes, 1024, 51200, true, 238},
    {"Korvan-N3B", kModelN3B, 6, kColourRgb, kThreePlaneModes, 1024, 409600, true, 240},
    {"Korvan-M7", kModelM7, 7, kColourFull, kGreyModes, 2048, 307200, false, 235},
    {"Korvan-M6", kModelM6, 7, kColourFull, kGreyModes, 2048, 307200, false, 232},
    {"Korvan-M5", kModelM5, 6, kColourFull, kAllModes, 1024, 65536, false, 411},
    {"Korvan-M4", kModelM4, 6, kColourRgb, kThreePlaneModes, 2048, 524288, false, 417},
    {"Korvan-M3", kModelM3, 6, kColourRg, kTwoPlaneModes, 1024, 32768, false, 421},
    {"Korvan-M2", kModelM2, 6, kColourRg, kTwoPlaneModes, 1024, 16384, false, 497},
    {"Korvan-M1", kModelM1, 6, kColourRg, kTwoPlaneModes, 512, 8192, false, 498},
}};

const ControllerType kUnknownType = {"Unknow", 0, 6, kColourRg, kTwoPlaneModes, 8, 0, false, 239};

// The chooser never offers more entries than this.
constexpr int kMaxSizeChoices = 1024;


}  // namespace

std::span<const ControllerType> ControllerTypes() { return kTypes; }

int ControllerTypeIndex(std::uint16_t model) {
  for (std::size_t i = 0; i < kTypes.size(); ++i) {
    if (kTypes[i].code == model) return static_cast<int>(i);
  }
  return -1;
}

bool IsKnownModel(std::uint16_t model) { return ControllerTypeIndex(model) >= 0; }

const ControllerType& FindControllerType(std::uint16_t model) {
  const int index = ControllerTypeIndex(model);
  return index < 0 ? kUnknownType : kTypes[static_cast<std::size_t>(index)];
}

std::optional<std::uint16_t> FindModelByName(std::string_view name) {
  for (const ControllerType& type : kTypes) {
    if (EqualsIgnoringAsciiCase(type.name, name)) return type.code;
  }
  return std::nullopt;
}

std::uint16_t ControllerClassOf(std::uint16_t model) { return FindControllerType(model).controllerClass; }

std::uint16_t MaxColourOf(std::uint16_t model) { return FindControllerType(model).maxColour; }

std::span<const std::uint16_t> ColourModesOf(std::uint16_t model) { return FindControllerType(model).colourModes; }

bool OffersColourMode(std::uint16_t model, std::uint16_t colour) {
  const auto modes = ColourModesOf(model);
  return std::find(modes.begin(), modes.end(), colour) != modes.end();
}

std::vector<int> SizeChoices(std::uint16_t model) {
  std::vector<int> choices;
  for (int size = 8; size <= FindControllerType(model).maxSize && choices.size() < kMaxSizeChoices; size += 4) {
    choices.push_back(size);
  }
  return choices;
}

std::int64_t PixelLimit(std::uint16_t model, std::uint16_t colour) {
  const ControllerType& type = FindControllerType(model);
  return type.limitScalesWithColour ? type.pixelLimit * ColourFactor(colour) : type.pixelLimit;
}

bool FitsPixelLimit(std::uint16_t model, std::uint16_t colour, int width, int height) {
  const std::int64_t limit = PixelLimit(model, colour);
  return limit == 0 || static_cast<std::int64_t>(width) * height <= limit;
}

std::string ModelName(std::uint16_t model) { return FindControllerType(model).name; }

}  // namespace vantorel

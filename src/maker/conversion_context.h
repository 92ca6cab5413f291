#pragma once
// What one data maker run knows of its screen: set from the screen definition and its model
// before the run, read by every step of it. Plain data, owned by the run.

#include <QSize>

#include <cstdint>
#include <filesystem>

#include "screen/screen_data.h"

namespace vantorel {

struct ConversionContext {
  std::uint16_t screenId = 0;        // 1..254; anything else makes nothing
  std::uint16_t colourMode = 0;      // COLOR of the screen
  std::uint8_t rotation = 0;         // 1 when the special string starts with "r"
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint16_t model = 0;           // controller model code
  std::uint16_t controllerClass = 0; // 6 or 7, from the model
  int codePage = 0;                  // code page of the controller's font library (FONTLIB)
  std::filesystem::path workFolder;
  std::filesystem::path outputFolder;  // the files for the sign ("a32sd" in the work folder unless chosen)

  QSize ScreenSize() const { return {width, height}; }
  bool IsFullColour() const { return colourMode == 0x77; }
};

// The context of `screen` (ID, size, colour, rotation flag from `comm`'s special string, code
// page) with its model's controller class, writing into `outputFolder`.
ConversionContext ContextForScreen(const tagScreenInfo& screen, const tagCommInfo& comm,
                                   const std::filesystem::path& workFolder, const std::filesystem::path& outputFolder);

}  // namespace vantorel

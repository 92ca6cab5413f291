#pragma once
// The current font library: the one library object that follows the active screen's font
// settings, and the questions asked of it (faces, missing sizes).

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/program_folder.h"
#include "render/dot_font.h"
#include "screen/screen_data.h"

namespace vantorel {

// A library for `screen`: by its font code page for controller classes 6 and 7 (an unknown code
// page gives GB2312), ASCII for any other class. Its code page number is the screen's.
std::unique_ptr<CTwFont> MakeFontLibrary(const tagScreenInfo& screen,
                                         const std::filesystem::path& folder = ProgramFolder());

// The code page whose characters the library for `screen` draws: the screen's font code page for
// controller classes 6 and 7 (an unknown one is GB2312), ASCII for any other class.
int FontCodePageOf(const tagScreenInfo& screen);

// Replaces the current font library with one for `screen`. When it cannot be made there is no
// current library, and callers skip dot-font drawing.
void CreateFontLibrary(const tagScreenInfo& screen, const std::filesystem::path& folder = ProgramFolder());
// Releases the current library (at program end).
void ReleaseFontLibrary();
// The current library, or null. Holding the pointer keeps the library alive while drawing.
std::shared_ptr<CTwFont> CurrentFontLibrary();

// One entry of an item editor's face list.
struct FaceListEntry {
  std::string name;
  FontStyle faceBits;  // the face number shifted to its style bits
};
// The faces of `library` that have a usable size among the screen's masks; empty without a library.
std::vector<FaceListEntry> FaceList(const CDotFont* library, std::uint16_t ascMask, std::uint16_t dbMask);

}  // namespace vantorel

#pragma once
// The library of cross-sign mapping files in the program folder: "Config/CrossMap/<W>x<H>/" holds
// the "*.map" files for signs of W x H pixels, each with an optional picture of its wiring under
// the same name with ".jpg". The program never reads a mapping file; the controller applies it.

#include <filesystem>
#include <string>
#include <vector>

namespace vantorel {

// The name a mapping file gets on the controller.
inline constexpr const char* kControllerMapName = "s:screen.map";

// "<program folder>/Config/CrossMap/<W>x<H>".
std::filesystem::path CrossMapFolder(const std::filesystem::path& programFolder, int width, int height);
// The "*.map" files of `folder` (regular files, the extension in any letter case), sorted by name;
// empty when the folder is missing.
std::vector<std::filesystem::path> CrossMapFiles(const std::filesystem::path& folder);
// The picture beside a mapping file: the same path with ".jpg" for ".map".
std::filesystem::path CrossMapPicture(const std::filesystem::path& mapFile);
// The title line of the mapping dialog: "%s, %d x %d, %s" with the screen's display name, size and
// communication parameters.
std::string CrossMapTitle(const std::string& displayName, int width, int height, const std::string& commParameters);

}  // namespace vantorel

#pragma once
// What moving-picture file a path names, by its extension (case-insensitive), and the file
// patterns the editor's open-file dialogs offer for media. The patterns are kept in the stored
// "description|patterns||" form; turning them into Qt's filter syntax is the editor's job.

#include <filesystem>
#include <string_view>

namespace vantorel {

enum MediaKind : int {
  kMediaNone = 0,       // not an animation
  kMediaVideo = 1,      // ".avi", ".mpg", ".mpeg", ".wmv", ".mp4": read through the video decoder
  kMediaAnimation = 2,  // ".laf": our animation file
  kMediaFlash = 3,      // ".swf": shown through the ".laf" file of the same name
};

MediaKind MediaKindOf(const std::filesystem::path& file);

// The animation file that stands for a Flash movie: the same path with the extension ".laf".
std::filesystem::path FlashStandIn(const std::filesystem::path& swf);

// The picture filter of the open-file dialogs.
inline constexpr std::string_view kImageFileFilter =
    "Image file (bmp;jpg;gif;tif;png)|*.bmp;*.jpg;*.gif;*.tif;*.png||";
// What the all-media filter of the item dialog lists besides the pictures.
inline constexpr std::string_view kVideoFilePatterns = "*.avi;*.mpg;*.mp4;*.wmv;*.swf";
inline constexpr std::string_view kTextFilePatterns = "*.txt";
inline constexpr std::string_view kOfficeFilePatterns = "*.doc;*.rtf;*.xls";

}  // namespace vantorel

#pragma once
// Media and background paths inside playbill files. A path inside the playbill's own folder is
// stored relative to it, as ".\" followed by the rest, so that a playbill moves with its media;
// a stored value that begins with "." is read against the folder of the file being read. Files
// made on Windows use "\" between folders: both separators are accepted when reading.

#include <filesystem>
#include <string>
#include <string_view>

namespace vantorel {

// Item kinds whose MEDIA holds a text (clock prefix, formatted-text name, sensor caption, counter
// text) rather than a file: such values are stored as they are, never taken for paths.
bool MediaIsText(int kind);

// The folder a playbill file's relative paths refer to: its parent, made absolute.
std::filesystem::path PlaybillFolderOf(const std::filesystem::path& playbill);

// `path` as written into a playbill stored in `folder`: ".\" + the rest when it lies inside that
// folder (compared exactly: Linux folders differ by letter case), else unchanged.
std::string StoredPath(std::string_view path, const std::filesystem::path& folder);

// A stored value as read from a playbill in `folder`: a value beginning with "." loses its leading
// ".", "/" and "\" characters, has its "\" separators turned into "/" and is put under `folder`;
// any other value is returned unchanged.
std::string ResolvedPath(std::string_view value, const std::filesystem::path& folder);

}  // namespace vantorel

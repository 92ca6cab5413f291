#pragma once
// Where the running program lives, and where its shipped data (fonts, part lists, languages, the
// default playbill) lies: beside the executable in a build tree, in <prefix>/share/vantorel when
// installed under <prefix>/bin. No absolute path is built in: an installed tree works wherever it
// is put (a package, a staging folder, /usr/local).

#include <filesystem>

namespace vantorel {

// The folder of the running executable (where vantorel-cli lies beside vantorel).
std::filesystem::path ExecutableFolder();

// The shipped-data folder of an executable in `executableFolder`: the folder the install rule
// puts the data in (../share/vantorel from bin/) when it exists, else the executable's own folder.
std::filesystem::path ProgramFolderFor(const std::filesystem::path& executableFolder);

// The program folder of this run: ProgramFolderFor(ExecutableFolder()).
std::filesystem::path ProgramFolder();

}  // namespace vantorel

#pragma once
// The folder layout of one run: where the program and its shipped data are, and where the
// machine's screens, playbills and generated controller files are kept.

#include <filesystem>

namespace vantorel {

// The folder in the work folder that holds the files made for the signs.
inline constexpr const char* kOutputFolderName = "a32sd";

class CAppFolders {
public:
  // Program folder = folder of the executable. Data folder = $VANTOREL_DATA_DIR when set, else
  // $XDG_DATA_HOME/OrvikSoft/<program folder name>; it is created when missing and falls back to
  // the program folder when it cannot be made.
  static CAppFolders FromEnvironment();
  CAppFolders(std::filesystem::path programFolder, std::filesystem::path dataFolder);

  const std::filesystem::path& ProgramFolder() const { return m_programFolder; }
  const std::filesystem::path& DataFolder() const { return m_dataFolder; }
  std::filesystem::path WorkFolder() const { return m_dataFolder / "work"; }
  std::filesystem::path OutputFolder() const { return WorkFolder() / kOutputFolderName; }
  std::filesystem::path TempFolder() const { return WorkFolder() / "tmpfile"; }
  std::filesystem::path ScreenFile() const { return m_dataFolder / "screen.cfg"; }
  std::filesystem::path SettingsFile() const { return m_dataFolder / "Vantorel.ini"; }
  std::filesystem::path LogFile() const { return m_dataFolder / "Vantorel.log"; }
  std::filesystem::path BrandingFile() const { return m_programFolder / "Vantorel.cfg"; }
  std::filesystem::path BackgroundPicture() const { return m_programFolder / "appbkgnd.jpg"; }
  std::filesystem::path LanguageFolder() const { return m_programFolder / "language"; }

  std::filesystem::path InProgramFolder(const std::filesystem::path& name) const { return m_programFolder / name; }
  std::filesystem::path InDataFolder(const std::filesystem::path& name) const { return m_dataFolder / name; }
  std::filesystem::path InWorkFolder(const std::filesystem::path& name) const { return WorkFolder() / name; }

private:
  std::filesystem::path m_programFolder;
  std::filesystem::path m_dataFolder;
};

// Creates `folder` and its parents with group read/write access; true when it exists afterwards.
bool MakeSharedFolder(const std::filesystem::path& folder);

// Exit clean-up of the temporary folder: deletes its files whose names start with "~", then the
// folder itself when nothing else is left in it.
void CleanTemporaryFolder(const std::filesystem::path& tempFolder);

}  // namespace vantorel

#include "maker/controller_file_names.h"

#include "app/text_format.h"

namespace vantorel {

std::string ScreenFilePrefix(std::uint16_t screenId) { return FormatText("%04x", static_cast<unsigned>(screenId)); }

std::string ProgramFileName(std::uint16_t screenId, int program) {
  return FormatText("%s%04x.lpb", ScreenFilePrefix(screenId).c_str(), static_cast<unsigned>(program) & 0xFFFFu);
}

std::string PlaybillIndexName(std::uint16_t screenId) { return ScreenFilePrefix(screenId) + ".lpp"; }
std::string ProgramScheduleName(std::uint16_t screenId) { return ScreenFilePrefix(screenId) + ".lpt"; }
std::string ExternalFileListName(std::uint16_t screenId) { return ScreenFilePrefix(screenId) + ".log"; }
std::string RunScheduleName(std::uint16_t screenId) { return ScreenFilePrefix(screenId) + ".rsf"; }

}  // namespace vantorel

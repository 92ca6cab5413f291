#pragma once
// The check run before font sizes are loaded into a controller: asks when a size list is empty,
// then refuses when a chosen size has no font file here.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace vantorel {

// The sizes of the two lists that have no font file for `codePage` (face 0).
struct MissingSizes {
  std::uint16_t ascii = 0;
  std::uint16_t doubleByte = 0;
};
MissingSizes MissingSizesForCodePage(const std::filesystem::path& folder, int codePage, std::uint16_t ascMask,
                                     std::uint16_t dbMask);

// The message listing missing sizes: "[A]:" with one line per ASCII size, then "[B]:" likewise.
std::string MissingSizesMessage(const MissingSizes& missing);

// Returns true when the operation may proceed. `confirm(question)` asks a Yes/No question and
// returns true for Yes. When sizes are missing, `errorMessage` receives the message to show
// (titled "Error", warning icon) and the result is false; a No leaves it empty.
bool CheckFontLibrarySettings(const std::filesystem::path& folder, int codePage, std::uint16_t ascMask,
                              std::uint16_t dbMask, const std::function<bool(const std::string&)>& confirm,
                              std::string& errorMessage);

}  // namespace vantorel

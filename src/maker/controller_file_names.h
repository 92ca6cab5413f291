#pragma once
// Names of the files the data maker writes for one screen, all in the output folder: the screen
// ID as four lower-case hexadecimal digits (IIII) followed by the extension, and the program files
// IIII followed by the program number as four hexadecimal digits (PPPP).
//
// Pure functions, safe on any thread.

#include <cstdint>
#include <string>

namespace vantorel {

// "001a" for screen ID 26.
std::string ScreenFilePrefix(std::uint16_t screenId);
// "001a0001.lpb" for program 1 of screen 26.
std::string ProgramFileName(std::uint16_t screenId, int program);
std::string PlaybillIndexName(std::uint16_t screenId);    // IIII.lpp
std::string ProgramScheduleName(std::uint16_t screenId);  // IIII.lpt
std::string ExternalFileListName(std::uint16_t screenId); // IIII.log
std::string RunScheduleName(std::uint16_t screenId);      // IIII.rsf

}  // namespace vantorel

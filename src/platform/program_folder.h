#pragma once
// Where the running program lives; shipped data (part lists, fonts, languages) lies beside it.

#include <filesystem>

namespace vantorel {

std::filesystem::path ProgramFolder();

}  // namespace vantorel

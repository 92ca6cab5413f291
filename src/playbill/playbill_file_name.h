#pragma once
// The name of a playbill file that a user typed (export, save as), completed alike by the editor
// and the command line.

#include <filesystem>

namespace vantorel {

// `typed` with the playbill extension (".lpl") added when it has none.
std::filesystem::path WithPlaybillExtension(std::filesystem::path typed);

}  // namespace vantorel

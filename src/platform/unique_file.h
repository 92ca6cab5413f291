#pragma once
// Files that two workers never share: a new file with a name no other process or thread gets,
// and a rename that refuses to replace a file that is already there. Conversions that run at the
// same time into one folder use them so that neither writes over the other's output.

#include <filesystem>
#include <string_view>

#include "platform/status.h"

namespace vantorel {

// Creates a new empty file in `folder` named `prefix`, six random letters or digits, `suffix`.
Expected<std::filesystem::path> CreateUniqueFile(const std::filesystem::path& folder, std::string_view prefix,
                                                 std::string_view suffix);

// Renames `from` to `to` when no file is at `to`; otherwise fails with EEXIST and changes nothing.
Status RenameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace vantorel

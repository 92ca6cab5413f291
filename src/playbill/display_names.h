#pragma once
// The names the program tree and lists show for records.

#include <string>
#include <string_view>

#include "playbill/prg_item.h"

namespace vantorel {

// Programs: their name or "Program", then "[p+1]"; windows: their name or "Window", then
// "[(w mod 16)+1]"; items by kind: their text, file name or a bracketed kind name.
std::string RecordDisplayName(const PrgList& list, int index);

// The file-name part of a stored path; both separators count, since stored files may come from
// Windows installations.
std::string_view FileNamePart(std::string_view path);

}  // namespace vantorel

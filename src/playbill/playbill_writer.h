#pragma once
// Writing playbill files: the 20-byte header, then the SCREEN section of the screen the playbill
// is written for and one section per record, every line as a scrambled record (playbill_lines.h).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/status.h"
#include "playbill/prg_item.h"
#include "screen/screen_data.h"

namespace vantorel {

// The bytes of a playbill file holding `list` for `screen`: every program when `programIndex` is
// -1, else only the program of that index (0-based), or the first one when there is no such
// program. Paths inside `folder` are stored relative to it. Nothing for screens of controller
// classes other than 6 and 7 and for lists without a program: such a file would hold no playbill.
std::optional<std::vector<std::uint8_t>> EncodePlaybill(const PrgList& list, const tagScreenInfo& screen,
                                                        int programIndex, const std::filesystem::path& folder);

// Writes `file` through a temporary file in the same folder that replaces it only when complete,
// so a failed write leaves the previous playbill as it was. A failure names the system's reason.
Status WritePlaybill(const std::filesystem::path& file, const PrgList& list, const tagScreenInfo& screen,
                   int programIndex = -1);

}  // namespace vantorel

#pragma once
// Packing the program files of a playbill index into program packs (".lpm"): whole program files
// back to back, then "idx4", one u32 offset per file and the offset of "idx4", then a 16-byte
// trailer ("lpm!", the offset of "idx4", the file count, 6 zero bytes). The packed index names the
// pack in place of each packed file and holds the file's position inside it (docs/formats.md,
// "Program packs").
//
// Packing never loses data: every pack and the new index (".lp~" beside the ".lpp") are written
// whole first; only then does the new index replace the old one (a rename) and are the packed
// program files deleted. A failure before that removes what was written and leaves the folder as
// it was.
//
// Files of one folder: one packing at a time per folder.

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "platform/status.h"

namespace vantorel {

// A pack file, its table and trailer included, stays within this size.
inline constexpr std::uint64_t kPackLimitBytes = 1024000;
inline constexpr int kPackMaxFiles = 256;

struct PackSummary {
  int packs = 0;        // pack files made
  int packedFiles = 0;  // distinct program files moved into them
};

// The bytes of a pack of `files`, in their order.
std::vector<std::uint8_t> ProgramPackBytes(std::span<const std::vector<std::uint8_t>> files);
// The size of a pack of `count` files of `fileBytes` bytes together.
std::uint64_t ProgramPackSize(std::uint64_t fileBytes, std::size_t count);

// Packs the program files that `indexFile` names (they lie beside it). With fewer than 2 index
// entries, or when no pack of at least 2 files can be made, nothing changes. An index that
// already names a pack is refused.
Expected<PackSummary> PackProgramFiles(const std::filesystem::path& indexFile);

}  // namespace vantorel

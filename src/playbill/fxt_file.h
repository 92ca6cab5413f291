#pragma once
// Formatted-text files (".fxt"): the cells of a "Text mode" item, exchanged between editors and
// machines, and plain text files (".txt") loaded into the formatted-text editor.
//
//   offset 0  7 bytes   version: "FXT0100" (cells of 3 bytes) or "FXT0200" (cells of 6 bytes)
//   offset 7  n x size  the cells as in the item's block, without the terminating cell
//
// Threads: the functions keep no state; any thread may call them.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/status.h"
#include "playbill/rich_text_block.h"

namespace vantorel {

inline constexpr std::string_view kFxtVersion3 = "FXT0100";
inline constexpr std::string_view kFxtVersion6 = "FXT0200";
// A plain text file loads into the editor up to this many bytes.
inline constexpr std::size_t kEditorTextFileBytes = 2000;

// The block of a ".fxt" file for an item whose buffer holds `bufferSize` bytes (at most
// RichTextBlock::kMaxBytes count): as many whole cells as fit beside the count, the cell size
// byte and the terminating cell; a remainder of less than a cell is ignored. The block holds
// exactly the header, the cells and the terminating cell. Fails with kTextFxtOpenError when the
// file cannot be read and kTextFxtFormatIncorrect when its version is neither of the two; the
// caller's item stays as it was.
Expected<RichTextBlock> ReadFxtFile(const std::filesystem::path& file, std::size_t bufferSize);

// Writes the cells of a kind-6 block (up to its count, the bytes it holds and its first cell of
// code 0) after the version of its cell size, atomically. Fails with kTextFxtNoText when it
// holds no cell and with kTextFxtCreateError (and the system's reason) when the file cannot be
// written; an existing file is then left as it was.
Status WriteFxtFile(const std::filesystem::path& file, const RichTextBlock& block);

// The first kEditorTextFileBytes bytes of a text file as UTF-8 (a legacy code page when they are
// not UTF-8; a character cut at the limit is left out). Fails with kTextFxtOpenError.
Expected<std::string> ReadEditorTextFile(const std::filesystem::path& file);

}  // namespace vantorel

#pragma once
// Reading playbill files of both generations: the current one (20-byte header, scrambled line
// records) and the older plain-text one (lines of text, the version in a "[PRGLIST]" block).
//
// Files come from users, other machines and older versions: nothing in them is trusted. What is
// sound is loaded; damaged records are dropped; the reader never reads outside the file.

#include <cstdint>
#include <filesystem>
#include <span>

#include "platform/status.h"
#include "playbill/prg_item.h"
#include "screen/screen_data.h"

namespace vantorel {

// Fills `list` with the playbill in `file` (cleared first). `version` is the document's format
// version: a current-generation file sets it from its header (at least 110), a plain-text file
// from its "[PRGLIST]" block (at least 100) or leaves it. When `screen` is given and is of a
// controller class other than 6 and 7, only the first window of each program and the first item
// of that window are kept. Returns what was dropped as damaged (lines over 1022 bytes, records cut
// off by the end of the file, sections out of order or not closed, blocks shorter than they say),
// or the failure with its cause when the file or its header cannot be read; the list is then empty.
Expected<ReadWarnings> ReadPlaybill(const std::filesystem::path& file, PrgList& list, int& version,
                                    const tagScreenInfo* screen = nullptr);
// The same on the bytes of a file stored in `folder` (relative paths are read against it).
Expected<ReadWarnings> DecodePlaybill(std::span<const std::uint8_t> bytes, const std::filesystem::path& folder,
                                      PrgList& list, int& version, const tagScreenInfo* screen = nullptr);

// The screen a playbill file was written for: its SCREEN section read as a screen list block is
// (FONTLIB, ASCSIZEM, EXTSIZEM 1, 29, 28 when missing; size, model and ID corrected), with the
// controller class the file names, whichever it is. A file without a SCREEN section gives a
// screen of class 0, which suits no screen. False when the file or its first 20 bytes cannot be
// read.
bool ReadPlaybillScreen(const std::filesystem::path& file, tagScreenInfo& screen);
bool DecodePlaybillScreen(std::span<const std::uint8_t> bytes, tagScreenInfo& screen);

}  // namespace vantorel

#pragma once
// The playbill index of a screen (IIII ".lpp", magic "LL"): the screen's size, colour mode and
// rotation flag, then one 16-byte entry per program naming its program file (docs/formats.md,
// "Playbill index").
//
// Pure functions; the writer replaces the file through a temporary one. Safe on any thread.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "platform/status.h"

namespace vantorel {

inline constexpr std::size_t kPlaybillIndexHeaderBytes = 16;
inline constexpr std::size_t kPlaybillIndexEntryBytes = 16;
inline constexpr std::size_t kIndexFileNameChars = 12;

struct PlaybillIndexHeader {
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint8_t colourMode = 0;
  std::uint8_t rotation = 0;  // 1 when the screen is rotated
};

struct PlaybillIndexEntry {
  std::string fileName;  // 12 characters, stored without a terminator
  // The program's window count; in a packed index the file's position inside its pack.
  std::uint8_t windowsOrPosition = 0;

  friend bool operator==(const PlaybillIndexEntry&, const PlaybillIndexEntry&) = default;
};

// A name shorter than 12 characters is padded with zero bytes, a longer one cut; the program
// count is the number of entries (at most 65535 are stored).
std::vector<std::uint8_t> PlaybillIndexBytes(const PlaybillIndexHeader& header, std::span<const PlaybillIndexEntry> entries);
// Refuses a name that is not exactly 12 characters and more than 65535 entries; a failed write
// leaves the old file as it was.
Status WritePlaybillIndex(const std::filesystem::path& file, const PlaybillIndexHeader& header,
                          std::span<const PlaybillIndexEntry> entries);

}  // namespace vantorel

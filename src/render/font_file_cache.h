#pragma once
// Dot-font files held in memory. Reading a glyph is a copy out of memory instead of an open, seek,
// read and close per character. A file is read whole (up to the size its kind can use) the first
// time it is needed, and every entry is checked against the disk again once its re-check interval
// has passed (one second by default): a file that is missing gives no glyph, a file added,
// replaced or removed later is seen at the next check.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace vantorel {

// The font files a library reads, by the base name of their file names.
enum class FontFileKind : int { kAsc, kGb, kGbex, kBig, kHkscs, kKsc, kSjis, kAsciiOvf };
inline constexpr int kFontFileKindCount = 8;

// The file base name of a kind ("asc", "gb" ...; "ascii" for the extended-ASCII files).
const char* FontFileBaseName(FontFileKind kind);

// File name of a dot-font file: "asc.fmd" / "asc_2.fmd" for base "asc" up to 32 dots,
// "gb16.fmd" / "gb16_2.fmd" otherwise.
std::string DotFontFileName(const std::string& baseName, int sizeIndex, int face);
// "ascii.ovf" for face 0, "ascii_%d.ovf" for faces 1 to 7.
std::string AsciiOvfFileName(int face);

// Result of a read from a font file.
enum class FontRead { kOk, kNoFile, kShort };

class CFontFileCache {
public:
  // The shared cache of `folder`; libraries of the same folder share one.
  static std::shared_ptr<CFontFileCache> ForFolder(const std::filesystem::path& folder);

  // How long a checked entry is trusted before the disk is looked at again (tests use zero).
  static void SetRecheckInterval(std::chrono::milliseconds interval);

  explicit CFontFileCache(std::filesystem::path folder);
  CFontFileCache(const CFontFileCache&) = delete;
  CFontFileCache& operator=(const CFontFileCache&) = delete;

  const std::filesystem::path& Folder() const { return m_folder; }

  // Copies `dest.size()` bytes at `offset` of the file of (kind, size index, face). kShort when the
  // bytes do not all lie inside the file; nothing outside the file is ever read.
  FontRead Read(FontFileKind kind, int sizeIndex, int face, std::size_t offset, std::span<std::uint8_t> dest);
  // Calls `use` with the bytes of that file as held; false (without calling) when it does not exist.
  bool WithFile(FontFileKind kind, int sizeIndex, int face, const std::function<void(std::span<const std::uint8_t>)>& use);

  // Largest number of bytes of a file of this kind that a lookup can reach.
  static std::size_t UsableBytes(FontFileKind kind, int sizeIndex);

private:
  struct Entry {
    std::vector<std::uint8_t> bytes;
    bool exists = false;
    bool checked = false;
    std::chrono::steady_clock::time_point nextCheck{};
    std::int64_t diskSize = -1;
    std::int64_t diskTime = 0;
  };

  Entry& Current(FontFileKind kind, int sizeIndex, int face);
  void Refresh(Entry& entry, FontFileKind kind, int sizeIndex, int face);
  std::filesystem::path PathOf(FontFileKind kind, int sizeIndex, int face) const;

  std::filesystem::path m_folder;
  std::mutex m_lock;
  std::array<Entry, kFontFileKindCount * 8 * 8> m_entries;
};

}  // namespace vantorel

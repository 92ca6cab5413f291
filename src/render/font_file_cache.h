#pragma once
// Dot-font files held in memory. Reading a glyph is a copy out of memory instead of an open, seek,
// read and close per character. A file is read whole (up to the size its kind can use) the first
// time it is needed, and every entry is checked against the disk again once its re-check interval
// has passed (one second by default): a file that is missing gives no glyph, a file added,
// replaced or removed later is seen at the next check.
//
// Threads: one cache serves every library of its folder, on every thread at once. A lookup takes
// no lock: it reads an entry's published image, which is immutable. Only the re-check (once an
// interval per file) takes the cache's lock. An image replaced by a newer one stays in memory
// until the cache goes, because a lookup on another thread may still be copying out of it; font
// files change only when fonts are installed, so these are few.

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/status.h"

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

// The bytes of one font file as read, never changed once published.
struct FontFileImage {
  std::filesystem::path path;
  std::vector<std::uint8_t> bytes;
  std::int64_t diskSize = -1;
  std::int64_t diskTime = 0;
};

class CFontFileCache {
public:
  // The shared cache of `folder`; libraries of the same folder share one, and it lives as long as
  // one of them does.
  static std::shared_ptr<CFontFileCache> ForFolder(const std::filesystem::path& folder);

  // How long a checked entry is trusted before the disk is looked at again (tests use zero).
  // Process-wide and atomic: any thread may set it.
  static void SetRecheckInterval(std::chrono::milliseconds interval);

  explicit CFontFileCache(std::filesystem::path folder);
  CFontFileCache(const CFontFileCache&) = delete;
  CFontFileCache& operator=(const CFontFileCache&) = delete;

  const std::filesystem::path& Folder() const { return m_folder; }

  // Copies `dest.size()` bytes at `offset` of the file of (kind, size index, face). kShort when the
  // bytes do not all lie inside the file; nothing outside the file is ever read.
  FontRead Read(FontFileKind kind, int sizeIndex, int face, std::size_t offset, std::span<std::uint8_t> dest);
  // The file of (kind, size index, face) as now held; it stays valid while this cache lives. A
  // failure names the file when it does not exist.
  Expected<const FontFileImage*> File(FontFileKind kind, int sizeIndex, int face);

  // The "asc.fmd" image that the ASCII-capable libraries of this folder share: the one read when a
  // library first asked and found the file; null while none did. Kept while the cache lives.
  const FontFileImage* AscImage();

  // Largest number of bytes of a file of this kind that a lookup can reach.
  static std::size_t UsableBytes(FontFileKind kind, int sizeIndex);

private:
  struct Entry {
    std::atomic<const FontFileImage*> image{nullptr};  // null: no such file
    std::atomic<std::int64_t> nextCheck{0};            // steady-clock nanoseconds; 0 = never checked
  };

  const FontFileImage* Current(FontFileKind kind, int sizeIndex, int face);
  // Called with the lock held.
  void Refresh(Entry& entry, FontFileKind kind, int sizeIndex, int face);
  std::filesystem::path PathOf(FontFileKind kind, int sizeIndex, int face) const;

  const std::filesystem::path m_folder;
  std::array<Entry, kFontFileKindCount * 8 * 8> m_entries;
  std::atomic<const FontFileImage*> m_ascImage{nullptr};
  // Guards the re-checks and `m_images`.
  std::mutex m_lock;
  // Every image ever published, so that none goes while a lookup may still read it.
  std::vector<std::unique_ptr<const FontFileImage>> m_images;
};

}  // namespace vantorel

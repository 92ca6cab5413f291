#include "render/font_file_cache.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <map>

#include "platform/byte_reader.h"
#include "render/font_code_index.h"
#include "render/font_style.h"

namespace vantorel {
namespace {

// A setting for tests and benchmarks, read by every lookup on every thread.
std::atomic<std::int64_t> g_recheckNanoseconds{1'000'000'000};

std::int64_t SteadyNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The glyph count of each file kind, for the bytes a lookup can reach.
int GlyphCapacity(FontFileKind kind) {
  switch (kind) {
    case FontFileKind::kGb: return kGb2312GlyphCount;
    case FontFileKind::kGbex: return kGbkExtGlyphCount;
    case FontFileKind::kBig: return kBig5GlyphCount;
    case FontFileKind::kHkscs: return kHkscsGlyphCount;
    case FontFileKind::kKsc: return kKsc5601GlyphCount;
    case FontFileKind::kSjis: return kShiftJisGlyphCount + kShiftJisLeadingGlyphs;
    case FontFileKind::kAsc:
    case FontFileKind::kAsciiOvf: break;
  }
  return 0;
}

// "asc.fmd" serves the five sizes up to 32 dots, and one "ascii.ovf" serves every size: such
// files take one entry.
int EntrySize(FontFileKind kind, int sizeIndex) {
  if (kind == FontFileKind::kAsciiOvf) return 0;
  if (kind == FontFileKind::kAsc && sizeIndex <= 4) return 0;
  return sizeIndex & 7;
}

}  // namespace

const char* FontFileBaseName(FontFileKind kind) {
  static constexpr const char* kNames[kFontFileKindCount] = {"asc", "gb", "gbex", "big", "hkscs", "ksc", "sjis", "ascii"};
  return kNames[static_cast<int>(kind)];
}

std::string DotFontFileName(const std::string& baseName, int sizeIndex, int face) {
  const int height = IndexToSize(sizeIndex);
  char name[64];
  if (baseName == "asc" && height <= 32) {
    if (face == 0) {
      std::snprintf(name, sizeof name, "%s.fmd", baseName.c_str());
    } else {
      std::snprintf(name, sizeof name, "%s_%d.fmd", baseName.c_str(), face);
    }
  } else if (face == 0) {
    std::snprintf(name, sizeof name, "%s%02d.fmd", baseName.c_str(), height);
  } else {
    std::snprintf(name, sizeof name, "%s%02d_%d.fmd", baseName.c_str(), height, face);
  }
  return name;
}

std::string AsciiOvfFileName(int face) {
  return face == 0 ? std::string("ascii.ovf") : "ascii_" + std::to_string(face) + ".ovf";
}

std::shared_ptr<CFontFileCache> CFontFileCache::ForFolder(const std::filesystem::path& folder) {
  // The caches alive in the process, by folder; any thread may ask.
  static std::mutex lock;
  static std::map<std::filesystem::path, std::weak_ptr<CFontFileCache>> caches;
  const std::lock_guard<std::mutex> guard(lock);
  std::erase_if(caches, [](const auto& entry) { return entry.second.expired(); });
  auto& slot = caches[folder];
  auto cache = slot.lock();
  if (!cache) {
    cache = std::make_shared<CFontFileCache>(folder);
    slot = cache;
  }
  return cache;
}

void CFontFileCache::SetRecheckInterval(std::chrono::milliseconds interval) {
  g_recheckNanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(interval).count();
}

CFontFileCache::CFontFileCache(std::filesystem::path folder) : m_folder(std::move(folder)) {}

std::size_t CFontFileCache::UsableBytes(FontFileKind kind, int sizeIndex) {
  const FontGeometry& geometry = GeometryOf(sizeIndex);
  switch (kind) {
    case FontFileKind::kAsc: {
      if (sizeIndex <= 4) {
        std::size_t total = 0;
        for (int s = 0; s <= 4; ++s) total += 95 * static_cast<std::size_t>(GeometryOf(s).halfBytes);
        return total;
      }
      return 95 * static_cast<std::size_t>(geometry.halfBytes);
    }
    case FontFileKind::kAsciiOvf:
      // A whole face with every size takes about 260 KB; anything past this limit is not a font.
      return 4u << 20;
    default:
      return static_cast<std::size_t>(GlyphCapacity(kind)) * static_cast<std::size_t>(geometry.fullBytes);
  }
}

std::filesystem::path CFontFileCache::PathOf(FontFileKind kind, int sizeIndex, int face) const {
  if (kind == FontFileKind::kAsciiOvf) return m_folder / AsciiOvfFileName(face);
  return m_folder / DotFontFileName(FontFileBaseName(kind), sizeIndex, face);
}

const FontFileImage* CFontFileCache::Current(FontFileKind kind, int sizeIndex, int face) {
  const int size = EntrySize(kind, sizeIndex);
  Entry& entry = m_entries[static_cast<std::size_t>((static_cast<int>(kind) * 8 + size) * 8 + (face & 7))];
  const std::int64_t now = SteadyNanoseconds();
  const std::int64_t nextCheck = entry.nextCheck.load(std::memory_order_acquire);
  if (nextCheck == 0 || now >= nextCheck) {
    const std::lock_guard<std::mutex> guard(m_lock);
    // Another thread may have checked the file while this one waited.
    const std::int64_t again = entry.nextCheck.load(std::memory_order_relaxed);
    if (again == 0 || now >= again) {
      Refresh(entry, kind, size, face & 7);
      entry.nextCheck.store(std::max<std::int64_t>(now + g_recheckNanoseconds.load(), 1), std::memory_order_release);
    }
  }
  return entry.image.load(std::memory_order_acquire);
}

void CFontFileCache::Refresh(Entry& entry, FontFileKind kind, int sizeIndex, int face) {
  const auto path = PathOf(kind, sizeIndex, face);
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    entry.image.store(nullptr, std::memory_order_release);
    return;
  }
  const std::int64_t diskTime = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  const FontFileImage* held = entry.image.load(std::memory_order_relaxed);
  if (held != nullptr && held->diskSize == info.st_size && held->diskTime == diskTime) return;

  std::ifstream file(path, std::ios::binary);
  if (!file) {
    entry.image.store(nullptr, std::memory_order_release);
    return;
  }
  auto image = std::make_unique<FontFileImage>();
  image->path = path;
  image->bytes.resize(std::min<std::size_t>(static_cast<std::size_t>(info.st_size), UsableBytes(kind, sizeIndex)));
  file.read(reinterpret_cast<char*>(image->bytes.data()), static_cast<std::streamsize>(image->bytes.size()));
  image->bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(file.gcount(), 0)));
  image->diskSize = info.st_size;
  image->diskTime = diskTime;
  entry.image.store(image.get(), std::memory_order_release);
  m_images.push_back(std::move(image));
}

FontRead CFontFileCache::Read(FontFileKind kind, int sizeIndex, int face, std::size_t offset,
                              std::span<std::uint8_t> dest) {
  const FontFileImage* image = Current(kind, sizeIndex, face);
  if (image == nullptr) return FontRead::kNoFile;
  ByteReader in(image->bytes);
  in.Seek(offset);
  const auto bytes = in.Bytes(dest.size());
  if (!in.ok()) return FontRead::kShort;
  std::copy(bytes.begin(), bytes.end(), dest.begin());
  return FontRead::kOk;
}

Expected<const FontFileImage*> CFontFileCache::File(FontFileKind kind, int sizeIndex, int face) {
  const FontFileImage* image = Current(kind, sizeIndex, face);
  if (image == nullptr) return Status::SystemError(ENOENT, PathOf(kind, sizeIndex, face));
  return image;
}

const FontFileImage* CFontFileCache::AscImage() {
  const FontFileImage* held = m_ascImage.load(std::memory_order_acquire);
  if (held != nullptr) return held;
  const FontFileImage* found = Current(FontFileKind::kAsc, 0, 0);
  // The first image found stays; a library made later shares it.
  m_ascImage.compare_exchange_strong(held, found, std::memory_order_acq_rel);
  return m_ascImage.load(std::memory_order_acquire);
}

}  // namespace vantorel

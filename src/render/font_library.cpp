#include "render/font_library.h"

#include <mutex>
#include <new>

#include "render/font_lib_ascii_ex.h"
#include "render/font_lib_asia.h"
#include "screen/controller_types.h"

namespace vantorel {
namespace {

std::mutex g_currentLock;
std::shared_ptr<CTwFont> g_current;

std::unique_ptr<CTwFont> MakeForCodePage(int codePage, const std::filesystem::path& folder) {
  switch (codePage) {
    case kCodePageAscii: return std::make_unique<CFontLib_ASCII>(folder);
    case kCodePageBig5: return std::make_unique<CFontLib_BIG5>(folder);
    case kCodePageShiftJis: return std::make_unique<CFontLib_SJIS>(folder);
    case kCodePageAsciiEx: return std::make_unique<CFontLib_AsciiEx>(folder);
    case kCodePageKsc5601: return std::make_unique<CFontLib_KSC5601>(folder);
    default: return std::make_unique<CFontLib_GB2312>(folder);
  }
}

}  // namespace

std::unique_ptr<CTwFont> MakeFontLibrary(const tagScreenInfo& screen, const std::filesystem::path& folder) {
  const bool ownFonts = IsKnownControllerClass(screen.type);
  auto library = ownFonts ? MakeForCodePage(screen.fontLib, folder) : std::make_unique<CFontLib_ASCII>(folder);
  library->SetCodePage(screen.fontLib);
  return library;
}

int FontCodePageOf(const tagScreenInfo& screen) {
  if (!IsKnownControllerClass(screen.type)) return kCodePageAscii;
  return screen.fontLib <= kCodePageKsc5601 ? static_cast<int>(screen.fontLib) : static_cast<int>(kCodePageGb2312);
}

void CreateFontLibrary(const tagScreenInfo& screen, const std::filesystem::path& folder) {
  ReleaseFontLibrary();
  std::shared_ptr<CTwFont> library;
  try {
    library = MakeFontLibrary(screen, folder);
  } catch (const std::bad_alloc&) {
    library.reset();
  }
  const std::lock_guard<std::mutex> guard(g_currentLock);
  g_current = std::move(library);
}

void ReleaseFontLibrary() {
  std::shared_ptr<CTwFont> old;
  {
    const std::lock_guard<std::mutex> guard(g_currentLock);
    old.swap(g_current);
  }
}

std::shared_ptr<CTwFont> CurrentFontLibrary() {
  const std::lock_guard<std::mutex> guard(g_currentLock);
  return g_current;
}

std::vector<FaceListEntry> FaceList(const CDotFont* library, std::uint16_t ascMask, std::uint16_t dbMask) {
  std::vector<FaceListEntry> entries;
  if (library == nullptr) return entries;
  for (int face = 0; face < kFontFaceCount; ++face) {
    std::string name;
    if (library->GetFaceName(name, face, ascMask, dbMask)) {
      entries.push_back({name, static_cast<FontStyle>(face) << kStyleFaceShift});
    }
  }
  return entries;
}

}  // namespace vantorel

#include "render/item_pages.h"

#include "app/text_ids.h"
#include "codecs/picture_file.h"
#include "render/place_picture.h"

namespace vantorel {
namespace {

std::filesystem::path MediaPath(std::string_view stored, const std::filesystem::path& folder) {
  std::filesystem::path path(stored);
  return path.is_relative() && !folder.empty() ? folder / path : path;
}

Expected<CLedBitmap> PlacedPicture(std::string_view file, int mode, bool inverse, QSize size, std::uint16_t colourMode,
                                   const std::filesystem::path& folder) {
  const Expected<QImage> picture = ReadPicture(MediaPath(file, folder));
  if (!picture) return picture.status().WithText(kTextPictureUnreadable);
  CLedBitmap bitmap(size.width(), size.height(), colourMode);
  PlacePicture(bitmap, *picture, mode, inverse);
  return bitmap;
}

}  // namespace

bool CanRenderItemKind(std::uint16_t kind) { return kind == kKindPicture; }

Expected<std::vector<CLedBitmap>> RenderItemPages(const tagItemPart& item, QSize windowSize, std::uint16_t colourMode,
                                                  const std::filesystem::path& folder) {
  if (item.actType == kKindPicture) {
    Expected<CLedBitmap> page =
        PlacedPicture(item.media.view(), item.showMode, item.negative != 0, windowSize, colourMode, folder);
    if (!page) return page.status();
    return std::vector<CLedBitmap>{std::move(*page)};
  }
  return Status::Failure(kTextItemKindNotDrawn, ItemKindToken(item.actType));
}

Expected<CLedBitmap> RenderProgramBackground(const tagProgramPart& program, QSize screenSize, std::uint16_t colourMode,
                                             const std::filesystem::path& folder) {
  if (program.backgrd.view().empty()) return CLedBitmap();
  return PlacedPicture(program.backgrd.view(), program.showMode, false, screenSize, colourMode, folder);
}

}  // namespace vantorel

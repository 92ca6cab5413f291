#include "render/item_pages.h"

#include "app/text_ids.h"
#include "codecs/picture_file.h"
#include "playbill/effect_table.h"
#include "render/celltext/cell_page.h"
#include "render/faces/face_page.h"
#include "render/media/item_frames.h"
#include "platform/atomic_file.h"
#include "render/media/office_document.h"
#include "render/place_picture.h"
#include "render/richtext/rich_text_item.h"
#include "render/richtext/rich_text_pages.h"

namespace vantorel {

std::filesystem::path ItemMediaPath(std::string_view stored, const std::filesystem::path& folder) {
  std::filesystem::path path(stored);
  return path.is_relative() && !folder.empty() ? folder / path : path;
}

namespace {

Expected<CLedBitmap> PlacedPicture(std::string_view file, int mode, bool inverse, QSize size, std::uint16_t colourMode,
                                   const std::filesystem::path& folder) {
  const Expected<QImage> picture = ReadPicture(ItemMediaPath(file, folder));
  if (!picture) return picture.status().WithText(kTextPictureUnreadable);
  CLedBitmap bitmap(size.width(), size.height(), colourMode);
  PlacePicture(bitmap, *picture, mode, inverse);
  return bitmap;
}

// Every page of a "Text mode" item: from the first cell to the end of the text, each page
// starting at the first cell the one before did not draw.
Expected<std::vector<CLedBitmap>> CellTextPages(const tagItemPart& item, QSize windowSize,
                                                const ItemRenderSettings& settings) {
  if (settings.fontLibrary == nullptr) return Status::Failure(kTextNoFontLibrary, ItemKindToken(item.actType));
  std::vector<CLedBitmap> pages;
  if (windowSize.width() <= 0 || windowSize.height() <= 0) return pages;
  CellPageSettings page;
  page.background = item.bgColor & 0xFFFFFF;
  page.textStyle = static_cast<std::uint32_t>(item.txt2Img);
  page.singleLine = IsHorizontalScroll(item.showType);
  page.verticalScroll = IsVerticalScroll(item.showType);
  const CellTextView cells = item.richTxt ? CellTextView(*item.richTxt) : CellTextView();
  std::size_t first = 0;
  do {
    CLedBitmap bitmap(windowSize.width(), windowSize.height(), settings.colourMode);
    const CellPage drawn = DrawCellPage(bitmap, cells, *settings.fontLibrary, first, page);
    if (drawn.nextCell <= first) {
      // Nothing drawn: the text ends here. An item without text still shows its background.
      if (pages.empty()) pages.push_back(std::move(bitmap));
      break;
    }
    pages.push_back(std::move(bitmap));
    first = drawn.nextCell;
  } while (first < cells.Count() && cells.CodeAt(first) != 0);
  return pages;
}

constexpr LedColour kPaperWhite = 0xFFFFFF;
constexpr LedColour kInkBlack = 0x000000;

// A text file is drawn as it is read; a larger one is cut here.
constexpr std::size_t kMaxTextFileBytes = 1 << 20;

Expected<std::unique_ptr<QTextDocument>> RichTextDocument(const tagItemPart& item, const std::filesystem::path& folder) {
  if (item.actType == kKindImageText) return ImageTextDocument(item.richTxt ? &*item.richTxt : nullptr);
  if (item.actType == kKindDocument) return OfficeDocumentText(ItemMediaPath(item.media.view(), folder));
  std::string bytes;
  if (Status read = ReadFileStart(ItemMediaPath(item.media.view(), folder), kMaxTextFileBytes, bytes); !read) {
    return read.WithText(kTextTextFileUnreadable);
  }
  return PlainTextDocument(bytes, FontOfLogFont(item.logFont));
}

// Every page of a text file, office document or "Image mode" item, cut by the item's effect: on
// its background, text without a colour of its own in the item's font colour (a document: as on
// paper); pieces of a line scrolling across are centred vertically.
Expected<std::vector<CLedBitmap>> RichTextItemPages(const tagItemPart& item, QSize windowSize,
                                                    const ItemRenderSettings& settings) {
  std::vector<CLedBitmap> pages;
  if (windowSize.width() <= 0 || windowSize.height() <= 0) return pages;
  Expected<std::unique_ptr<QTextDocument>> document = RichTextDocument(item, settings.folder);
  if (!document) return document.status();
  CLedBitmap bitmap(windowSize.width(), windowSize.height(), settings.colourMode);
  // An office document carries no colours of its own in the item: it looks as on paper, text
  // without a colour black on white, and NEGATIVE turns it light on dark.
  const bool paper = item.actType == kKindDocument;
  CRichTextPages text;
  text.SetBackground(paper ? kPaperWhite : item.bgColor);
  text.SetTextColour(paper ? kInkBlack : item.fntColor);
  text.SetRemoveFontSmooth(settings.removeFontSmooth);
  text.SetVerticalCentring(true);
  text.SetTarget(&bitmap);
  text.Load(std::move(*document));
  text.Paginate(PaginationModeFor(item.showType));
  while (text.DrawNextPage()) pages.push_back(bitmap);
  // An item without text still shows its background.
  if (pages.empty()) pages.push_back(std::move(bitmap));
  if (paper && item.negative != 0) {
    for (CLedBitmap& page : pages) page.Image().invertPixels();
  }
  return pages;
}

}  // namespace

bool CanRenderItemKind(std::uint16_t kind) {
  return kind == kKindPicture || kind == kKindCellText || kind == kKindTextFile || kind == kKindDocument ||
         kind == kKindImageText || IsFaceKind(kind) || IsMovingItemKind(kind);
}

Expected<std::vector<CLedBitmap>> RenderItemPages(const tagItemPart& item, QSize windowSize,
                                                  const ItemRenderSettings& settings) {
  if (item.actType == kKindPicture) {
    Expected<CLedBitmap> page = PlacedPicture(item.media.view(), item.showMode, item.negative != 0, windowSize,
                                              settings.colourMode, settings.folder);
    if (!page) return page.status();
    return std::vector<CLedBitmap>{std::move(*page)};
  }
  if (item.actType == kKindCellText) return CellTextPages(item, windowSize, settings);
  if (item.actType == kKindTextFile || item.actType == kKindDocument || item.actType == kKindImageText) {
    return RichTextItemPages(item, windowSize, settings);
  }
  if (IsFaceKind(item.actType)) {
    Expected<CLedBitmap> face =
        RenderFacePage(item, windowSize, settings.fontLibrary, settings.colourMode, settings.moment);
    if (!face) return face.status();
    std::vector<CLedBitmap> pages;
    if (!face->IsEmpty()) pages.push_back(std::move(*face));
    return pages;
  }
  if (IsMovingItemKind(item.actType)) {
    std::vector<CLedBitmap> pages;
    const Status drawn = ForEachItemFrame(item, windowSize, settings, [&pages](const CLedBitmap& frame, int) {
      pages.push_back(frame);
      return false;
    });
    if (!drawn) return drawn;
    return pages;
  }
  return Status::Failure(kTextItemKindNotDrawn, ItemKindToken(item.actType));
}

Expected<CLedBitmap> RenderProgramBackground(const tagProgramPart& program, QSize screenSize, std::uint16_t colourMode,
                                             const std::filesystem::path& folder) {
  if (program.backgrd.view().empty()) return CLedBitmap();
  return PlacedPicture(program.backgrd.view(), program.showMode, false, screenSize, colourMode, folder);
}

}  // namespace vantorel

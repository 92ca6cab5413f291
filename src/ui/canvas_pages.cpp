#include "ui/canvas_pages.h"

#include <system_error>
#include <typeinfo>

#include "app/status_text.h"
#include "app/text_format.h"
#include "render/faces/face_page.h"
#include "render/item_pages.h"

namespace vantorel {
namespace {

// When and how large the file was: a picture replaced on disk is drawn again.
std::string FileStamp(std::string_view file, const std::filesystem::path& folder) {
  std::filesystem::path path(file);
  if (path.is_relative() && !folder.empty()) path = folder / path;
  std::error_code error;
  const auto time = std::filesystem::last_write_time(path, error);
  if (error) return "missing";
  const auto size = std::filesystem::file_size(path, error);
  if (error) return "missing";
  return std::to_string(time.time_since_epoch().count()) + "/" + std::to_string(size);
}

std::string SizeKey(QSize size, std::uint16_t colourMode) {
  return FormatText("%dx%d/%u", size.width(), size.height(), static_cast<unsigned>(colourMode));
}

// The part of `moment` that a face of `kind` shows: the second for clocks and counters that change
// with time, the day for the work counter, nothing for other kinds.
std::string MomentKey(std::uint16_t kind, const DateTime& moment) {
  if (!IsFaceKind(kind)) return "-";
  const std::string day = FormatText("%u-%u-%u", moment.year, moment.month, moment.day);
  if (!FaceChangesWithTime(kind)) return day;
  return day + FormatText(" %u:%u:%u", moment.hour, moment.minute, moment.second);
}

}  // namespace

template <typename Make>
const CCanvasPages::Shown& CCanvasPages::Cached(std::string key, Make make) {
  for (auto entry = m_pages.begin(); entry != m_pages.end(); ++entry) {
    if (entry->first != key) continue;
    m_pages.splice(m_pages.begin(), m_pages, entry);
    return m_pages.front().second;
  }
  m_pages.emplace_front(std::move(key), make());
  if (m_pages.size() > kKept) m_pages.pop_back();
  return m_pages.front().second;
}

std::string CCanvasPages::ItemKey(const tagItemPart& item) {
  const tagLogFont& font = item.logFont;
  std::string key = FormatText("%u/%u/%u/%d/%u/%u/%d/%d/%u/%d/", static_cast<unsigned>(item.actType),
                               static_cast<unsigned>(item.showType), static_cast<unsigned>(item.showMode), item.negative,
                               static_cast<unsigned>(item.fntColor), static_cast<unsigned>(item.bgColor), item.vwAsText,
                               item.txt2Img, static_cast<unsigned>(item.transp), item.timeAdj);
  key += FormatText("%u/%u-%u-%u-%u-%u-%u/", static_cast<unsigned>(item.tcMode), item.tcBase[0], item.tcBase[1],
                    item.tcBase[2], item.tcBase[3], item.tcBase[4], item.tcBase[5]);
  key += FormatText("%d/%d/%d/%u/%u/%u/", font.height, font.width, font.weight, static_cast<unsigned>(font.italic),
                    static_cast<unsigned>(font.underline), static_cast<unsigned>(font.strikeOut));
  key += font.faceName.str() + "/" + item.media.str() + "/";
  if (item.richTxt) {
    const auto bytes = item.richTxt->StoredBytes(item.actType);
    key += std::to_string(bytes.size()) + ":";
    key.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  return key;
}

QImage CCanvasPages::ItemPage(const tagItemPart& item, QSize size, std::uint16_t colourMode,
                              const std::filesystem::path& folder, const CDotFont* fontLibrary, bool removeFontSmooth,
                              const DateTime& moment, std::string* problem) {
  if (problem != nullptr) problem->clear();
  if (!CanRenderItemKind(item.actType) || size.isEmpty()) return {};
  if ((item.actType == kKindCellText || IsFaceKind(item.actType)) && fontLibrary == nullptr) return {};
  // A library made anew for another screen may lie at the address of the old one: its code page
  // and kind tell them apart.
  const std::string library =
      fontLibrary == nullptr ? std::string("-") : FormatText("%s/%d", typeid(*fontLibrary).name(), fontLibrary->GetCodePage());
  const std::string key = "item/" + SizeKey(size, colourMode) + "/" + library + "/" + FileStamp(item.media.view(), folder) +
                          (removeFontSmooth ? "/sharp/" : "/smooth/") + MomentKey(item.actType, moment) + "/" + ItemKey(item);
  const Shown& shown = Cached(key, [&] {
    const auto pages =
        RenderItemPages(item, size, ItemRenderSettings{colourMode, folder, fontLibrary, removeFontSmooth, moment});
    if (!pages) return Shown{QImage(), StatusMessage(pages.status())};
    return Shown{pages->empty() ? QImage() : pages->front().Image().convertToFormat(QImage::Format_RGB32), {}};
  });
  if (problem != nullptr) *problem = shown.problem;
  return shown.page;
}

QImage CCanvasPages::Background(const tagProgramPart& program, QSize size, std::uint16_t colourMode,
                                const std::filesystem::path& folder) {
  if (program.backgrd.view().empty() || size.isEmpty()) return {};
  const std::string key = FormatText("background/%u/", static_cast<unsigned>(program.showMode)) +
                          SizeKey(size, colourMode) + "/" + program.backgrd.str() + "/" +
                          FileStamp(program.backgrd.view(), folder);
  return Cached(key, [&] {
    const auto background = RenderProgramBackground(program, size, colourMode, folder);
    return Shown{background && !background->IsEmpty() ? background->Image().convertToFormat(QImage::Format_RGB32)
                                                      : QImage(),
                 {}};
  }).page;
}

}  // namespace vantorel

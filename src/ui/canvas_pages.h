#pragma once
// What the canvas shows inside the windows: the first page of an item and the program's background
// as LED bitmaps, kept while nothing they depend on changes (every field of the item that changes
// its drawing, its text block, the window's size, the screen's colour mode, the font library, the
// picture file's time and size), so that redrawing after every edit decodes no picture twice. The editor's own object, on the user-interface thread only.

#include <QImage>
#include <QSize>

#include <cstdint>
#include <filesystem>
#include <list>
#include <string>
#include <utility>

#include "playbill/prg_item.h"
#include "render/dot_font.h"
#include "render/faces/date_time.h"

namespace vantorel {

class CCanvasPages {
public:
  // The first page of `item` in a window of `size`, one pixel per LED; a null image for kinds not
  // drawn yet, for pictures that cannot be read and for cell text or faces without `fontLibrary`.
  // `removeFontSmooth`: the option "Remove font smooth", for text drawn with outline fonts. Clock
  // and counter faces show `moment`.
  // When the item cannot be drawn, `*problem` (when given) says why in words; else it is emptied.
  QImage ItemPage(const tagItemPart& item, QSize size, std::uint16_t colourMode, const std::filesystem::path& folder,
                  const CDotFont* fontLibrary = nullptr, bool removeFontSmooth = false, const DateTime& moment = {},
                  std::string* problem = nullptr);
  // What decides the drawing of `item` apart from the window, the screen and the library: equal
  // keys draw equal pages.
  static std::string ItemKey(const tagItemPart& item);
  // The program's background over a screen of `size`; null without one.
  QImage Background(const tagProgramPart& program, QSize size, std::uint16_t colourMode,
                    const std::filesystem::path& folder);

  static constexpr std::size_t kKept = 64;

private:
  struct Shown {
    QImage page;
    std::string problem;  // why there is no page
  };
  template <typename Make>
  const Shown& Cached(std::string key, Make make);

  std::list<std::pair<std::string, Shown>> m_pages;  // most recently used first
};

}  // namespace vantorel

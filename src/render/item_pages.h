#pragma once
// The pages of an item as the sign shows them: LED bitmaps of the item's window size, in order.
// Each item kind that can be drawn adds itself here; the others say so.
//
// Pure function of its arguments: safe on any thread (it reads the item's media files); text is
// laid out with Qt's fonts, so a QGuiApplication must exist.

#include <QSize>

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/status.h"
#include "playbill/prg_item.h"
#include "render/dot_font.h"
#include "render/faces/date_time.h"
#include "render/led_bitmap.h"

namespace vantorel {

struct ItemRenderSettings {
  std::uint16_t colourMode = 0;           // the screen's colour mode (COLOR)
  std::filesystem::path folder;           // relative media paths are taken from here
  const CDotFont* fontLibrary = nullptr;  // the current font library, for cell text; the caller keeps it alive
  bool removeFontSmooth = false;          // the option "Remove font smooth"
  DateTime moment;                        // the moment clock and counter faces show
};

// The file an item's stored media path names: a relative path is taken from `folder`.
std::filesystem::path ItemMediaPath(std::string_view stored, const std::filesystem::path& folder);

// Which kinds RenderItemPages draws.
bool CanRenderItemKind(std::uint16_t kind);

// The pages of `item` for a window of `windowSize`. A picture item is one page: its picture placed
// by its display mode (SHOWMODE), inverted when NEGATIVE is set. A "Text mode" item (kind 6) is
// every page of its cells drawn with the font library (none: kTextNoFontLibrary); a window without
// width or height has no pages, an item without text one blank page. A text file (kind 2) and an
// "Image mode" item (kind 8) are their rich text cut into pages by the item's effect (whole
// lines, bands when scrolling up, pieces when scrolling across), on the item's background, in its
// font (kind 2) and font colour; a text file that cannot be read fails with
// kTextTextFileUnreadable, rich text that cannot be read with kTextRichTextUnreadable. These need
// a QGuiApplication. An office document (kind 3) is cut into pages the same way, from its rich
// text (render/media/office_document.h: ".rtf" read as it is, word-processor documents and
// spreadsheets through a copy LibreOffice makes once per change of the document); the item holds
// no colours for it, so it looks as on paper (its own colours, text without one black on white)
// and NEGATIVE inverts every page; its failures name their cause (kTextLibreOfficeNeeded when
// LibreOffice is missing). A clock, temperature,
// time-counter or work-counter item (kinds 5, 9, 10, 11) is one page: its face at the settings'
// moment. A video or animation (kinds 4, 7) is one page: its first frame (ForEachItemFrame gives
// all of them). Kinds not drawn yet fail with kTextItemKindNotDrawn.
Expected<std::vector<CLedBitmap>> RenderItemPages(const tagItemPart& item, QSize windowSize,
                                                  const ItemRenderSettings& settings);

// A program's background picture over the whole screen, by the program's SHOWMODE; an empty
// bitmap when the program has none. A picture that cannot be read fails with its cause.
Expected<CLedBitmap> RenderProgramBackground(const tagProgramPart& program, QSize screenSize, std::uint16_t colourMode,
                                             const std::filesystem::path& folder = {});

}  // namespace vantorel

#pragma once
// Rich text cut into pages: a QTextDocument laid out at a fixed width, cut from the rectangles of
// its lines, each page drawn into a window-size LED bitmap.
//
// Pagination modes:
//   0 whole lines: lines are gathered into a page while its height stays within the window's; a
//     line taller than the window is a page of its own;
//   1 bands: the text from the first line's top to the last line's bottom in bands of the
//     window's height (scrolling up);
//   2 width pieces: no wrapping; each line in pieces of the window's width (scrolling across).
// Modes 0 and 1 lay out at the window width + 5 (the engine keeps 4 pixels at the left and 1 at
// the right, so lines wrap at the window width); mode 2 at 30000. Lines below 30000 are not laid
// out. A word wider than the line is broken where it reaches the end of the line.
//
// Drawing: the page's top-left corner lands at the bitmap's origin (moved up by the vertical
// offset); below the page the background shows, so no part of the next line does. Text without a
// colour of its own takes the default text colour. Fonts are sized at 96 dots an inch.
//
// Threads: a renderer, its document and its bitmap belong to one thread at a time; a
// QGuiApplication must exist (fonts).

#include <QRect>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "render/led_bitmap.h"

namespace vantorel {

enum class PaginationMode { kWholeLines = 0, kBands = 1, kWidthPieces = 2 };

// The mode of an item's effect code: "Scroll up" (10) cuts bands, the four horizontal scrolls
// (11, 12, 14, 15) cut pieces, every other code whole lines. Only the low 15 bits count.
PaginationMode PaginationModeFor(std::uint32_t effectCode);

// The layout width for a window `windowWidth` wide.
int LayoutWidthFor(PaginationMode mode, int windowWidth);
inline constexpr int kRichTextLayoutHeight = 30000;

// A rectangle by its edges (right and bottom exclusive).
struct TextRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const TextRect&, const TextRect&) = default;
};

// The pages of lines `lines` (in layout order) for a window of `window`. Mode 1 moves the lines
// down by a positive `verticalOffset` first and then sets it to 0. Nothing for a window without
// width or height, or for no lines.
std::vector<TextRect> CutPages(const std::vector<TextRect>& lines, QSize window, PaginationMode mode,
                               int& verticalOffset);

class CRichTextPages {
public:
  CRichTextPages();
  ~CRichTextPages();
  CRichTextPages(const CRichTextPages&) = delete;
  CRichTextPages& operator=(const CRichTextPages&) = delete;

  // The bitmap pages are drawn into (the caller keeps it alive); filled with the background.
  void SetTarget(CLedBitmap* bitmap);
  // White when not set.
  void SetBackground(LedColour colour);
  void SetTextColour(LedColour colour);
  void SetVerticalOffset(int pixels) { m_verticalOffset = pixels; }
  void SetVerticalCentring(bool on) { m_verticalCentring = on; }
  // A positive pitch draws modes 0 and 1 line by line into strips of this height.
  void SetLinePitch(int pixels) { m_linePitch = pixels; }
  // Draws without anti-aliasing (the option "Remove font smooth").
  void SetRemoveFontSmooth(bool on) { m_removeFontSmooth = on; }
  void Load(std::unique_ptr<QTextDocument> document);

  // Lays the text out for `mode` and cuts its pages; drawing starts again at the first.
  void Paginate(PaginationMode mode);
  // Draws the next page: false (and finished) when every page has been drawn.
  bool DrawNextPage();

  bool Finished() const { return m_finished; }
  QSize LastPageSize() const { return m_lastPageSize; }
  const std::vector<TextRect>& Lines() const { return m_lines; }
  const std::vector<TextRect>& Pages() const { return m_pages; }
  std::size_t PageCount() const { return m_pitchPages.empty() ? m_pages.size() : m_pitchPages.size(); }

private:
  void DrawText(QImage& picture, QPointF shift, const QRectF& clip) const;
  void DrawPitchPage(QImage& picture, std::size_t page);

  CLedBitmap* m_target = nullptr;
  LedColour m_background = 0xFFFFFF;
  LedColour m_textColour = 0;
  int m_verticalOffset = 0;
  bool m_verticalCentring = false;
  int m_linePitch = 0;
  bool m_removeFontSmooth = false;
  bool m_smoothingRemoved = false;  // the document's fonts are set to draw without it
  QImage m_layoutDevice;  // the 96 dots an inch the document is laid out at
  std::unique_ptr<QTextDocument> m_document;
  PaginationMode m_mode = PaginationMode::kWholeLines;
  std::vector<TextRect> m_lines;
  std::vector<TextRect> m_pages;
  // With a line pitch: each page's first line and line count.
  std::vector<std::pair<std::size_t, std::size_t>> m_pitchPages;
  std::size_t m_next = 0;
  bool m_finished = false;
  QSize m_lastPageSize;
};

}  // namespace vantorel

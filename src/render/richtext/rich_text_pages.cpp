#include "render/richtext/rich_text_pages.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace vantorel {
namespace {

// The engine keeps these margins inside its layout width; a page drawn with its corner at
// (-kMarginLeft, -kMarginTop) of the engine's area puts the text at the bitmap's origin.
constexpr int kMarginLeft = 4;
constexpr int kMarginRight = 1;
constexpr int kLayoutDotsPerMetre = 3780;  // 96 dots an inch
constexpr int kNoWrapLayoutWidth = 30000;

int RoundUpTo8(int n) { return (n + 7) / 8 * 8; }

TextRect Bounds(const std::vector<TextRect>& lines) {
  TextRect bounds = lines.front();
  for (const TextRect& line : lines) {
    bounds.left = std::min(bounds.left, line.left);
    bounds.top = std::min(bounds.top, line.top);
    bounds.right = std::max(bounds.right, line.right);
    bounds.bottom = std::max(bounds.bottom, line.bottom);
  }
  return bounds;
}

std::vector<TextRect> WholeLinePages(const std::vector<TextRect>& lines, int width, int height) {
  const int left = Bounds(lines).left;
  std::vector<TextRect> pages;
  TextRect page;
  bool open = false;
  for (const TextRect& line : lines) {
    if (open && line.bottom <= page.top + height) {
      page.right = std::max(page.right, std::min(line.right, left + width));
      page.bottom = line.bottom;
      continue;
    }
    if (open) pages.push_back(page);
    page = {left, line.top, std::min(line.right, left + width), line.bottom};
    open = true;
  }
  pages.push_back(page);
  return pages;
}

std::vector<TextRect> BandPages(std::vector<TextRect> lines, int width, int height, int& verticalOffset) {
  if (verticalOffset > 0) {
    const int bottom = Bounds(lines).bottom;
    for (TextRect& line : lines) {
      line.top += verticalOffset;
      line.bottom = std::min(line.bottom + verticalOffset, bottom);
    }
    const auto below = std::find_if(lines.begin() + 1, lines.end(), [&](const TextRect& line) { return line.top >= bottom; });
    lines.erase(below, lines.end());
    verticalOffset = 0;
  }
  const TextRect bounds = Bounds(lines);
  std::vector<TextRect> pages;
  for (long long y = bounds.top; y < bounds.bottom; y += height) {
    const int top = static_cast<int>(y);
    pages.push_back({bounds.left, top, std::min(bounds.left + width, bounds.right), std::min(top + height, bounds.bottom)});
  }
  return pages;
}

std::vector<TextRect> WidthPieces(const std::vector<TextRect>& lines, int width) {
  std::vector<TextRect> pages;
  for (const TextRect& line : lines) {
    for (long long x = line.left; x < line.right; x += width) {
      const int left = static_cast<int>(x);
      pages.push_back({left, line.top, std::min(left + width, line.right), line.bottom});
    }
  }
  return pages;
}

}  // namespace

PaginationMode PaginationModeFor(std::uint32_t effectCode) {
  switch (effectCode & 0x7FFF) {
    case 10: return PaginationMode::kBands;
    case 11:
    case 12:
    case 14:
    case 15: return PaginationMode::kWidthPieces;
    default: return PaginationMode::kWholeLines;
  }
}

int LayoutWidthFor(PaginationMode mode, int windowWidth) {
  return mode == PaginationMode::kWidthPieces ? kNoWrapLayoutWidth : windowWidth + kMarginLeft + kMarginRight;
}

std::vector<TextRect> CutPages(const std::vector<TextRect>& lines, QSize window, PaginationMode mode,
                               int& verticalOffset) {
  if (window.width() <= 0 || window.height() <= 0 || lines.empty()) return {};
  switch (mode) {
    case PaginationMode::kWholeLines: return WholeLinePages(lines, window.width(), window.height());
    case PaginationMode::kBands: return BandPages(lines, window.width(), window.height(), verticalOffset);
    case PaginationMode::kWidthPieces: return WidthPieces(lines, window.width());
  }
  return {};
}

CRichTextPages::CRichTextPages() : m_layoutDevice(8, 8, QImage::Format_RGB888) {
  m_layoutDevice.setDotsPerMeterX(kLayoutDotsPerMetre);
  m_layoutDevice.setDotsPerMeterY(kLayoutDotsPerMetre);
}

CRichTextPages::~CRichTextPages() = default;

void CRichTextPages::SetTarget(CLedBitmap* bitmap) {
  m_target = bitmap;
  if (m_target != nullptr) m_target->Fill(m_background);
}

void CRichTextPages::SetBackground(LedColour colour) { m_background = colour & 0xFFFFFF; }
void CRichTextPages::SetTextColour(LedColour colour) { m_textColour = colour & 0xFFFFFF; }

void CRichTextPages::Load(std::unique_ptr<QTextDocument> document) {
  m_document = std::move(document);
  m_smoothingRemoved = false;
  if (m_document) {
    m_document->documentLayout()->setPaintDevice(&m_layoutDevice);
    m_document->setDocumentMargin(0);
  }
  m_lines.clear();
  m_pages.clear();
  m_pitchPages.clear();
  m_next = 0;
  m_finished = true;
}

void CRichTextPages::Paginate(PaginationMode mode) {
  m_mode = mode;
  m_lines.clear();
  m_pages.clear();
  m_pitchPages.clear();
  m_next = 0;
  m_finished = true;
  if (!m_document || m_target == nullptr) return;
  const QSize window(m_target->Width(), m_target->Height());
  if (m_removeFontSmooth != m_smoothingRemoved) {
    // Smoothing belongs to the fonts: every run's and the document's.
    QTextCharFormat strategy;
    strategy.setFontStyleStrategy(m_removeFontSmooth ? QFont::NoAntialias : QFont::PreferDefault);
    QTextCursor all(m_document.get());
    all.select(QTextCursor::Document);
    all.mergeCharFormat(strategy);
    QFont font = m_document->defaultFont();
    font.setStyleStrategy(strategy.fontStyleStrategy());
    m_document->setDefaultFont(font);
    m_smoothingRemoved = m_removeFontSmooth;
  }
  QTextOption option = m_document->defaultTextOption();
  option.setWrapMode(mode == PaginationMode::kWidthPieces ? QTextOption::NoWrap : QTextOption::WrapAtWordBoundaryOrAnywhere);
  m_document->setDefaultTextOption(option);
  m_document->setTextWidth(std::max(1, LayoutWidthFor(mode, window.width()) - kMarginLeft - kMarginRight));
  (void)m_document->documentLayout()->documentSize();  // lays the text out
  QAbstractTextDocumentLayout* documentLayout = m_document->documentLayout();
  for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
    const QTextLayout* layout = block.layout();
    if (layout == nullptr) continue;
    // A block's layout stands relative to its frame (a table cell's block to its cell); its
    // bounding rectangle is in the document's coordinates.
    const QPointF origin = documentLayout->blockBoundingRect(block).topLeft();
    for (int i = 0; i < layout->lineCount(); ++i) {
      const QRectF rect = layout->lineAt(i).naturalTextRect().translated(origin);
      if (rect.top() >= kRichTextLayoutHeight) break;
      m_lines.push_back({static_cast<int>(std::floor(rect.left())), static_cast<int>(std::lround(rect.top())),
                         static_cast<int>(std::ceil(rect.right())), static_cast<int>(std::lround(rect.bottom()))});
    }
  }
  m_pages = CutPages(m_lines, window, mode, m_verticalOffset);
  if (m_linePitch > 0 && mode != PaginationMode::kWidthPieces && !m_pages.empty()) {
    const std::size_t perPage = static_cast<std::size_t>(std::max(1, window.height() / m_linePitch));
    for (std::size_t first = 0; first < m_lines.size(); first += perPage) {
      m_pitchPages.emplace_back(first, std::min(perPage, m_lines.size() - first));
    }
  }
  m_finished = PageCount() == 0;
}

void CRichTextPages::DrawText(QImage& picture, QPointF shift, const QRectF& clip) const {
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::TextAntialiasing, !m_removeFontSmooth);
  painter.setRenderHint(QPainter::Antialiasing, !m_removeFontSmooth);
  painter.translate(shift);
  painter.setClipRect(clip);
  QAbstractTextDocumentLayout::PaintContext context;
  context.palette.setColor(QPalette::Text, QColor(ToQRgb(m_textColour)));
  context.clip = clip;
  m_document->documentLayout()->draw(&painter, context);
}

void CRichTextPages::DrawPitchPage(QImage& picture, std::size_t page) {
  const auto [first, count] = m_pitchPages[page];
  const int left = Bounds(m_lines).left;
  const int width = m_target->Width();
  int widest = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const TextRect& line = m_lines[first + k];
    const int stripTop = static_cast<int>(k) * m_linePitch;
    // The strip's top in the text: the line's middle in the strip's.
    const int textTop = line.top + (line.Height() - m_linePitch) / 2;
    const QRectF strip(left, textTop, width, m_linePitch);
    DrawText(picture, QPointF(-left, stripTop - textTop),
             strip.intersected(QRectF(left, line.top, width, line.Height())));
    widest = std::max(widest, std::min(line.right - left, width));
  }
  m_lastPageSize = QSize(widest, std::min(static_cast<int>(count) * m_linePitch, m_target->Height()));
}

bool CRichTextPages::DrawNextPage() {
  if (m_target == nullptr || m_next >= PageCount()) {
    m_finished = true;
    return false;
  }
  const int width = m_target->Width();
  const int height = m_target->Height();
  // The page picture: both sides rounded up to a multiple of 8, 24 bits a pixel.
  QImage picture(RoundUpTo8(width), RoundUpTo8(height), QImage::Format_RGB888);
  picture.setDotsPerMeterX(kLayoutDotsPerMetre);
  picture.setDotsPerMeterY(kLayoutDotsPerMetre);
  const QColor background(ToQRgb(m_background));
  picture.fill(background);
  if (!m_pitchPages.empty()) {
    DrawPitchPage(picture, m_next);
  } else {
    const TextRect& page = m_pages[m_next];
    m_lastPageSize = QSize(page.Width(), page.Height());
    QPainter fill;
    if (m_mode != PaginationMode::kWidthPieces) {
      DrawText(picture, QPointF(-page.left, -page.top - m_verticalOffset),
               QRectF(page.left, page.top + m_verticalOffset, width, height));
      const int below = std::max(0, page.Height() - m_verticalOffset);
      fill.begin(&picture);
      fill.fillRect(0, below, picture.width(), picture.height() - below, background);
    } else {
      const int down = m_verticalCentring ? (height - page.Height()) / 2 - m_verticalOffset : 0;
      DrawText(picture, QPointF(-page.left, -page.top + down), QRectF(page.left, page.top - down, width, height));
      fill.begin(&picture);
      if (down > 0) fill.fillRect(0, 0, picture.width(), down, background);
      const int below = std::max(0, down + page.Height());
      fill.fillRect(0, below, picture.width(), picture.height() - below, background);
    }
  }
  m_target->Assign(picture.copy(0, 0, width, height));
  ++m_next;
  m_finished = m_next >= PageCount();
  return true;
}

}  // namespace vantorel

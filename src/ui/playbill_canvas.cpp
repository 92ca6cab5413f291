#include "ui/playbill_canvas.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace vantorel {
namespace {

constexpr int kMargin = 16;
constexpr std::array<QRgb, 6> kWindowColours = {0xFF4FC3F7, 0xFF81C784, 0xFFFFB74D, 0xFFBA68C8, 0xFFF06292, 0xFF4DB6AC};
constexpr QRgb kSelectedColour = 0xFFFFEB3B;

WindowRect ToWindowRect(const QRect& rect) {
  return {static_cast<std::int16_t>(rect.x()), static_cast<std::int16_t>(rect.y()), static_cast<std::uint16_t>(rect.width()),
          static_cast<std::uint16_t>(rect.height())};
}

QRect ToQRect(const WindowRect& rect) { return QRect(rect.left, rect.top, rect.width, rect.height); }

// A transparent item shows the background where its own pixels are black.
QImage Transparent(const QImage& page) {
  QImage shown = page.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < shown.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(shown.scanLine(y));
    for (int x = 0; x < shown.width(); ++x) {
      if ((line[x] & 0xFFFFFF) == 0) line[x] = 0;
    }
  }
  return shown;
}

Qt::CursorShape CursorFor(const WindowEdges& edges) {
  if (edges == WindowEdges::All()) return Qt::SizeAllCursor;
  if ((edges.left && edges.top) || (edges.right && edges.bottom)) return Qt::SizeFDiagCursor;
  if ((edges.right && edges.top) || (edges.left && edges.bottom)) return Qt::SizeBDiagCursor;
  return edges.left || edges.right ? Qt::SizeHorCursor : Qt::SizeVerCursor;
}

// Whole LEDs for a pointer movement of `pixels` at `zoom`, to the nearest.
int Leds(int pixels, int zoom) { return static_cast<int>(std::lround(static_cast<double>(pixels) / zoom)); }

}  // namespace

CPlaybillCanvas::CPlaybillCanvas(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QColor(58, 58, 64));
  setPalette(palette);
  setMouseTracking(true);  // the pointer shows what a drag would do
}

void CPlaybillCanvas::SetScreen(QSize size, std::vector<PartRect> parts) {
  m_screen = size;
  m_parts = std::move(parts);
  updateGeometry();
  update();
}

void CPlaybillCanvas::SetWindows(std::vector<CanvasWindow> windows, int selectedRecord) {
  m_windows = std::move(windows);
  m_selectedRecord = selectedRecord;
  update();
}

void CPlaybillCanvas::SetBackground(QImage picture) {
  m_background = std::move(picture);
  update();
}

void CPlaybillCanvas::SetZoom(int zoom) {
  m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
  updateGeometry();
  update();
}

int CPlaybillCanvas::ZoomToFit(QSize area) const {
  if (m_screen.isEmpty()) return m_zoom;
  const int zoom = std::min((area.width() - 2 * kMargin) / m_screen.width(), (area.height() - 2 * kMargin) / m_screen.height());
  return std::clamp(zoom, kMinZoom, kMaxZoom);
}

QSize CPlaybillCanvas::sizeHint() const { return m_screen * m_zoom + QSize(2 * kMargin, 2 * kMargin); }

QPoint CPlaybillCanvas::Origin() const {
  const QSize drawn = m_screen * m_zoom;
  return QPoint(std::max(kMargin, (width() - drawn.width()) / 2), std::max(kMargin, (height() - drawn.height()) / 2));
}

QRect CPlaybillCanvas::OnWidget(const QRect& screenRect) const {
  return QRect(Origin() + screenRect.topLeft() * m_zoom, screenRect.size() * m_zoom);
}

void CPlaybillCanvas::paintEvent(QPaintEvent*) {
  if (m_screen.isEmpty()) return;
  QPainter painter(this);
  const QRect screen = OnWidget(QRect(QPoint(0, 0), m_screen));
  painter.fillRect(screen, Qt::black);
  // One image pixel is one LED: magnified without smoothing.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  if (!m_background.isNull()) painter.drawImage(screen, m_background);
  for (const CanvasWindow& window : m_windows) {
    if (window.page.isNull()) continue;
    const QRect inside = window.rect.intersected(QRect(QPoint(0, 0), m_screen));
    if (inside.isEmpty()) continue;
    painter.drawImage(OnWidget(inside), window.transparent ? Transparent(window.page) : window.page,
                      inside.translated(-window.rect.topLeft()));
  }
  if (m_zoom >= 6) {  // the LED grid, once the LEDs are large enough to tell apart
    painter.setPen(QColor(32, 32, 32));
    for (int x = 1; x < m_screen.width(); ++x) painter.drawLine(screen.left() + x * m_zoom, screen.top(), screen.left() + x * m_zoom, screen.bottom());
    for (int y = 1; y < m_screen.height(); ++y) painter.drawLine(screen.left(), screen.top() + y * m_zoom, screen.right(), screen.top() + y * m_zoom);
  }
  for (const PartRect& part : m_parts) {
    const QRect area = OnWidget(QRect(part.x, part.y, part.width, part.height)).intersected(screen);
    painter.fillRect(area, QColor(110, 110, 116));
    painter.fillRect(area, QBrush(QColor(90, 90, 96), Qt::BDiagPattern));
  }

  // What keeps a window empty, in small letters inside it, below the window's number.
  const int numberHeight = std::clamp(m_zoom * 4, 10, 28);
  QFont small = painter.font();
  small.setPixelSize(10);
  painter.setFont(small);
  painter.setPen(QColor(255, 128, 128));
  for (const CanvasWindow& window : m_windows) {
    if (window.problem.isEmpty()) continue;
    const QRect area = OnWidget(window.rect.intersected(QRect(QPoint(0, 0), m_screen))).adjusted(2, numberHeight + 2, -2, -2);
    painter.drawText(area, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, window.problem);
  }

  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(numberHeight);
  painter.setFont(font);
  for (std::size_t i = 0; i < m_windows.size(); ++i) {
    const CanvasWindow& window = m_windows[i];
    const bool selected = window.record == m_selectedRecord;
    const QColor colour = selected ? QColor::fromRgba(kSelectedColour) : QColor::fromRgba(kWindowColours[i % kWindowColours.size()]);
    const QRect area = OnWidget(window.rect);
    painter.setPen(QPen(colour, selected ? 3 : 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(1, 1, -2, -2));
    painter.drawText(area.adjusted(5, 3, -3, -3), Qt::AlignLeft | Qt::AlignTop, QString::number(i + 1));
  }
}

CPlaybillCanvas::Hit CPlaybillCanvas::HitAt(QPoint point) const {
  for (int i = static_cast<int>(m_windows.size()) - 1; i >= 0; --i) {
    const QRect area = OnWidget(m_windows[static_cast<std::size_t>(i)].rect);
    if (!area.contains(point)) continue;
    // Small windows keep a middle to move them by.
    const int gripX = std::min(kEdgeGrip, area.width() / 3);
    const int gripY = std::min(kEdgeGrip, area.height() / 3);
    WindowEdges edges{point.x() - area.left() < gripX, point.y() - area.top() < gripY, area.right() - point.x() < gripX,
                      area.bottom() - point.y() < gripY};
    return {i, edges.Any() ? edges : WindowEdges::All()};
  }
  return {};
}

QRect CPlaybillCanvas::DraggedRect(QPoint point) const {
  const QPoint moved = point - m_drag->from;
  return ToQRect(DragWindowRect(ToWindowRect(m_drag->start), m_drag->edges, Leds(moved.x(), m_zoom), Leds(moved.y(), m_zoom),
                                static_cast<std::uint16_t>(m_screen.width()), static_cast<std::uint16_t>(m_screen.height())));
}

void CPlaybillCanvas::mousePressEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  const Hit hit = HitAt(point);
  if (hit.index < 0 || event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  const CanvasWindow window = m_windows[static_cast<std::size_t>(hit.index)];
  m_drag = Drag{window.record, window.rect, hit.edges, point};
  Q_EMIT windowClicked(window.record);
}

void CPlaybillCanvas::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (!m_drag) {
    const Hit hit = HitAt(point);
    if (hit.index < 0) {
      unsetCursor();
    } else {
      setCursor(CursorFor(hit.edges));
    }
    return;
  }
  const QRect rect = DraggedRect(point);
  for (CanvasWindow& window : m_windows) {
    if (window.record == m_drag->record) window.rect = rect;
  }
  update();
}

void CPlaybillCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_drag || event->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  const Drag drag = *m_drag;
  const QRect rect = DraggedRect(event->position().toPoint());
  m_drag.reset();
  if (rect != drag.start) Q_EMIT windowDragged(drag.record, rect);
}

}  // namespace vantorel

#include "ui/playbill_canvas.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>

namespace vantorel {
namespace {

constexpr int kMargin = 16;
constexpr std::array<QRgb, 6> kWindowColours = {0xFF4FC3F7, 0xFF81C784, 0xFFFFB74D, 0xFFBA68C8, 0xFFF06292, 0xFF4DB6AC};
constexpr QRgb kSelectedColour = 0xFFFFEB3B;

}  // namespace

CPlaybillCanvas::CPlaybillCanvas(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QColor(58, 58, 64));
  setPalette(palette);
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
  if (!m_background.isNull()) painter.drawImage(screen, m_background);
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

  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(std::clamp(m_zoom * 4, 10, 28));
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

void CPlaybillCanvas::mousePressEvent(QMouseEvent* event) {
  // The window drawn last lies on top.
  for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it) {
    if (OnWidget(it->rect).contains(event->position().toPoint())) {
      Q_EMIT windowClicked(it->record);
      return;
    }
  }
  QWidget::mousePressEvent(event);
}

}  // namespace vantorel

#include "ui/week_grid.h"

#include <QPainter>

#include <algorithm>

#include "app/text_ids.h"
#include "ui/ui_text.h"

namespace vantorel {
namespace {

constexpr int kHours = 24;
constexpr int kDays = 7;
constexpr int kHourLabelEvery = 3;
const QColor kPlaying(56, 142, 60);
const QColor kSilent(255, 205, 210);
const QColor kSilentMark(198, 40, 40);
constexpr int kLegendGap = 8;

void DrawHour(QPainter& painter, const QRect& box, bool playing, const QColor& frame) {
  painter.fillRect(box, playing ? kPlaying : kSilent);
  if (!playing) {
    painter.setPen(QPen(kSilentMark, 1.5));
    painter.drawLine(box.topLeft() + QPoint(3, 3), box.bottomRight() - QPoint(3, 3));
    painter.drawLine(box.topRight() + QPoint(-3, 3), box.bottomLeft() + QPoint(3, -3));
  }
  painter.setPen(frame);
  painter.drawRect(box);
}

}  // namespace

CWeekGrid::CWeekGrid(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("WeekGrid"));
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CWeekGrid::SetHours(const WeekHours& hours) {
  m_hours = hours;
  update();
}

int CWeekGrid::CellSize() const { return std::max(16, fontMetrics().height() + 2); }

int CWeekGrid::LabelWidth() const {
  int width = 0;
  for (int day = 0; day < kDays; ++day) width = std::max(width, fontMetrics().horizontalAdvance(Text(kTextSunday + day)));
  return width + 8;
}

QRect CWeekGrid::HourRect(int day, int hour) const {
  const int cell = CellSize();
  return {LabelWidth() + hour * cell, (day + 1) * cell, cell, cell};
}

QSize CWeekGrid::sizeHint() const {
  const int cell = CellSize();
  // The hours above, the days, a gap and the legend below.
  return {LabelWidth() + kHours * cell + 1, (kDays + 2) * cell + kLegendGap + 1};
}

void CWeekGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int cell = CellSize();
  const int left = LabelWidth();
  const QColor frame = palette().color(QPalette::Mid);
  painter.setPen(palette().color(QPalette::WindowText));
  for (int hour = 0; hour < kHours; hour += kHourLabelEvery) {
    painter.drawText(QRect(left + hour * cell, 0, cell * 2, cell), Qt::AlignLeft | Qt::AlignVCenter, QString::number(hour));
  }
  for (int day = 0; day < kDays; ++day) {
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(0, (day + 1) * cell, left - 4, cell), Qt::AlignLeft | Qt::AlignVCenter, Text(kTextSunday + day));
    for (int hour = 0; hour < kHours; ++hour) {
      const bool playing = m_hours[static_cast<std::size_t>(day)][static_cast<std::size_t>(hour)];
      DrawHour(painter, HourRect(day, hour), playing, frame);
    }
  }
  // The legend: what a filled and a crossed hour mean.
  const int legendTop = (kDays + 1) * cell + kLegendGap;
  int x = left;
  for (const bool playing : {true, false}) {
    DrawHour(painter, QRect(x, legendTop, cell, cell), playing, frame);
    const QString label = Text(playing ? kTextSomeProgramPlays : kTextNothingPlays);
    painter.setPen(palette().color(QPalette::WindowText));
    const int width = fontMetrics().horizontalAdvance(label);
    painter.drawText(QRect(x + cell + 4, legendTop, width + 2, cell), Qt::AlignLeft | Qt::AlignVCenter, label);
    x += cell + 4 + width + 2 * cell;
  }
}

}  // namespace vantorel

#include "ui/kind_icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vantorel {
namespace {

constexpr int kSize = 32;  // drawn large, scaled down by the views

enum IconKey { kProgramIcon = -2, kWindowIcon = -1 };

void Letters(QPainter& painter, const QString& text, const QColor& colour, int pixelSize) {
  QFont font = painter.font();
  font.setPixelSize(pixelSize);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(colour);
  painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, text);
}

void Page(QPainter& painter, const QColor& lines) {
  painter.setPen(QPen(Qt::darkGray, 2));
  painter.setBrush(Qt::white);
  painter.drawRect(6, 2, 20, 28);
  painter.setPen(QPen(lines, 2));
  for (int y = 9; y <= 23; y += 5) painter.drawLine(10, y, 22, y);
}

void Draw(QPainter& painter, int key) {
  painter.setRenderHint(QPainter::Antialiasing);
  switch (key) {
    case kProgramIcon:
      painter.setPen(Qt::NoPen);
      painter.setBrush(QColor(40, 80, 160));
      painter.drawRoundedRect(2, 4, 28, 24, 4, 4);
      painter.setPen(QPen(Qt::white, 2));
      for (int y = 10; y <= 22; y += 6) painter.drawLine(8, y, 24, y);
      break;
    case kWindowIcon:
      painter.setPen(QPen(QColor(30, 130, 60), 2));
      painter.setBrush(QColor(220, 245, 225));
      painter.drawRect(3, 5, 26, 22);
      painter.fillRect(3, 5, 26, 6, QColor(30, 130, 60));
      break;
    case kKindPicture: {
      painter.setPen(QPen(Qt::darkGray, 2));
      painter.setBrush(QColor(200, 230, 255));
      painter.drawRect(2, 5, 28, 22);
      painter.setPen(Qt::NoPen);
      painter.setBrush(QColor(60, 150, 60));
      painter.drawPolygon(QPolygon({QPoint(3, 26), QPoint(13, 13), QPoint(21, 22), QPoint(24, 18), QPoint(29, 26)}));
      painter.setBrush(QColor(250, 200, 40));
      painter.drawEllipse(QPoint(23, 11), 3, 3);
      break;
    }
    case kKindTextFile: Page(painter, Qt::black); break;
    case kKindDocument:
      Page(painter, QColor(40, 90, 200));
      painter.fillRect(18, 2, 8, 8, QColor(40, 90, 200));
      break;
    case kKindVideo:
      painter.setPen(Qt::NoPen);
      painter.setBrush(QColor(60, 60, 60));
      painter.drawRoundedRect(2, 5, 28, 22, 3, 3);
      painter.setBrush(Qt::white);
      painter.drawPolygon(QPolygon({QPoint(12, 10), QPoint(23, 16), QPoint(12, 22)}));
      break;
    case kKindClock:
      painter.setPen(QPen(QColor(40, 40, 40), 2));
      painter.setBrush(Qt::white);
      painter.drawEllipse(QPoint(16, 16), 13, 13);
      painter.drawLine(16, 16, 16, 7);
      painter.drawLine(16, 16, 23, 19);
      break;
    case kKindCellText:
      painter.fillRect(2, 2, 28, 28, QColor(190, 30, 30));
      Letters(painter, QStringLiteral("A"), Qt::white, 22);
      break;
    case kKindImageText:
      painter.fillRect(2, 2, 28, 28, QColor(230, 140, 20));
      Letters(painter, QStringLiteral("A"), Qt::white, 22);
      break;
    case kKindAnimation:
      painter.setPen(QPen(Qt::darkGray, 2));
      for (int i = 2; i >= 0; --i) {
        painter.setBrush(QColor(120 + 50 * i, 80 + 40 * i, 200));
        painter.drawRect(2 + 4 * i, 2 + 4 * i, 18, 18);
      }
      break;
    case kKindSensor:
      painter.setPen(QPen(QColor(190, 30, 30), 2));
      painter.setBrush(Qt::white);
      painter.drawRoundedRect(13, 2, 7, 20, 3, 3);
      painter.setBrush(QColor(190, 30, 30));
      painter.drawEllipse(QPoint(16, 25), 5, 5);
      break;
    case kKindTimeCounter:
      painter.setPen(QPen(QColor(120, 70, 20), 2));
      painter.setBrush(QColor(250, 220, 150));
      painter.drawPolygon(QPolygon({QPoint(7, 3), QPoint(25, 3), QPoint(16, 16), QPoint(25, 29), QPoint(7, 29), QPoint(16, 16)}));
      break;
    case kKindWorkCounter:
      painter.fillRect(2, 6, 28, 20, QColor(50, 50, 50));
      Letters(painter, QStringLiteral("123"), QColor(120, 255, 120), 12);
      break;
    default:
      painter.setPen(QPen(Qt::gray, 2));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(3, 3, 26, 26);
      Letters(painter, QStringLiteral("?"), Qt::gray, 20);
  }
}

int KeyOf(const tagPrgItem& record) {
  if (record.IsProgram()) return kProgramIcon;
  if (record.IsWindow()) return kWindowIcon;
  return record.item.actType;
}

}  // namespace

QIcon RecordIcon(const tagPrgItem& record) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  Draw(painter, KeyOf(record));
  painter.end();
  return QIcon(pixmap);
}

}  // namespace vantorel

#include "ui/toolbar_icons.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QPixmap>

#include "playbill/cross_layout.h"
#include "playbill/prg_item.h"
#include "ui/command_ids.h"
#include "ui/kind_icons.h"

namespace vantorel {
namespace {

constexpr int kSize = 32;

QPixmap Blank() {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A record icon with a plus or a cross in its lower right corner.
QIcon WithBadge(int level, bool add) {
  tagPrgItem record;
  record.level = level;
  record.item.actType = kKindImageText;
  QPixmap pixmap = Blank();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  RecordIcon(record).paint(&painter, 0, 0, 26, 26);
  painter.setPen(Qt::NoPen);
  painter.setBrush(add ? QColor(40, 160, 60) : QColor(200, 40, 40));
  painter.drawEllipse(QPoint(24, 24), 8, 8);
  painter.setPen(QPen(Qt::white, 3));
  if (add) {
    painter.drawLine(19, 24, 29, 24);
    painter.drawLine(24, 19, 24, 29);
  } else {
    painter.drawLine(20, 20, 28, 28);
    painter.drawLine(28, 20, 20, 28);
  }
  return QIcon(pixmap);
}

QIcon Arrow(bool up) {
  QPixmap pixmap = Blank();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(40, 80, 160));
  const int tip = up ? 4 : 28;
  painter.drawPolygon(QPolygon({QPoint(16, tip), QPoint(4, 16), QPoint(28, 16)}));
  painter.drawRect(11, up ? 16 : 4, 10, 12);
  return QIcon(pixmap);
}

// The windows of a layout on a 48 x 48 cross, corners greyed.
QIcon Layout(int layout) {
  QPixmap pixmap = Blank();
  QPainter painter(&pixmap);
  const double scale = 30.0 / 48.0;
  painter.translate(1, 1);
  painter.scale(scale, scale);
  painter.fillRect(0, 0, 48, 48, Qt::black);
  for (const QRect corner : {QRect(0, 0, 16, 16), QRect(32, 0, 16, 16), QRect(0, 32, 16, 16), QRect(32, 32, 16, 16)}) {
    painter.fillRect(corner, QColor(150, 150, 150));
  }
  painter.setPen(QPen(QColor(255, 200, 40), 3));
  for (const WindowRect& w : LayoutWindows(layout, 48, 48)) painter.drawRect(QRect(w.left, w.top, w.width, w.height).adjusted(2, 2, -2, -2));
  return QIcon(pixmap);
}

// A cross screen beside the lines of a list: the screen manager.
QIcon ScreenList() {
  QPixmap pixmap = Blank();
  QPainter painter(&pixmap);
  painter.fillRect(1, 4, 18, 18, Qt::black);
  for (const QRect corner : {QRect(1, 4, 6, 6), QRect(13, 4, 6, 6), QRect(1, 16, 6, 6), QRect(13, 16, 6, 6)}) {
    painter.fillRect(corner, QColor(150, 150, 150));
  }
  painter.fillRect(8, 11, 4, 4, QColor(255, 200, 40));
  painter.setPen(QPen(QColor(40, 80, 160), 3));
  for (const int y : {8, 15, 22, 29}) painter.drawLine(22, y, 30, y);
  painter.drawLine(2, 29, 17, 29);
  return QIcon(pixmap);
}

QIcon Magnifier(bool in) {
  QPixmap pixmap = Blank();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(60, 60, 60), 3));
  painter.setBrush(QColor(220, 235, 255));
  painter.drawEllipse(QPoint(13, 13), 9, 9);
  painter.drawLine(20, 20, 29, 29);
  painter.drawLine(9, 13, 17, 13);
  if (in) painter.drawLine(13, 9, 13, 17);
  return QIcon(pixmap);
}

// A bent arrow pointing back (undo) or forward (redo).
QIcon TurnArrow(bool forward) {
  QPixmap pixmap = Blank();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  if (forward) {
    painter.translate(kSize, 0);
    painter.scale(-1, 1);
  }
  const QColor colour(40, 80, 160);
  painter.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap));
  painter.setBrush(Qt::NoBrush);
  painter.drawArc(QRect(6, 8, 22, 18), 90 * 16, -200 * 16);
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawPolygon(QPolygon({QPoint(3, 8), QPoint(14, 1), QPoint(14, 15)}));
  return QIcon(pixmap);
}

// A sheet of LED dots with a gear-like arrow into it: making the sign's files.
QIcon MakeData() {
  QPixmap pixmap = Blank();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(30, 30, 30));
  painter.drawRoundedRect(QRect(10, 10, 20, 20), 3, 3);
  painter.setBrush(QColor(230, 60, 40));
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) painter.drawEllipse(QPoint(15 + 5 * x, 15 + 5 * y), 2, 2);
  }
  const QColor arrow(40, 130, 60);
  painter.setPen(QPen(arrow, 3, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPoint(2, 4), QPoint(9, 11));
  painter.setPen(Qt::NoPen);
  painter.setBrush(arrow);
  painter.drawPolygon(QPolygon({QPoint(12, 14), QPoint(4, 12), QPoint(10, 6)}));
  return QIcon(pixmap);
}

}  // namespace

QIcon CommandIcon(int command) {
  switch (command) {
    case kCmdNewProgram: return WithBadge(kLevelProgram, true);
    case kCmdDeleteProgram: return WithBadge(kLevelProgram, false);
    case kCmdAddItem: return WithBadge(kLevelItem, true);
    case kCmdDeleteItem: return WithBadge(kLevelItem, false);
    case kCmdMoveProgramUp: return Arrow(true);
    case kCmdMoveProgramDown: return Arrow(false);
    case kCmdFileOpen: return QApplication::style()->standardIcon(QStyle::SP_DialogOpenButton);
    case kCmdFileSave: return QApplication::style()->standardIcon(QStyle::SP_DialogSaveButton);
    case kCmdZoomIn: return Magnifier(true);
    case kCmdZoomOut: return Magnifier(false);
    case kCmdUndo: return TurnArrow(false);
    case kCmdRedo: return TurnArrow(true);
    case kCmdScreenManager: return ScreenList();
    case kCmdMakeData: return MakeData();
    default: break;
  }
  if (command >= kCmdFirstLayout && command < kCmdFirstLayout + kLayoutCount) return Layout(command - kCmdFirstLayout);
  return {};
}

}  // namespace vantorel

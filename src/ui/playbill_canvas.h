#pragma once
// The editor's canvas: the current screen drawn at an integer zoom, the program's background and
// the page each window shows as LEDs, the areas without LEDs greyed, and the windows of the
// current program outlined and numbered. A click on a window chooses it;
// dragging inside it moves it, dragging at its edges or corners resizes it, by whole LEDs and
// within the screen.

#include <QImage>
#include <QWidget>

#include <optional>
#include <vector>

#include "playbill/window_fit.h"
#include "screen/part_list.h"

namespace vantorel {

struct CanvasWindow {
  QRect rect;      // in screen pixels
  int record = -1;  // its record in the playbill
  QImage page;      // what it shows, one pixel per LED (null: nothing drawn yet)
  bool transparent = false;  // its black pixels let the background show
  QString problem;  // why a video, animation or document shows nothing (written in the window)
};

class CPlaybillCanvas : public QWidget {
  Q_OBJECT
public:
  static constexpr int kMinZoom = 1;
  static constexpr int kMaxZoom = 32;

  explicit CPlaybillCanvas(QWidget* parent = nullptr);

  void SetScreen(QSize size, std::vector<PartRect> parts);
  void SetWindows(std::vector<CanvasWindow> windows, int selectedRecord);
  void SetBackground(QImage picture);
  void SetZoom(int zoom);

  int Zoom() const { return m_zoom; }
  QSize ScreenSize() const { return m_screen; }
  const std::vector<CanvasWindow>& Windows() const { return m_windows; }
  const std::vector<PartRect>& Parts() const { return m_parts; }
  // The largest zoom at which the whole screen fits into `area`.
  int ZoomToFit(QSize area) const;
  // Where screen pixel (0, 0) is drawn.
  QPoint Origin() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

  // Widget pixels from a window's edge in which a drag resizes it.
  static constexpr int kEdgeGrip = 4;

Q_SIGNALS:
  void windowClicked(int record);
  // A drag moved or resized the window of `record` to `rect` (screen pixels); one per drag.
  void windowDragged(int record, QRect rect);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  struct Hit {
    int index = -1;      // in m_windows
    WindowEdges edges;   // all four inside the window
  };
  struct Drag {
    int record = -1;
    QRect start;
    WindowEdges edges;
    QPoint from;
  };

  QRect OnWidget(const QRect& screenRect) const;
  // The window under `point` (the one drawn last lies on top) and the edges a drag there moves.
  Hit HitAt(QPoint point) const;
  // Where the window being dragged is with the pointer at `point`.
  QRect DraggedRect(QPoint point) const;

  QSize m_screen{0, 0};
  std::vector<PartRect> m_parts;
  std::vector<CanvasWindow> m_windows;
  int m_selectedRecord = -1;
  QImage m_background;
  int m_zoom = 8;
  std::optional<Drag> m_drag;
};

}  // namespace vantorel

#pragma once
// A small picture of the week: a row per day (Sunday to Saturday), a column per hour. An hour in
// which some program plays is filled; one in which nothing plays is drawn light red and crossed,
// so that the gaps stand out also without colour.

#include <QWidget>

#include "playbill/play_coverage.h"

namespace vantorel {

class CWeekGrid : public QWidget {
  Q_OBJECT
public:
  explicit CWeekGrid(QWidget* parent = nullptr);
  void SetHours(const WeekHours& hours);
  const WeekHours& Hours() const { return m_hours; }
  // Where hour `hour` of day `day` (0 = Sunday) is drawn.
  QRect HourRect(int day, int hour) const;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  int LabelWidth() const;
  int CellSize() const;

  WeekHours m_hours{};
};

}  // namespace vantorel

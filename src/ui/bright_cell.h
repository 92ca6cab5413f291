#pragma once
// One brightness cell of "Auto task manager": its hours above ("0 - 4", "ALL"), a vertical slider
// 0..32 (brightest at the top: the slider stands at 31 − the number field, 32 for automatic) and
// the number field below it as a flat button ("-1" for automatic, "*" when its hours differ).
// Moving the slider reports the new number field; clicking the number asks for the hours one by one.

#include <QWidget>

#include <optional>

class QPushButton;
class QSlider;

namespace vantorel {

class CBrightCell : public QWidget {
  Q_OBJECT
public:
  CBrightCell(const QString& hours, QWidget* parent = nullptr);

  QSlider* Slider() const { return m_slider; }
  QPushButton* Number() const { return m_number; }
  // Shows the field all its hours share, or "*" (nothing) with the slider at `first`, the field
  // of its first hour. Reports nothing.
  void Show(std::optional<int> field, int first);

Q_SIGNALS:
  // The user moved the slider to number field `field` (-1 automatic).
  void fieldChosen(int field);
  void numberClicked();

private:
  QSlider* m_slider = nullptr;
  QPushButton* m_number = nullptr;
};

}  // namespace vantorel

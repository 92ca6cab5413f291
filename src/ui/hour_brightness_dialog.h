#pragma once
// "Brightness of each hour": the 24 number fields of "Auto task manager" one by one, a spin box
// per hour (-1..31, -1 shown as "Auto"), OK and Cancel.

#include <QDialog>

#include <array>
#include <cstddef>

#include "send/auto_task.h"

class QSpinBox;

namespace vantorel {

class CHourBrightnessDlg : public QDialog {
  Q_OBJECT
public:
  // `focusHour`: the hour whose box has the keyboard focus at first.
  CHourBrightnessDlg(const std::array<int, kBrightnessHours>& fields, std::size_t focusHour, QWidget* parent = nullptr);

  QSpinBox* Hour(std::size_t hour) const { return m_hours[hour]; }
  std::array<int, kBrightnessHours> Fields() const;

private:
  std::array<QSpinBox*, kBrightnessHours> m_hours{};
};

}  // namespace vantorel

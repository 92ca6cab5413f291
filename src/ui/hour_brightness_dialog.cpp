#include "ui/hour_brightness_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/text_ids.h"
#include "ui/ui_text.h"

namespace vantorel {

CHourBrightnessDlg::CHourBrightnessDlg(const std::array<int, kBrightnessHours>& fields, std::size_t focusHour,
                                       QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(Text(kTextHourBrightnessTitle));
  // One row per four-hour group, as the cells of the dialog stand.
  auto* grid = new QGridLayout;
  for (std::size_t hour = 0; hour < kBrightnessHours; ++hour) {
    auto* box = new QSpinBox(this);
    box->setRange(kAutomaticBrightnessField, kMaxBrightness);
    box->setSpecialValueText(Text(kTextAutomaticBrightness));
    box->setValue(fields[hour]);
    m_hours[hour] = box;
    auto* label = new QLabel(QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0')), this);
    label->setBuddy(box);
    const int row = static_cast<int>(hour / kHoursPerBrightnessGroup);
    const int column = static_cast<int>(hour % kHoursPerBrightnessGroup) * 2;
    grid->addWidget(label, row, column, Qt::AlignRight);
    grid->addWidget(box, row, column + 1);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(OkCancelButtons(this));
  m_hours[focusHour < kBrightnessHours ? focusHour : 0]->setFocus();
}

std::array<int, kBrightnessHours> CHourBrightnessDlg::Fields() const {
  std::array<int, kBrightnessHours> fields{};
  for (std::size_t hour = 0; hour < kBrightnessHours; ++hour) fields[hour] = m_hours[hour]->value();
  return fields;
}

}  // namespace vantorel

#include "ui/bright_cell.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "app/text_ids.h"
#include "send/auto_task.h"
#include "ui/ui_text.h"

namespace vantorel {

CBrightCell::CBrightCell(const QString& hours, QWidget* parent) : QWidget(parent) {
  auto* title = new QLabel(hours, this);
  title->setAlignment(Qt::AlignCenter);
  m_slider = new QSlider(Qt::Vertical, this);
  m_slider->setRange(0, kAutomaticBrightnessSlider);
  m_slider->setInvertedAppearance(true);  // 0, the brightest, at the top
  m_slider->setInvertedControls(true);
  m_slider->setPageStep(4);
  m_slider->setMinimumHeight(120);
  m_number = new QPushButton(this);
  m_number->setFlat(true);
  m_number->setToolTip(Text(kTextClickNumberForHours));
  m_number->setMinimumWidth(48);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(title);
  layout->addWidget(m_slider, 1, Qt::AlignHCenter);
  layout->addWidget(m_number, 0, Qt::AlignHCenter);

  connect(m_slider, &QSlider::valueChanged, this, [this](int slider) {
    const int field = BrightnessFieldOfSlider(slider);
    m_number->setText(QString::number(field));
    Q_EMIT fieldChosen(field);
  });
  connect(m_number, &QPushButton::clicked, this, &CBrightCell::numberClicked);
}

void CBrightCell::Show(std::optional<int> field, int first) {
  const QSignalBlocker quiet(m_slider);
  m_slider->setValue(BrightnessSliderOf(BrightnessByteOf(first)));
  m_number->setText(field ? QString::number(*field) : QStringLiteral("*"));
}

}  // namespace vantorel

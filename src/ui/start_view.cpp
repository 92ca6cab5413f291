#include "ui/start_view.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/text_table.h"
#include "ui/ui_text.h"

namespace vantorel {

CScrListView::CScrListView(QWidget* parent)
    : QWidget(parent),
      m_heading(new QLabel(this)),
      m_wizard(new QPushButton(this)),
      m_load(new QPushButton(this)),
      m_manual(new QPushButton(this)),
      m_default(new QPushButton(this)) {
  setObjectName(QStringLiteral("StartView"));
  auto* layout = new QVBoxLayout(this);
  layout->addStretch(1);
  layout->addWidget(m_heading, 0, Qt::AlignHCenter);
  layout->addSpacing(12);
  for (QPushButton* button : {m_wizard, m_load, m_manual, m_default}) {
    button->setMinimumWidth(320);
    layout->addWidget(button, 0, Qt::AlignHCenter);
  }
  layout->addStretch(2);
  connect(m_wizard, &QPushButton::clicked, this, &CScrListView::wizardChosen);
  connect(m_load, &QPushButton::clicked, this, &CScrListView::loadChosen);
  connect(m_manual, &QPushButton::clicked, this, &CScrListView::manualChosen);
  connect(m_default, &QPushButton::clicked, this, &CScrListView::defaultChosen);
  Retranslate();
}

void CScrListView::SetWizardAvailable(bool available) {
  m_wizard->setEnabled(available);
  m_wizard->setToolTip(available ? QString() : Text(kTextWizardNeedsPlugin));
}

void CScrListView::Retranslate() {
  m_heading->setText(Text(kTextNoScreenDefined));
  m_wizard->setText(Text(kTextScreenSettingWizard));
  m_load->setText(Text(kTextLoadScreensFromFile));
  m_manual->setText(Text(kTextDefineScreenManually));
  m_default->setText(Text(kTextDefineDefaultScreen));
  if (!m_wizard->isEnabled()) m_wizard->setToolTip(Text(kTextWizardNeedsPlugin));
}

}  // namespace vantorel

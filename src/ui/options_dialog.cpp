#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTime>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "app/text_format.h"
#include "app/text_table.h"
#include "playbill/effect_table.h"
#include "ui/ui_text.h"

namespace vantorel {
namespace {

constexpr TextId kPreviewPlacementTexts[] = {kTextPlaceRightOfMain, kTextPlaceBelowMain, kTextPlaceTopLeft,
                                           kTextPlaceTopRight, kTextPlaceCentre};
constexpr int kPreviewZooms = 8;
constexpr int kTextSizes = 8;        // size indexes 0..7
constexpr int kClockFormats = 8;     // date formats 0..7
constexpr int kTextSizeHeights[kTextSizes] = {8, 12, 16, 24, 32, 40, 48, 56};

QCheckBox* Check(int textId, int value, QWidget* parent) {
  auto* box = new QCheckBox(Text(textId), parent);
  box->setChecked(value != 0);
  return box;
}

int Value(const QCheckBox* box) { return box->isChecked() ? 1 : 0; }

// Selects the entry whose data is `value`, else the first.
void SelectData(QComboBox* combo, int value) { combo->setCurrentIndex(std::max(0, combo->findData(value))); }

}  // namespace

COptionsDlg::COptionsDlg(const AppOptions& options, QWidget* parent)
    : QDialog(parent), m_options(options), m_pages(new QTabWidget(this)) {
  setWindowTitle(Text(kTextOptions));
  m_pages->addTab(MakeViewPage(), Text(kTextView));
  m_pages->addTab(MakeSystemPage(), Text(kTextSystem));
  m_pages->addTab(MakeCustomPage(), Text(kTextCustom));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pages);
  layout->addWidget(OkCancelButtons(this));
}

QWidget* COptionsDlg::MakeViewPage() {
  auto* page = new QWidget(this);
  m_previewShow = Check(kTextShowPreview, m_options.previewShow, page);
  m_previewTopmost = Check(kTextKeepPreviewOnTop, m_options.previewTopmost, page);
  m_previewAlign = new QComboBox(page);
  for (int i = 0; i < static_cast<int>(std::size(kPreviewPlacementTexts)); ++i) {
    m_previewAlign->addItem(Text(kPreviewPlacementTexts[i]), i);
  }
  SelectData(m_previewAlign, m_options.previewAlign);
  m_previewZoom = new QComboBox(page);
  for (int i = 0; i < kPreviewZooms; ++i) {
    m_previewZoom->addItem(QString::fromStdString(FormatText(LoadText(kTextZoomFactor).c_str(), i + 1)), i);
  }
  SelectData(m_previewZoom, m_options.previewZoom);
  m_minimizeToTray = Check(kTextMinimizeToTray, m_options.minimizeToTray, page);
  m_ledtoolPassword = Check(kTextOptionLedtoolPassword, m_options.ledtoolPassword, page);

  auto* form = new QFormLayout(page);
  form->addRow(m_previewShow);
  form->addRow(m_previewTopmost);
  form->addRow(Text(kTextPreviewWindowPlacement), m_previewAlign);
  form->addRow(Text(kTextPreviewZoom), m_previewZoom);
  form->addRow(m_minimizeToTray);
  form->addRow(m_ledtoolPassword);
  for (QWidget* control : std::initializer_list<QWidget*>{m_previewShow, m_previewTopmost, m_previewAlign, m_previewZoom}) {
    WaitForFeature(form, control, kTextWaitsForPreview);
  }
  return page;
}

QWidget* COptionsDlg::MakeSystemPage() {
  auto* page = new QWidget(this);
  m_autoShutdown = Check(kTextAutoShutdownAt, m_options.autoShutdown, page);
  m_shutdownTime = new QTimeEdit(page);
  m_shutdownTime->setDisplayFormat(QStringLiteral("HH:mm"));
  const int time = m_options.shutdownTime;
  m_shutdownTime->setTime(QTime((time >> 8) % 24, (time & 0xFF) % 60));
  m_shutdownTime->setEnabled(m_autoShutdown->isChecked());
  connect(m_autoShutdown, &QCheckBox::toggled, m_shutdownTime, &QWidget::setEnabled);

  auto* row = new QHBoxLayout;
  row->addWidget(m_autoShutdown);
  row->addWidget(m_shutdownTime);
  row->addStretch();
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(row);
  layout->addStretch();
  return page;
}

QWidget* COptionsDlg::MakeCustomPage() {
  auto* page = new QWidget(this);
  m_textMode = new QComboBox(page);
  m_textMode->addItem(Text(kTextTextMode), 0);
  m_textMode->addItem(Text(kTextImageMode), 1);
  SelectData(m_textMode, m_options.defaultTextMode);
  m_textSize = new QComboBox(page);
  m_textSize->addItem(Text(kTextNotSet), -1);
  for (int i = 0; i < kTextSizes; ++i) {
    m_textSize->addItem(QString::number(kTextSizeHeights[i]) + Text(kTextDotSuffix), i);
  }
  SelectData(m_textSize, m_options.defaultTextSize);
  m_effect = new QComboBox(page);
  for (int i = 0; i < kEffectCount; ++i) m_effect->addItem(Text(EffectAt(i).textId), EffectAt(i).code);
  SelectData(m_effect, EffectAt(std::max(0, EffectIndexOfCode(static_cast<std::uint16_t>(m_options.defaultEffect)))).code);
  m_clockFormat = new QSpinBox(page);
  m_clockFormat->setRange(0, kClockFormats - 1);
  m_clockFormat->setValue(m_options.defaultClockFormat);
  m_extendedAsciiName = new QLineEdit(QString::fromStdString(m_options.extendedAsciiName), page);
  m_extendedAsciiName->setPlaceholderText(Text(kTextExtendedAscii));
  m_oneButtonSend = Check(kTextOneButtonSending, m_options.oneButtonSend, page);
  m_packProgramFiles = Check(kTextPackProgramFiles, m_options.packProgramFiles, page);
  m_convertVideo = Check(kTextConvertVideos, m_options.convertVideo, page);
  m_removeFontSmooth = Check(kTextRemoveFontSmoothing, m_options.removeFontSmooth, page);
  m_runschBlank = Check(kTextPeriodsStartUnticked, m_options.runschBlank, page);

  auto* form = new QFormLayout(page);
  form->addRow(Text(kTextNewTextMode), m_textMode);
  form->addRow(Text(kTextNewTextSize), m_textSize);
  form->addRow(Text(kTextNewItemEffect), m_effect);
  form->addRow(Text(kTextNewClockFormat), m_clockFormat);
  form->addRow(Text(kTextExtendedAsciiName), m_extendedAsciiName);
  for (QCheckBox* box : {m_oneButtonSend, m_packProgramFiles, m_convertVideo, m_removeFontSmooth, m_runschBlank}) {
    form->addRow(box);
  }
  WaitForFeature(form, m_clockFormat, kTextWaitsForClocks);
  WaitForFeature(form, m_oneButtonSend, kTextWaitsForSending);
  WaitForFeature(form, m_packProgramFiles, kTextWaitsForProgramFiles);
  WaitForFeature(form, m_convertVideo, kTextWaitsForVideoConversion);
  return page;
}

void COptionsDlg::WaitForFeature(QFormLayout* form, QWidget* control, TextId reason) {
  for (QWidget* widget : {control, form->labelForField(control)}) {
    if (!widget) continue;
    widget->setEnabled(false);
    widget->setToolTip(Text(reason));
  }
  m_waiting.append(control);
}

void COptionsDlg::Read(const QCheckBox* box, int& value) const {
  if (!m_waiting.contains(box)) value = Value(box);
}

void COptionsDlg::Read(const QComboBox* combo, int& value) const {
  if (!m_waiting.contains(combo)) value = combo->currentData().toInt();
}

void COptionsDlg::Read(const QSpinBox* spin, int& value) const {
  if (!m_waiting.contains(spin)) value = spin->value();
}

AppOptions COptionsDlg::Options() const {
  AppOptions options = m_options;
  Read(m_previewShow, options.previewShow);
  Read(m_previewTopmost, options.previewTopmost);
  Read(m_previewAlign, options.previewAlign);
  Read(m_previewZoom, options.previewZoom);
  Read(m_minimizeToTray, options.minimizeToTray);
  Read(m_ledtoolPassword, options.ledtoolPassword);
  Read(m_autoShutdown, options.autoShutdown);
  options.shutdownTime = m_shutdownTime->time().hour() * 256 + m_shutdownTime->time().minute();
  Read(m_textMode, options.defaultTextMode);
  Read(m_textSize, options.defaultTextSize);
  Read(m_effect, options.defaultEffect);
  Read(m_clockFormat, options.defaultClockFormat);
  options.extendedAsciiName = m_extendedAsciiName->text().toStdString();
  Read(m_oneButtonSend, options.oneButtonSend);
  Read(m_packProgramFiles, options.packProgramFiles);
  Read(m_convertVideo, options.convertVideo);
  Read(m_removeFontSmooth, options.removeFontSmooth);
  Read(m_runschBlank, options.runschBlank);
  return options;
}

}  // namespace vantorel

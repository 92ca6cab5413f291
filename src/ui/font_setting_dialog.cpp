#include "ui/font_setting_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/text_ids.h"
#include "playbill/font_library_names.h"
#include "ui/background_task.h"
#include "ui/property_fields.h"
#include "ui/ui_text.h"

namespace vantorel {

namespace {

constexpr int kSizeColumns = 4;
constexpr std::uint16_t kShownSizeBits = (1u << kFontSizeCount) - 1;

std::uint16_t MaskOf(const std::array<QCheckBox*, kFontSizeCount>& boxes, std::uint16_t kept) {
  auto mask = static_cast<std::uint16_t>(kept & ~kShownSizeBits);
  for (int index = 0; index < kFontSizeCount; ++index) {
    if (boxes[static_cast<std::size_t>(index)]->isChecked()) mask = static_cast<std::uint16_t>(mask | (1u << index));
  }
  return mask;
}

void ShowMask(const std::array<QCheckBox*, kFontSizeCount>& boxes, std::uint16_t mask) {
  for (int index = 0; index < kFontSizeCount; ++index) boxes[static_cast<std::size_t>(index)]->setChecked((mask & (1u << index)) != 0);
}

}  // namespace

CSetFontlibDlg::CSetFontlibDlg(const SettingsScreen& target, const QString& screenName, QWidget* parent,
                               ChannelOptions options)
    : QDialog(parent), m_target(target), m_options(std::move(options)), m_detection(std::make_shared<FontDetection>()) {
  setWindowTitle(Text(kTextFontSetting) + QStringLiteral(" - ") + screenName);

  m_characterSet = new QComboBox(this);
  for (int code = 0; code < kFontLibCount; ++code) m_characterSet->addItem(Text(FontLibraryTextId(code)), code);
  m_detect = new QPushButton(Text(kTextAutoDetect), this);
  connect(m_detect, &QPushButton::clicked, this, &CSetFontlibDlg::AutoDetect);
  auto* characterRow = new QHBoxLayout;
  characterRow->addWidget(m_characterSet, 1);
  characterRow->addWidget(m_detect);
  auto* form = new QFormLayout;
  form->addRow(Text(kTextCharacterSet), characterRow);

  m_result = new QLabel(this);
  m_result->setWordWrap(true);
  m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);

  QDialogButtonBox* buttons = OkCancelButtons(this);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(SizeGroup(kTextAsciiFontSizes, m_ascii));
  layout->addWidget(SizeGroup(kTextExtendedFontSizes, m_extended));
  layout->addWidget(m_result);
  layout->addWidget(buttons);

  m_task = new CBackgroundTask(this);
  connect(m_task, &CBackgroundTask::finished, this, [this](bool, bool, const QString&) {
    if (m_detection->result.ok()) ShowSettings(m_detection->settings);
    m_result->setText(QString::fromStdString(ResultText(m_detection->result)).trimmed());
    m_detect->setEnabled(true);
    Q_EMIT detectFinished();
  });

  const tagScreenInfo& screen = m_target.screen;
  ShowSettings({screen.fontLib, screen.ascSizeM, screen.extSizeM});
}

CSetFontlibDlg::~CSetFontlibDlg() = default;

QWidget* CSetFontlibDlg::SizeGroup(int titleId, SizeBoxes& boxes) {
  auto* group = new QGroupBox(Text(titleId), this);
  auto* grid = new QGridLayout(group);
  for (int index = 0; index < kFontSizeCount; ++index) {
    auto* box = new QCheckBox(QString::fromStdString(SizeLabel(index)), group);
    boxes[static_cast<std::size_t>(index)] = box;
    grid->addWidget(box, index / kSizeColumns, index % kSizeColumns);
  }
  return group;
}

bool CSetFontlibDlg::IsRunning() const { return m_task->IsRunning(); }

void CSetFontlibDlg::ShowSettings(const FontSettings& settings) {
  m_shown = settings;
  ShowChoice(m_characterSet, settings.characterSet);
  ShowMask(m_ascii, settings.asciiSizes);
  ShowMask(m_extended, settings.extendedSizes);
}

FontSettings CSetFontlibDlg::Settings() const {
  return {static_cast<std::uint16_t>(m_characterSet->currentData().toInt()), MaskOf(m_ascii, m_shown.asciiSizes),
          MaskOf(m_extended, m_shown.extendedSizes)};
}

void CSetFontlibDlg::AutoDetect() {
  m_detect->setEnabled(false);
  m_result->clear();
  auto detection = m_detection;
  const SettingsScreen target = m_target;
  const ChannelOptions options = m_options;
  m_task->Start([detection, target, options](const std::atomic<bool>&, const std::function<void(int)>&) {
    *detection = DetectControllerFonts(target, options);  // read by the user-interface thread after the end
    return Status::Ok();
  });
}

}  // namespace vantorel

#include "ui/picture_item_properties.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>

#include <filesystem>

#include "app/status_text.h"
#include "app/text_ids.h"
#include "codecs/picture_file.h"
#include "ui/ui_text.h"

namespace vantorel {

CPictureItemProperties::CPictureItemProperties(QWidget* parent) : CRecordProperties(parent) {
  m_file = new QLineEdit(this);
  m_file->setObjectName(QStringLiteral("PictureFile"));
  m_file->setReadOnly(true);
  m_choose = new QToolButton(this);
  m_choose->setObjectName(QStringLiteral("ChoosePicture"));
  m_choose->setText(QStringLiteral("..."));
  m_problem = new QLabel(this);
  m_problem->setObjectName(QStringLiteral("PictureProblem"));
  m_problem->setWordWrap(true);
  m_problem->setStyleSheet(QStringLiteral("color: #b00020"));
  m_problem->hide();
  m_placement = new QComboBox(this);
  m_placement->setObjectName(QStringLiteral("PicturePlacement"));
  m_inverse = new QCheckBox(this);
  m_inverse->setObjectName(QStringLiteral("PictureInverse"));
  m_texts.Add(m_inverse, kTextInversePicture);

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(m_file, 1);
  fileRow->addWidget(m_choose);
  auto* form = new QFormLayout(this);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(m_texts.Label(kTextPictureFile, this), fileRow);
  form->addRow(m_problem);
  form->addRow(m_texts.Label(kTextDisplayMode, this), m_placement);
  form->addRow(m_inverse);
  FillChoices();

  connect(m_choose, &QToolButton::clicked, this, [this] {
    const QString folder = QFileInfo(m_file->text()).absolutePath();
    const QString file = QFileDialog::getOpenFileName(this, Text(kTextPictureFile), m_file->text().isEmpty() ? QString() : folder,
                                                      FileDialogFilter(kTextImageFilter));
    if (!file.isEmpty()) ChooseFile(file.toStdString());
  });
  connect(m_placement, &QComboBox::activated, this, [this](int index) {
    const auto mode = static_cast<std::uint16_t>(m_placement->itemData(index).toInt());
    Edit(kPlacement, [mode](tagPrgItem& record) { record.item.showMode = mode; });
  });
  connect(m_inverse, &QCheckBox::toggled, this,
          [this](bool on) { Edit(kInverse, [on](tagPrgItem& record) { record.item.negative = on ? 1 : 0; }); });
}

void CPictureItemProperties::FillChoices() { vantorel::FillChoices(m_placement, kPlacementModeTexts); }

bool CPictureItemProperties::ChooseFile(const std::string& file) {
  const std::filesystem::path path = std::filesystem::absolute(file);
  if (const Expected<QImage> picture = ReadPicture(path); !picture) {
    m_problem->setText(QString::fromStdString(StatusMessage(picture.status().WithText(kTextPictureUnreadable))));
    m_problem->show();
    return false;
  }
  m_problem->hide();
  Edit(kFile, [&path](tagPrgItem& record) { record.item.media = path.string(); });
  return true;
}

void CPictureItemProperties::Show(const tagPrgItem& record) {
  m_record = record;
  m_file->setText(QString::fromStdString(record.item.media.str()));
  m_problem->hide();
  ShowChoice(m_placement, record.item.showMode);
  const QSignalBlocker block(m_inverse);
  m_inverse->setChecked(record.item.negative != 0);
}

}  // namespace vantorel

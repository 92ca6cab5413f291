#include "ui/cross_map_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/text_table.h"
#include "screen/comm_types.h"
#include "screen/cross_map_library.h"
#include "ui/ui_text.h"

namespace vantorel {
namespace {

constexpr QSize kPictureBox(480, 360);

}  // namespace

CCrossCfgDlg::CCrossCfgDlg(const CScreenData& list, int index, const std::filesystem::path& programFolder, QWidget* parent)
    : QDialog(parent),
      m_folder(CrossMapFolder(programFolder, list.Screen(index).width, list.Screen(index).height)),
      m_title(new QLabel(this)),
      m_files(new QListWidget(this)),
      m_picture(new QLabel(this)),
      m_send(new QPushButton(Text(kTextSend), this)) {
  setWindowTitle(Text(kTextCrossMapTitle));
  const tagScreenInfo& screen = list.Screen(index);
  m_title->setText(QString::fromStdString(
      CrossMapTitle(list.DisplayName(index), screen.width, screen.height, CommParameterText(list.Comm(index)))));
  m_picture->setMinimumSize(kPictureBox);
  m_picture->setAlignment(Qt::AlignCenter);
  m_picture->setFrameShape(QFrame::StyledPanel);
  m_send->setEnabled(false);
  m_send->setToolTip(Text(kTextSendNeedsComm));
  for (const std::filesystem::path& file : CrossMapFiles(m_folder)) AddFile(file);

  auto* close = new QDialogButtonBox(this);
  close->addButton(Text(kTextClose), QDialogButtonBox::RejectRole);
  close->addButton(m_send, QDialogButtonBox::ActionRole);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* columns = new QHBoxLayout;
  columns->addWidget(m_files);
  columns->addWidget(m_picture, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_title);
  layout->addLayout(columns, 1);
  layout->addWidget(close);
  connect(m_files, &QListWidget::currentRowChanged, this, &CCrossCfgDlg::ShowPicture);
  if (m_files->count() > 0) m_files->setCurrentRow(0);
  ShowPicture();
}

void CCrossCfgDlg::AddFile(const std::filesystem::path& file) {
  auto* item = new QListWidgetItem(QString::fromStdString(file.filename().string()), m_files);
  item->setData(Qt::UserRole, QString::fromStdString(file.string()));
  item->setToolTip(QString::fromStdString(file.string()));
}

std::filesystem::path CCrossCfgDlg::ChosenFile() const {
  const QListWidgetItem* item = m_files->currentItem();
  return item ? std::filesystem::path(item->data(Qt::UserRole).toString().toStdString()) : std::filesystem::path();
}

int CCrossCfgDlg::exec() {
  if (m_files->count() == 0) {
    const QString file = QFileDialog::getOpenFileName(parentWidget(), windowTitle(), QString::fromStdString(m_folder.string()),
                                                      FileDialogFilter(kTextCrossMapFilter));
    if (file.isEmpty()) return QDialog::Rejected;
    AddFile(file.toStdString());
    m_files->setCurrentRow(0);
  }
  return QDialog::exec();
}

void CCrossCfgDlg::ShowPicture() {
  const std::filesystem::path file = ChosenFile();
  QImage picture;
  if (!file.empty()) picture.load(QString::fromStdString(CrossMapPicture(file).string()));
  if (picture.isNull()) {
    m_picture->setPixmap(QPixmap());
    m_picture->setText(file.empty() ? QString() : Text(kTextNoMapPicture));
    return;
  }
  m_picture->setPixmap(QPixmap::fromImage(picture.scaled(kPictureBox, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

}  // namespace vantorel

#include "ui/import_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/text_table.h"
#include "playbill/playbill_reader.h"
#include "playbill/playbill_transfer.h"
#include "screen/colour_modes.h"
#include "screen/controller_types.h"
#include "ui/ui_text.h"

namespace vantorel {
namespace {

constexpr int kSummaryTextIds[] = {399, 401, 403, 404};  // Model, Color, Width, Height

QFormLayout* SummaryForm(const CScreenSummary& summary) {
  auto* form = new QFormLayout;
  const auto labels = summary.Labels();
  for (std::size_t i = 0; i < labels.size(); ++i) form->addRow(Text(kSummaryTextIds[i]), labels[i]);
  return form;
}

}  // namespace

CScreenSummary::CScreenSummary(QWidget* parent) {
  for (QLabel*& label : m_labels) label = new QLabel(parent);
}

void CScreenSummary::Show(const tagScreenInfo* screen) {
  if (!screen) {
    for (QLabel* label : m_labels) label->clear();
    return;
  }
  m_labels[0]->setText(QString::fromStdString(ModelName(screen->model)));
  m_labels[1]->setText(QString::fromStdString(ColourModeName(screen->color)));
  m_labels[2]->setText(QString::number(screen->width));
  m_labels[3]->setText(QString::number(screen->height));
}

CImportPlaybillDlg::CImportPlaybillDlg(QWidget* parent)
    : QDialog(parent),
      m_file(new QLineEdit(this)),
      m_multiple(new QCheckBox(Text(kTextToMultipleScreens), this)),
      m_summary(this) {
  setWindowTitle(Text(kTextImportTitle));
  setMinimumWidth(480);
  auto* browse = new QPushButton(QStringLiteral("..."), this);
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString chosen = QFileDialog::getOpenFileName(this, windowTitle(), m_file->text(), FileDialogFilter(kTextPlaybillFilter));
    if (!chosen.isEmpty()) m_file->setText(chosen);
  });
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(m_file, 1);
  fileRow->addWidget(browse);

  QDialogButtonBox* buttons = OkCancelButtons(this);
  m_ok = buttons->button(QDialogButtonBox::Ok);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fileRow);
  layout->addLayout(SummaryForm(m_summary));
  layout->addWidget(m_multiple);
  layout->addWidget(buttons);
  connect(m_file, &QLineEdit::textChanged, this, &CImportPlaybillDlg::FileChanged);
  FileChanged();
}

void CImportPlaybillDlg::FileChanged() {
  tagScreenInfo screen;
  const std::filesystem::path file = File();
  std::error_code error;
  if (!file.empty() && std::filesystem::is_regular_file(file, error) && ReadPlaybillScreen(file, screen)) {
    m_fileScreen = screen;
  } else {
    m_fileScreen.reset();
  }
  m_summary.Show(m_fileScreen ? &*m_fileScreen : nullptr);
  m_ok->setEnabled(m_fileScreen.has_value());
}

std::filesystem::path CImportPlaybillDlg::File() const { return m_file->text().trimmed().toStdString(); }

bool CImportPlaybillDlg::ToMultipleScreens() const { return m_multiple->isChecked(); }

CImportScreensDlg::CImportScreensDlg(const tagScreenInfo& fileScreen, const CScreenData& screens, QWidget* parent)
    : QDialog(parent),
      m_fileScreen(fileScreen),
      m_screens(screens),
      m_list(new QListWidget(this)),
      m_screenSummary(this) {
  setWindowTitle(Text(kTextImportTitle));
  m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  for (int i = 0; i < screens.Count(); ++i) m_list->addItem(QString::fromStdString(screens.DisplayName(i)));

  CScreenSummary fileSummary(this);
  fileSummary.Show(&m_fileScreen);
  QDialogButtonBox* buttons = OkCancelButtons(this);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setEnabled(false);
  connect(m_list, &QListWidget::itemSelectionChanged, this, [this, ok] {
    const std::vector<int> chosen = Chosen();
    ok->setEnabled(!chosen.empty());
    m_screenSummary.Show(chosen.size() == 1 ? &m_screens.Screen(chosen.front()) : nullptr);
  });

  auto* columns = new QHBoxLayout;
  columns->addLayout(SummaryForm(fileSummary));
  auto* right = new QVBoxLayout;
  right->addWidget(m_list);
  right->addLayout(SummaryForm(m_screenSummary));
  columns->addLayout(right, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(buttons);
}

std::vector<int> CImportScreensDlg::Chosen() const {
  std::vector<int> chosen;
  for (int i = 0; i < m_list->count(); ++i) {
    if (m_list->item(i)->isSelected()) chosen.push_back(i);
  }
  return chosen;
}

void CImportScreensDlg::accept() {
  if (const Status checked = CheckImportScreens(m_fileScreen, m_screens, Chosen()); !checked) {
    ShowMessage(this, QString::fromStdString(ImportFailureText(checked)), kTextError, QMessageBox::Warning);
    return;
  }
  QDialog::accept();
}

}  // namespace vantorel

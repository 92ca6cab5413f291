#include "ui/language_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "app/app_language.h"
#include "app/text_ids.h"
#include "ui/ui_text.h"

namespace vantorel {

CSelectLangDlg::CSelectLangDlg(const std::filesystem::path& languageFolder, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)) {
  setWindowTitle(Text(kTextLanguage));
  for (const LanguageChoice& choice : ListLanguages(languageFolder)) {
    auto* row = new QListWidgetItem(QString::fromStdString(choice.name), m_list);
    row->setData(Qt::UserRole, choice.id);
  }
  m_list->setCurrentRow(0);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(Text(kTextInterfaceLanguage), this));
  layout->addWidget(m_list);
  layout->addWidget(OkCancelButtons(this));
  connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

int CSelectLangDlg::LanguageId() const {
  const QListWidgetItem* row = m_list->currentItem();
  return row ? row->data(Qt::UserRole).toInt() : kAutoLanguageId;
}

}  // namespace vantorel

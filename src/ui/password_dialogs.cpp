#include "ui/password_dialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/status_text.h"
#include "app/text_table.h"
#include "ui/ui_text.h"

namespace vantorel {
namespace {

QLineEdit* PasswordField(QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setEchoMode(QLineEdit::Password);
  field->setMaxLength(static_cast<int>(kMaxPasswordLength));
  return field;
}

std::string Utf8(const QLineEdit* field) { return field->text().toStdString(); }

}  // namespace

CPasswordDlg::CPasswordDlg(QWidget* parent) : QDialog(parent), m_field(PasswordField(this)) {
  setWindowTitle(Text(kTextPassword));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(Text(kTextEnterPassword), this));
  layout->addWidget(m_field);
  QDialogButtonBox* buttons = OkCancelButtons(this);
  layout->addWidget(buttons);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setEnabled(false);
  connect(m_field, &QLineEdit::textChanged, ok, [ok](const QString& text) { ok->setEnabled(!text.isEmpty()); });
}

std::string CPasswordDlg::Password() const { return Utf8(m_field); }

CChangePasswordDlg::CChangePasswordDlg(PasswordKind kind, const PasswordBlock& stored, int captionCommand,
                                       QWidget* parent)
    : QDialog(parent),
      m_kind(kind),
      m_current(BlockToChange(kind, stored)),
      m_old(PasswordField(this)),
      m_new(PasswordField(this)),
      m_repeat(PasswordField(this)),
      m_buttons(OkCancelButtons(this)) {
  setWindowTitle(CommandCaption(captionCommand));
  auto* form = new QFormLayout;
  form->addRow(Text(kTextOldPassword), m_old);
  form->addRow(Text(kTextNewPassword), m_new);
  form->addRow(Text(kTextNewPasswordAgain), m_repeat);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(m_buttons);
  for (QLineEdit* field : {m_old, m_new, m_repeat}) connect(field, &QLineEdit::textChanged, this, &CChangePasswordDlg::UpdateOk);
  UpdateOk();
}

void CChangePasswordDlg::UpdateOk() {
  m_buttons->button(QDialogButtonBox::Ok)->setEnabled(CanConfirmPasswordChange(m_kind, Utf8(m_old), Utf8(m_new), Utf8(m_repeat)));
}

void CChangePasswordDlg::accept() {
  const PasswordChange change = ChangePassword(m_current, Utf8(m_old), Utf8(m_new), Utf8(m_repeat));
  if (!change.refusal) {
    ShowMessage(this, QString::fromStdString(StatusMessage(change.refusal)), StatusTitle(change.refusal, kTextPrompt),
                QMessageBox::Information);
    QLineEdit* focus = change.focus == PasswordChange::Focus::OldPassword ? m_old : m_new;
    focus->setFocus();
    focus->selectAll();
    return;
  }
  m_newBlock = change.newBlock;
  QDialog::accept();
}

}  // namespace vantorel

#pragma once
// The password prompt and the change-password dialog.

#include <QDialog>

#include <string>

#include "app/password_store.h"

class QDialogButtonBox;
class QLineEdit;

namespace vantorel {

// One masked field of at most 32 characters; OK only while it is not empty.
class CPasswordDlg : public QDialog {
  Q_OBJECT
public:
  explicit CPasswordDlg(QWidget* parent = nullptr);
  std::string Password() const;
  QLineEdit* Field() const { return m_field; }

private:
  QLineEdit* m_field;
};

// Old password, new password and its repetition. OK checks them against the current block; on
// success NewBlock() is what the caller stores (all zero: the password is removed).
class CChangePasswordDlg : public QDialog {
  Q_OBJECT
public:
  CChangePasswordDlg(PasswordKind kind, const PasswordBlock& stored, int captionCommand, QWidget* parent = nullptr);
  const PasswordBlock& NewBlock() const { return m_newBlock; }

  QLineEdit* OldField() const { return m_old; }
  QLineEdit* NewField() const { return m_new; }
  QLineEdit* RepeatField() const { return m_repeat; }
  QDialogButtonBox* Buttons() const { return m_buttons; }

  void accept() override;

private:
  void UpdateOk();

  PasswordKind m_kind;
  PasswordBlock m_current;
  PasswordBlock m_newBlock{};
  QLineEdit* m_old;
  QLineEdit* m_new;
  QLineEdit* m_repeat;
  QDialogButtonBox* m_buttons;
};

}  // namespace vantorel

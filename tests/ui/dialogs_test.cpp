#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include "ui/language_dialog.h"
#include "ui/options_dialog.h"
#include "ui/password_dialogs.h"
#include "ui_test_support.h"

namespace vantorel {
namespace {

using testing::AnswerNextMessageBox;
using testing::EditorTest;

bool OkEnabled(const CChangePasswordDlg& dialog) { return dialog.Buttons()->button(QDialogButtonBox::Ok)->isEnabled(); }

void Fill(CChangePasswordDlg& dialog, const char* oldText, const char* newText, const char* repeated) {
  dialog.OldField()->setText(QString::fromUtf8(oldText));
  dialog.NewField()->setText(QString::fromUtf8(newText));
  dialog.RepeatField()->setText(QString::fromUtf8(repeated));
}

TEST_F(EditorTest, ChangePasswordDialogMessagesAndResult) {
  const PasswordBlock admin = EncodePassword(kDefaultAdminPassword, true);
  CChangePasswordDlg dialog(PasswordKind::Administrator, admin, 32825);
  EXPECT_EQ(dialog.windowTitle(), "Change administrator password");
  EXPECT_FALSE(OkEnabled(dialog));
  Fill(dialog, "50731", "new", "");
  EXPECT_FALSE(OkEnabled(dialog));

  std::string shown;
  Fill(dialog, "50731", "new", "neW");
  EXPECT_TRUE(OkEnabled(dialog));
  AnswerNextMessageBox(&shown);
  dialog.accept();
  EXPECT_EQ(shown, "Diffenent new passwords, please reenter.");
  EXPECT_NE(dialog.result(), QDialog::Accepted);

  Fill(dialog, "50732", "new", "new");
  AnswerNextMessageBox(&shown);
  dialog.accept();
  EXPECT_EQ(shown, "The old password incorrect, please reenter.");
  EXPECT_NE(dialog.result(), QDialog::Accepted);

  // A 40-character password is cut to 32 by the fields.
  const char* longPassword = "0123456789012345678901234567890123456789";
  Fill(dialog, "50731", longPassword, longPassword);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.NewBlock()[33], 32);
  EXPECT_TRUE(CheckPassword(std::string(longPassword).substr(0, 32), dialog.NewBlock()));
}

TEST_F(EditorTest, StartupPasswordDialog) {
  // No startup password yet: the old password is the initial one; an empty new one is allowed.
  CChangePasswordDlg first(PasswordKind::Startup, PasswordBlock{}, 32918);
  Fill(first, "73085", "", "");
  EXPECT_TRUE(OkEnabled(first));
  Fill(first, "73085", "boot", "boot");
  first.accept();
  ASSERT_EQ(first.result(), QDialog::Accepted);
  EXPECT_TRUE(CheckPassword("boot", first.NewBlock()));

  CChangePasswordDlg removal(PasswordKind::Startup, first.NewBlock(), 32918);
  Fill(removal, "boot", "", "");
  removal.accept();
  ASSERT_EQ(removal.result(), QDialog::Accepted);
  EXPECT_TRUE(IsEmptyPasswordBlock(removal.NewBlock()));
}

TEST_F(EditorTest, PasswordPromptNeedsText) {
  CPasswordDlg prompt;
  QPushButton* ok = prompt.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
  EXPECT_FALSE(ok->isEnabled());
  prompt.Field()->setText("x");
  EXPECT_TRUE(ok->isEnabled());
  EXPECT_EQ(prompt.Field()->echoMode(), QLineEdit::Password);
  prompt.Field()->setText(QString(40, QLatin1Char('y')));
  EXPECT_EQ(prompt.Password().size(), 32u);
}

TEST_F(EditorTest, LanguageDialogList) {
  CSelectLangDlg dialog(ProgramFolder() / "language");
  QListWidget* list = dialog.List();
  ASSERT_GE(list->count(), 3);
  EXPECT_EQ(list->item(0)->text(), "Auto");
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(dialog.LanguageId(), 0);
  EXPECT_EQ(list->item(list->count() - 1)->text(), "English (United States)");
  list->setCurrentRow(1);
  EXPECT_EQ(dialog.LanguageId(), 1031);
}

TEST_F(EditorTest, OptionsDialogShowsAndReturnsEveryKey) {
  AppOptions options;
  options.previewShow = 0;
  options.previewTopmost = 1;
  options.previewAlign = 4;
  options.previewZoom = 3;
  options.minimizeToTray = 1;
  options.ledtoolPassword = 1;
  options.autoShutdown = 1;
  options.shutdownTime = 7 * 256 + 45;
  options.defaultTextMode = 0;
  options.defaultTextSize = 5;
  options.defaultEffect = 13;
  options.defaultClockFormat = 6;
  options.extendedAsciiName = "Latin";
  options.oneButtonSend = 1;
  options.packProgramFiles = 1;
  options.convertVideo = 1;
  options.removeFontSmooth = 1;
  options.runschBlank = 1;
  EXPECT_EQ(COptionsDlg(options).Options(), options);
  EXPECT_EQ(COptionsDlg(AppOptions{}).Options(), AppOptions{});

  COptionsDlg dialog(AppOptions{});
  EXPECT_EQ(dialog.Pages()->count(), 3);
  // A change on a page comes back.
  for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
    if (box->text() == "One-button sending") box->setChecked(true);
  }
  EXPECT_EQ(dialog.Options().oneButtonSend, 1);
}

}  // namespace
}  // namespace vantorel

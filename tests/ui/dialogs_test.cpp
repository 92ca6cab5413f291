#include <QCheckBox>
#include <QLabel>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "playbill/playbill_reader.h"
#include "playbill/playbill_transfer.h"
#include "ui/import_dialogs.h"
#include "ui/language_dialog.h"
#include "ui/main_frame.h"
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
    if (box->text() == "Minimize to the notification area") box->setChecked(true);
  }
  EXPECT_EQ(dialog.Options().minimizeToTray, 1);
}

// Options whose feature the editor lacks are shown, disabled, with the reason; whatever their
// controls show, OK hands back the stored values (also those the controls cannot show).
TEST_F(EditorTest, OptionsWithoutTheirFeatureYetAreDisabledAndKeptAsStored) {
  AppOptions stored;
  stored.previewAlign = 9;  // none of the five placements
  stored.previewZoom = 42;  // beyond x8
  stored.defaultClockFormat = 17;
  stored.oneButtonSend = 1;
  COptionsDlg dialog(stored);

  const std::string preview = "Not in use yet: takes effect once the preview window is available.";
  struct Row {
    const char* control;  // a check box, or the label of a field
    std::string waitsFor;  // the tooltip; empty: the option works and its control is enabled
  };
  const Row rows[] = {
      {"Show the preview window", preview},
      {"Keep the preview window on top", preview},
      {"Preview window placement:", preview},
      {"Preview zoom:", preview},
      {"Format of new clocks:", "Not in use yet: takes effect once clocks are drawn."},
      {"One-button sending", "Not in use yet: takes effect once sending to signs is available."},
      {"Pack program files", "Not in use yet: takes effect once controller program files are made."},
      {"Convert videos", "Not in use yet: takes effect once video conversion is available."},
      {"Remove font smoothing", ""},
      {"Minimize to the notification area", ""},
      {"New schedule periods start with their programs unticked", ""},
      {"Name of the extended ASCII font library:", ""},
      {"Effect of new items:", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.control);
    std::vector<QWidget*> controls;
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
      if (box->text() == row.control) controls.push_back(box);
    }
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
      if (label->text() == row.control) controls = {label, label->buddy()};
    }
    ASSERT_FALSE(controls.empty());
    for (const QWidget* control : controls) {
      ASSERT_TRUE(control);
      EXPECT_EQ(control->isEnabled(), row.waitsFor.empty());
      EXPECT_EQ(control->toolTip().toStdString(), row.waitsFor);
    }
  }

  // Every control changed: only the working options follow.
  for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) box->setChecked(!box->isChecked());
  for (QComboBox* combo : dialog.findChildren<QComboBox*>()) combo->setCurrentIndex(combo->count() - 1);
  for (QSpinBox* spin : dialog.findChildren<QSpinBox*>()) spin->setValue(spin->minimum());
  const AppOptions got = dialog.Options();
  EXPECT_EQ(got.minimizeToTray, 1);
  EXPECT_EQ(got.runschBlank, 1);
  EXPECT_EQ(got.defaultTextSize, 7);
  EXPECT_EQ(got.removeFontSmooth, 1);
  for (int AppOptions::*waiting : {&AppOptions::previewShow, &AppOptions::previewTopmost, &AppOptions::previewAlign,
                                   &AppOptions::previewZoom, &AppOptions::defaultClockFormat, &AppOptions::oneButtonSend,
                                   &AppOptions::packProgramFiles, &AppOptions::convertVideo}) {
    EXPECT_EQ(got.*waiting, stored.*waiting);
  }
}

TEST_F(EditorTest, ImportDialogsShowTheFileScreenAndCheckTheTargets) {
  CScreenData three;
  three.MakeDefault();
  tagScreenInfo other = three.Screen(0);
  other.number = 2;
  other.color = 1;  // another colour mode: still suits
  ASSERT_TRUE(three.Append(other, three.Comm(0)));
  other.number = 3;
  other.height = 32;  // another size: does not suit
  ASSERT_TRUE(three.Append(other, three.Comm(0)));
  ASSERT_TRUE(three.Save(DataFolder() / "screen.cfg"));
  NewApp();
  ASSERT_TRUE(Start());
  const std::filesystem::path file = m_root / "cross.lpl";
  ASSERT_TRUE(ExportPlaybill(m_app->Doc(), file));

  CImportPlaybillDlg choice;
  QPushButton* ok = choice.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
  EXPECT_FALSE(ok->isEnabled());
  choice.FileField()->setText(QString::fromStdString(file.string()));
  ASSERT_TRUE(choice.FileScreen());
  EXPECT_TRUE(ok->isEnabled());
  std::vector<std::string> shown;
  for (const QLabel* label : choice.findChildren<QLabel*>()) {
    if (!label->text().isEmpty()) shown.push_back(label->text().toStdString());
  }
  for (const char* expected : {"Korvan-M5", "Full color", "48"}) {
    EXPECT_NE(std::find(shown.begin(), shown.end(), expected), shown.end()) << expected;
  }
  choice.FileField()->setText(QString::fromStdString((m_root / "missing.lpl").string()));
  EXPECT_FALSE(ok->isEnabled());
  EXPECT_FALSE(choice.FileScreen());

  tagScreenInfo fileScreen;
  ASSERT_TRUE(ReadPlaybillScreen(file, fileScreen));
  CImportScreensDlg targets(fileScreen, m_app->Doc().Screens());
  QPushButton* targetsOk = targets.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
  EXPECT_FALSE(targetsOk->isEnabled());
  targets.List()->item(0)->setSelected(true);
  targets.List()->item(2)->setSelected(true);
  EXPECT_TRUE(targetsOk->isEnabled());
  std::string refusal;
  AnswerNextMessageBox(&refusal);
  targets.accept();
  EXPECT_EQ(refusal, LoadText(kTextImportRefused) + "\n\n 48(w) x 48(h), Full color\n");
  EXPECT_NE(targets.result(), QDialog::Accepted);
  targets.List()->item(2)->setSelected(false);
  targets.List()->item(1)->setSelected(true);
  targets.accept();
  EXPECT_EQ(targets.result(), QDialog::Accepted);
  EXPECT_EQ(targets.Chosen(), (std::vector<int>{0, 1}));
}

}  // namespace
}  // namespace vantorel

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <string>

#include "support/loopback_port.h"
#include "support/virtual_sign.h"
#include "ui/command_ids.h"
#include "ui/font_setting_dialog.h"
#include "ui_test_support.h"

namespace vantorel {
namespace {

SettingsScreen ScreenAt(std::uint16_t port) { return SettingsScreenOf(testing::LoopbackScreens({port}), 0); }

// Runs Auto detect and waits for its end.
void Detect(CSetFontlibDlg& dialog) {
  QSignalSpy finished(&dialog, &CSetFontlibDlg::detectFinished);
  dialog.AutoDetectButton()->click();
  EXPECT_FALSE(dialog.AutoDetectButton()->isEnabled());
  ASSERT_TRUE(finished.wait(15000));
  EXPECT_TRUE(dialog.AutoDetectButton()->isEnabled());
}

class FontSettingDialogTest : public testing::EditorTest {};

TEST_F(FontSettingDialogTest, TheFieldsShowTheScreenAndGiveBackWhatIsTicked) {
  SettingsScreen target = ScreenAt(test::UnusedLoopbackPort());
  target.screen.fontLib = 2;
  target.screen.ascSizeM = 0x0115;  // 8, 16, 32 dots and a bit beyond the eight sizes
  target.screen.extSizeM = 0x001C;  // 16, 24, 32
  CSetFontlibDlg dialog(target, QStringLiteral("LED screen<1>"));
  EXPECT_EQ(dialog.CharacterSet()->currentText().toStdString(), "Big 5");
  const bool ascii[] = {true, false, true, false, true, false, false, false};
  const bool extended[] = {false, false, true, true, true, false, false, false};
  for (int size = 0; size < kFontSizeCount; ++size) {
    EXPECT_EQ(dialog.AsciiSize(size)->isChecked(), ascii[size]) << size;
    EXPECT_EQ(dialog.ExtendedSize(size)->isChecked(), extended[size]) << size;
  }
  EXPECT_EQ(dialog.Settings(), (FontSettings{2, 0x0115, 0x001C}));

  dialog.CharacterSet()->setCurrentIndex(5);
  dialog.AsciiSize(0)->setChecked(false);
  dialog.AsciiSize(7)->setChecked(true);
  dialog.ExtendedSize(2)->setChecked(false);
  EXPECT_EQ(dialog.Settings(), (FontSettings{5, 0x0194, 0x0018})) << "the bit beyond the sizes is kept";
}

TEST_F(FontSettingDialogTest, AutoDetectShowsWhatTheControllerReportsOrWhyNot) {
  const test::VirtualSign sign(m_root / "sign", {"--charset", "3", "--ascii-sizes", "0x3F", "--ext-sizes", "0x0C"});
  CSetFontlibDlg dialog(ScreenAt(static_cast<std::uint16_t>(std::stoi(sign.Port()))), QStringLiteral("LED screen<1>"));
  Detect(dialog);
  EXPECT_EQ(dialog.Settings(), (FontSettings{3, 0x3F, 0x0C}));
  EXPECT_TRUE(dialog.ResultLabel()->text().startsWith(QStringLiteral("Successful"))) << dialog.ResultLabel()->text().toStdString();
  testing::SaveDocScreenshot(dialog, "font-setting-dialog.png");

  const std::uint16_t nobody = test::UnusedLoopbackPort();
  CSetFontlibDlg unreachable(ScreenAt(nobody), QStringLiteral("LED screen<1>"), nullptr, testing::AnswerTimeout(300));
  const FontSettings before = unreachable.Settings();
  Detect(unreachable);
  EXPECT_EQ(unreachable.Settings(), before) << "nothing read, nothing changed";
  EXPECT_EQ(unreachable.ResultLabel()->text().toStdString(), "Failed to connect 127.0.0.1 : " + std::to_string(nobody));
}

TEST_F(FontSettingDialogTest, OkStoresTheSettingsInTheScreenListAndCancelDoesNot) {
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  ASSERT_NE(frame.Action(kCmdFontSetting), nullptr);
  EXPECT_TRUE(frame.Menus()[5]->actions().contains(frame.Action(kCmdFontSetting))) << "in the Controller menu";
  const int index = m_app->Doc().CurrentScreenIndex();
  const tagScreenInfo before = m_app->Doc().Screens().Screen(index);

  for (const bool accept : {false, true}) {
    SCOPED_TRACE(accept ? "OK" : "Cancel");
    testing::WithNextDialog<CSetFontlibDlg>([accept](CSetFontlibDlg* dialog) {
      dialog->CharacterSet()->setCurrentIndex(2);
      dialog->ExtendedSize(7)->setChecked(!dialog->ExtendedSize(7)->isChecked());
      accept ? dialog->accept() : dialog->reject();
    });
    frame.RunCommand(kCmdFontSetting);
    CScreenData stored;
    ASSERT_TRUE(stored.Load(m_app->Folders().ScreenFile(), false).ok());
    const tagScreenInfo& now = m_app->Doc().Screens().Screen(index);
    EXPECT_EQ(now.fontLib, accept ? 2 : before.fontLib);
    EXPECT_EQ(now.extSizeM, accept ? (before.extSizeM ^ 0x80) : before.extSizeM);
    EXPECT_EQ(stored.Screen(index).fontLib, now.fontLib) << "the screen file holds what the editor shows";
    EXPECT_EQ(stored.Screen(index).extSizeM, now.extSizeM);
  }
  EXPECT_TRUE(m_prompts.messages.empty());
}

}  // namespace
}  // namespace vantorel

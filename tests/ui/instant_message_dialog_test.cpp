#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/loopback_port.h"
#include "support/temp_folder.h"
#include "support/virtual_sign.h"
#include "ui/instant_message_dialog.h"
#include "ui_test_support.h"

namespace vantorel {
namespace {

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class InstantMessageDialogTest : public ::testing::Test {
protected:
  void SetUp() override { testing::TestApplication(); }
  // Clicks Send and answers the message box it shows; the box's text.
  std::string SendAndAnswer(CBarNotifyDlg& dialog) {
    std::string shown;
    testing::AnswerNextMessageBox(&shown);
    QSignalSpy finished(&dialog, &CBarNotifyDlg::sendFinished);
    dialog.SendButton()->click();
    if (dialog.IsRunning()) {
      EXPECT_FALSE(dialog.SendButton()->isEnabled()) << "Send waits while the message goes out";
      EXPECT_TRUE(finished.wait(15000));
    } else {
      QApplication::processEvents();
    }
    return shown;
  }
  test::TempFolder m_folder;
};

TEST_F(InstantMessageDialogTest, TheMessageReachesTheSignAndTheSummaryCountsEachScreen) {
  const test::VirtualSign sign(m_folder.Path() / "sign");
  const auto port = static_cast<std::uint16_t>(std::stoi(sign.Port()));
  const std::uint16_t nobody = test::UnusedLoopbackPort();
  CBarNotifyDlg dialog(testing::LoopbackScreens({port, nobody}), nullptr, testing::AnswerTimeout(2000));
  dialog.Screens()->topLevelItem(1)->setCheckState(0, Qt::Checked);
  dialog.Content()->setPlainText(QStringLiteral("Pharmacy open"));
  dialog.Loops()->setValue(2);
  dialog.Size()->setCurrentIndex(3);  // 24 dots
  dialog.Bold()->setChecked(true);
  dialog.Underline()->setChecked(true);
  dialog.Speed()->setValue(70);
  dialog.Stay()->setValue(5);
  dialog.SetColour(0x00FF00);  // green

  EXPECT_EQ(SendAndAnswer(dialog), "Send instant message to 2 screen(s), 1 successful, 1 failed.");
  EXPECT_EQ(dialog.Screens()->topLevelItem(0)->text(1).toStdString(), "Successful");
  EXPECT_EQ(dialog.Screens()->topLevelItem(1)->text(1).toStdString(), "Failed to connect 127.0.0.1 : " + std::to_string(nobody));
  EXPECT_TRUE(dialog.SendButton()->isEnabled());

  const std::vector<std::uint8_t> block = FileBytes(m_folder.Path() / "sign" / "messages" / "000001.msg");
  ASSERT_EQ(block.size(), 22u + 13u);
  const struct {
    std::size_t offset;
    std::uint8_t value;
  } expected[] = {{0, 119}, {3, 2}, {8, 0}, {9, 64}, {10, 0}, {11, 32}, {12, 3 | 0x10 | 0x40},
                  {16, 0x07}, {17, 0xE0}, {18, 30}, {19, 5}, {20, 0}, {21, 13}};
  for (const auto& byte : expected) EXPECT_EQ(block[byte.offset], byte.value) << "byte " << byte.offset;
  EXPECT_EQ(std::string(block.begin() + 22, block.end()), "Pharmacy open");
  testing::SaveDocScreenshot(dialog, "instant-message-dialog.png");
}

TEST_F(InstantMessageDialogTest, AMessageThatCannotGoIsRefusedBeforeAnyScreenIsAsked) {
  const struct {
    const char* name;
    QString text;
    bool ticked;
    std::string shown;
  } cases[] = {
      {"empty", QString(), true, "Type the message to send first."},
      {"too long", QString(6123, QLatin1Char('x')), true, "The message takes 6123 bytes; a sign takes at most 6122."},
      {"no screen", QStringLiteral("Open"), false, "No any LED screen is selected!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CBarNotifyDlg dialog(testing::LoopbackScreens({test::UnusedLoopbackPort()}));
    dialog.Content()->setPlainText(c.text);
    if (!c.ticked) dialog.Screens()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(SendAndAnswer(dialog), c.shown);
    EXPECT_FALSE(dialog.IsRunning());
    EXPECT_EQ(dialog.Screens()->topLevelItem(0)->text(1), QString());
  }
}

TEST_F(InstantMessageDialogTest, TheLongestTextThatFitsIsTaken) {
  CBarNotifyDlg dialog(testing::LoopbackScreens({test::UnusedLoopbackPort()}), nullptr, testing::AnswerTimeout(300));
  dialog.Content()->setPlainText(QString(6122, QLatin1Char('x')));
  const std::string summary = SendAndAnswer(dialog);
  EXPECT_EQ(summary, "Send instant message to 1 screen(s), 0 successful, 1 failed.");
  EXPECT_TRUE(dialog.Screens()->topLevelItem(0)->text(1).startsWith(QStringLiteral("Failed to connect")));
}

}  // namespace
}  // namespace vantorel

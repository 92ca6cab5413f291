#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/loopback_port.h"
#include "ui/board_time_dialog.h"
#include "ui/command_ids.h"
#include "ui_test_support.h"

namespace vantorel {
namespace {

// Screens on the network at ports of 127.0.0.1 where no sign answers.
CScreenData UnreachableScreens(int count, std::vector<std::uint16_t>& ports) {
  for (int i = 0; i < count; ++i) ports.push_back(test::UnusedLoopbackPort());
  return testing::LoopbackScreens(ports);
}

TEST(BoardTimeDialog, EachTickedScreenShowsItsResultWhileTheWindowStaysResponsive) {
  testing::TestApplication();
  std::vector<std::uint16_t> ports;
  ChannelOptions options;
  options.timeoutMs = 300;
  CSetBoardTimeDlg dialog(UnreachableScreens(3, ports), nullptr, options);
  dialog.show();
  QTreeWidget* screens = dialog.Screens();
  ASSERT_EQ(screens->topLevelItemCount(), 3);
  EXPECT_EQ(screens->topLevelItem(0)->checkState(0), Qt::Checked);
  EXPECT_EQ(screens->topLevelItem(1)->checkState(0), Qt::Unchecked);
  screens->topLevelItem(2)->setCheckState(0, Qt::Checked);

  struct Row {
    const char* name;
    QPushButton* button;
  };
  const Row rows[] = {{"read version", dialog.ReadVersionButton()},
                      {"read clock", dialog.ReadClockButton()},
                      {"set clock", dialog.SetClockButton()},
                      {"set adjustment", dialog.SetAdjustButton()},
                      {"read temperature", dialog.ReadTemperatureButton()}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    QSignalSpy finished(&dialog, &CSetBoardTimeDlg::operationFinished);
    row.button->click();
    // The operation runs on a worker: the buttons wait, the window keeps handling events.
    EXPECT_TRUE(dialog.IsRunning());
    EXPECT_FALSE(row.button->isEnabled());
    QApplication::processEvents();
    ASSERT_TRUE(finished.count() > 0 || finished.wait(10000));
    EXPECT_TRUE(row.button->isEnabled());
    EXPECT_EQ(screens->topLevelItem(0)->text(1).toStdString(), "Failed to connect 127.0.0.1 : " + std::to_string(ports[0]));
    EXPECT_EQ(screens->topLevelItem(1)->text(1).toStdString(), "");
    EXPECT_EQ(screens->topLevelItem(2)->text(1).toStdString(), "Failed to connect 127.0.0.1 : " + std::to_string(ports[2]));
  }
  EXPECT_TRUE(dialog.ResultsText().contains(QStringLiteral("\tFailed to connect 127.0.0.1 : ")));
  testing::SaveDocScreenshot(dialog, "time-temperature-dialog.png");
}

TEST(BoardTimeDialog, NoTickedScreenSaysSoAndRunsNothing) {
  testing::TestApplication();
  std::vector<std::uint16_t> ports;
  CSetBoardTimeDlg dialog(UnreachableScreens(2, ports));
  dialog.Screens()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
  std::string shown;
  testing::AnswerNextMessageBox(&shown);
  dialog.ReadClockButton()->click();
  EXPECT_EQ(shown, "No any LED screen is selected!");
  EXPECT_FALSE(dialog.IsRunning());
  EXPECT_TRUE(dialog.ReadClockButton()->isEnabled());
}

class ControllerMenuTest : public testing::EditorTest {};

TEST_F(ControllerMenuTest, TheControllerMenuOpensTimeAndTemperatureOnTheScreensOfTheEditor) {
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  QAction* command = frame.Action(kCmdBoardTime);
  ASSERT_NE(command, nullptr);
  EXPECT_TRUE(frame.Menus()[5]->actions().contains(command)) << "in the Controller menu";
  EXPECT_TRUE(command->isEnabled());
  int rows = -1;
  testing::WithNextDialog<CSetBoardTimeDlg>([&rows](CSetBoardTimeDlg* dialog) {
    rows = dialog->Screens()->topLevelItemCount();
    dialog->reject();
  });
  frame.RunCommand(kCmdBoardTime);
  EXPECT_EQ(rows, m_app->Doc().Screens().Count());
}

}  // namespace
}  // namespace vantorel

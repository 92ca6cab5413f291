#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QSpinBox>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comm/serial_port_table.h"
#include "support/temp_folder.h"
#include "support/virtual_sign.h"
#include "ui/board_time_dialog.h"
#include "ui/command_ids.h"
#include "ui_test_support.h"

namespace vantorel {
namespace {

using testing::UnreachableScreens;

TEST(BoardTimeDialog, EachTickedScreenShowsItsResultWhileTheWindowStaysResponsive) {
  testing::TestApplication();
  std::vector<std::uint16_t> ports;
  CSetBoardTimeDlg dialog(UnreachableScreens(3, ports), nullptr, testing::AnswerTimeout(300));
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

// One sign on the network, one on a serial line (its pseudo-terminal as port 1): the clock and
// the temperature adjustment are set and read back through the dialog's buttons.
TEST(BoardTimeDialog, SetsAndReadsTheClockOfSignsOnTheNetworkAndOnASerialLine) {
  testing::TestApplication();
  const test::TempFolder folder;
  const test::VirtualSign network(folder.Path() / "network");
  const test::VirtualSign serial(folder.Path() / "serial", {"--id", "2"});
  SetSerialDevicePath(0, serial.Serial());
  CScreenData screens = testing::LoopbackScreens({static_cast<std::uint16_t>(std::stoi(network.Port())), 0});
  screens.Comm(1).commType = 0;
  screens.Comm(1).portIndex = 0;
  screens.Comm(1).baudRate = 115200;
  CSetBoardTimeDlg dialog(screens, nullptr, testing::AnswerTimeout(3000));
  dialog.Screens()->topLevelItem(1)->setCheckState(0, Qt::Checked);
  const auto press = [&dialog](QPushButton* button) {
    QSignalSpy finished(&dialog, &CSetBoardTimeDlg::operationFinished);
    button->click();
    EXPECT_TRUE(finished.wait(15000));
    return std::vector<std::string>{dialog.Screens()->topLevelItem(0)->text(1).toStdString(),
                                    dialog.Screens()->topLevelItem(1)->text(1).toStdString()};
  };

  dialog.ComputerTime()->setChecked(false);
  dialog.Moment()->setDateTime(QDateTime(QDate(2027, 3, 4), QTime(5, 6, 7)));
  EXPECT_EQ(press(dialog.SetClockButton()), (std::vector<std::string>{"Successful", "Successful"}));
  for (const std::string& shown : press(dialog.ReadClockButton())) {
    EXPECT_TRUE(shown.starts_with("Successful 2027-03-04 05:06:")) << shown;
    EXPECT_TRUE(shown.ends_with(" (1.2.0.0-1.0.0.0-1.5.0.0)")) << shown;
  }
  dialog.Adjustment()->setValue(-3);
  EXPECT_EQ(press(dialog.SetAdjustButton()), (std::vector<std::string>{"Successful", "Successful"}));
  // The sensor reads 25.5 degrees; the sign shows it adjusted.
  const std::string adjusted = "Successful 22.5C ( 72.5F ) [ -3C ]";
  EXPECT_EQ(press(dialog.ReadTemperatureButton()), (std::vector<std::string>{adjusted, adjusted}));
  SetSerialDevicePath(0, {});
}

class ControllerMenuTest : public testing::EditorTest {};

TEST_F(ControllerMenuTest, TheControllerMenuOpensEachDialogOnTheScreensOfTheEditor) {
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  struct Row {
    int command;
    const char* dialog;
  };
  const Row rows[] = {{kCmdBoardTime, "vantorel::CSetBoardTimeDlg"}, {kCmdAutoTask, "vantorel::CAsynAutoDlg"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.dialog);
    QAction* command = frame.Action(row.command);
    ASSERT_NE(command, nullptr);
    EXPECT_TRUE(frame.Menus()[5]->actions().contains(command)) << "in the Controller menu";
    EXPECT_TRUE(command->isEnabled());
    std::string opened;
    int screens = -1;
    testing::WithNextDialog<QDialog>([&opened, &screens](QDialog* dialog) {
      opened = dialog->metaObject()->className();
      screens = dialog->findChild<QTreeWidget*>()->topLevelItemCount();
      dialog->reject();
    });
    frame.RunCommand(row.command);
    EXPECT_EQ(opened, row.dialog);
    EXPECT_EQ(screens, m_app->Doc().Screens().Count());
  }
}

}  // namespace
}  // namespace vantorel

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <utility>

#include "screen/colour_modes.h"
#include "screen/comm_types.h"
#include "screen/controller_types.h"
#include "screen/screen_list_edit.h"
#include "support/test_files.h"
#include "ui/comm_setting_dialog.h"
#include "ui/command_ids.h"
#include "ui_test_support.h"

namespace vantorel {
namespace {

using PortAndBaud = std::pair<int, int>;  // port index (0 = COM1), baud rate

// Hall on COM3 at 9600, Gate on the network, Door on COM2 at 38400.
CScreenData ThreeScreens() {
  CScreenData list;
  const auto add = [&list](const char* name, std::uint8_t commType, std::uint8_t port, int baud) {
    tagScreenInfo screen;
    screen.model = kModelM5;
    screen.type = ControllerClassOf(kModelM5);
    screen.color = kColourFull;
    screen.number = static_cast<std::uint8_t>(list.Count() + 1);
    screen.width = 64;
    screen.height = 32;
    screen.scrName = name;
    tagCommInfo comm;
    comm.commType = commType;
    comm.portIndex = port;
    comm.baudRate = baud;
    EXPECT_TRUE(list.Append(screen, comm));
  };
  add("Hall", kCommSerial, 2, 9600);
  add("Gate", kCommNetwork, 0, 115200);
  add("Door", kCommSerial, 1, 38400);
  return list;
}

std::array<PortAndBaud, 3> SerialSettingsOf(const CScreenData& list) {
  std::array<PortAndBaud, 3> settings{};
  for (int index = 0; index < 3; ++index) settings[static_cast<std::size_t>(index)] = {list.Comm(index).portIndex, list.Comm(index).baudRate};
  return settings;
}

// Shows port index `port` and baud rate `baud` in the dialog, as choosing them does.
void Choose(CAsynCommDlg& dialog, int port, int baud) {
  dialog.PortChooser()->setCurrentIndex(dialog.PortChooser()->findData(port));
  dialog.BaudChooser()->setCurrentIndex(dialog.BaudChooser()->findData(baud));
}

TEST(CommSettingDialog, ChoosingAScreenShowsItsPortDeviceAndBaudRate) {
  testing::TestApplication();
  const CScreenData screens = ThreeScreens();
  CAsynCommDlg dialog(screens, 1, CSerialPortTable());
  EXPECT_EQ(dialog.windowTitle().toStdString(), "Communication setting");
  EXPECT_EQ(dialog.AllScreensBox()->text().toStdString(), "Set for all screens");
  EXPECT_FALSE(dialog.AllScreensBox()->isChecked());
  ASSERT_EQ(dialog.ScreenChooser()->count(), 3);
  EXPECT_EQ(dialog.PortChooser()->count(), kSerialPortCount);
  struct Row {
    int screen;
    const char* port;
    const char* device;
    const char* baud;
  };
  const Row rows[] = {{1, "COM1", "Device /dev/ttyS0", "115200"},
                      {0, "COM3", "Device /dev/ttyS2", "9600"},
                      {2, "COM2", "Device /dev/ttyS1", "38400"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.screen);
    dialog.ScreenChooser()->setCurrentIndex(row.screen);
    EXPECT_EQ(dialog.ScreenChooser()->currentText().toStdString(), screens.DisplayName(row.screen));
    EXPECT_EQ(dialog.PortChooser()->currentText().toStdString(), row.port);
    EXPECT_EQ(dialog.DeviceLabel()->text().toStdString(), row.device);
    EXPECT_EQ(dialog.BaudChooser()->currentText().toStdString(), row.baud);
  }
  testing::SaveDocScreenshot(dialog, "comm-setting-dialog.png");
  dialog.PortChooser()->setCurrentIndex(dialog.PortChooser()->findData(7));
  EXPECT_EQ(dialog.DeviceLabel()->text().toStdString(), "Device /dev/ttyS7") << "the device follows the port chosen";

  // A baud rate outside the choices is shown as it is, and goes when another screen is chosen.
  CScreenData odd = screens;
  odd.Comm(0).baudRate = 1200;
  CAsynCommDlg shown(odd, 0, CSerialPortTable());
  EXPECT_EQ(shown.BaudChooser()->currentData().toInt(), 1200);
  shown.ScreenChooser()->setCurrentIndex(2);
  EXPECT_EQ(shown.BaudChooser()->findData(1200), -1);
}

TEST(CommSettingDialog, OkWritesTheChosenScreenOrEverySerialScreen) {
  testing::TestApplication();
  const CScreenData screens = ThreeScreens();
  const PortAndBaud hall{2, 9600}, gate{0, 115200}, door{1, 38400}, chosen{4, 19200};
  struct Row {
    const char* name;
    int screen;
    bool all;
    PortAndBaud shown;
    std::array<PortAndBaud, 3> expected;
  };
  const Row rows[] = {
      {"the chosen screen alone", 0, false, chosen, {chosen, gate, door}},
      {"every serial screen", 0, true, chosen, {chosen, gate, chosen}},
      {"a network screen chosen alone", 1, false, chosen, {hall, chosen, door}},
      {"a network screen chosen, with every serial screen", 1, true, chosen, {chosen, chosen, chosen}},
      {"the values the screen has", 2, false, door, {hall, gate, door}},
      {"the values of one screen for every serial screen", 2, true, door, {door, gate, door}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CAsynCommDlg dialog(screens, row.screen, CSerialPortTable());
    Choose(dialog, row.shown.first, row.shown.second);
    dialog.AllScreensBox()->setChecked(row.all);
    CScreenListEdit edit(screens);
    EXPECT_EQ(dialog.ApplyTo(edit), row.expected != SerialSettingsOf(screens)) << "changed";
    EXPECT_EQ(SerialSettingsOf(edit.List()), row.expected);
    for (int index = 0; index < 3; ++index) {
      EXPECT_EQ(edit.List().Comm(index).commType, screens.Comm(index).commType) << "nothing else changes";
      EXPECT_EQ(edit.List().Comm(index).ipPort, screens.Comm(index).ipPort);
    }
  }
}

class CommSettingCommandTest : public testing::EditorTest {
protected:
  CMainFrame& StartOn(CScreenData list) {
    EXPECT_TRUE(list.Save(ScreenFile()).ok());
    NewApp();
    EXPECT_TRUE(Start());
    return *m_app->MainFrame();
  }
  std::filesystem::path ScreenFile() const { return DataFolder() / "screen.cfg"; }
  // Runs the command; the dialog chooses COM5 at 19200 for every serial screen and closes with OK
  // or Cancel.
  void RunDialog(CMainFrame& frame, bool accept) {
    bool ran = false;
    testing::WithNextDialog<CAsynCommDlg>([accept, &ran](CAsynCommDlg* dialog) {
      ran = true;
      Choose(*dialog, 4, 19200);
      dialog->AllScreensBox()->setChecked(true);
      accept ? dialog->accept() : dialog->reject();
    });
    frame.RunCommand(kCmdCommSetting);
    EXPECT_TRUE(ran);
  }
};

TEST_F(CommSettingCommandTest, InTheControllerMenuOkStoresTheListCancelDoesNot) {
  CMainFrame& frame = StartOn(ThreeScreens());
  QAction* action = frame.Action(kCmdCommSetting);
  ASSERT_NE(action, nullptr);
  EXPECT_TRUE(frame.Menus()[5]->actions().contains(action)) << "in the Controller menu";
  EXPECT_EQ(action->text().toStdString(), "Communication setting");
  EXPECT_EQ(action->statusTip().toStdString(), "Set the serial port and baud rate of screens");
  EXPECT_TRUE(action->isEnabled());
  const std::array<PortAndBaud, 3> before = SerialSettingsOf(m_app->Doc().Screens());
  const std::string file = test::ReadText(ScreenFile());

  RunDialog(frame, false);
  EXPECT_EQ(SerialSettingsOf(m_app->Doc().Screens()), before);
  EXPECT_EQ(test::ReadText(ScreenFile()), file) << "Cancel stores nothing";

  RunDialog(frame, true);
  const std::array<PortAndBaud, 3> after{PortAndBaud{4, 19200}, before[1], PortAndBaud{4, 19200}};
  EXPECT_EQ(SerialSettingsOf(m_app->Doc().Screens()), after);
  CScreenData stored;
  ASSERT_TRUE(stored.Load(ScreenFile(), false).ok());
  EXPECT_EQ(SerialSettingsOf(stored), after) << "the screen file holds what the editor shows";
  EXPECT_EQ(frame.ScreenChooser()->count(), 3);
  EXPECT_TRUE(m_prompts.messages.empty());
}

TEST_F(CommSettingCommandTest, AListThatCannotBeStoredIsShownWithItsCauseAndKept) {
  CMainFrame& frame = StartOn(ThreeScreens());
  const std::array<PortAndBaud, 3> before = SerialSettingsOf(m_app->Doc().Screens());
  // A folder in the screen file's place: the new list cannot take its place.
  std::filesystem::remove(ScreenFile());
  std::filesystem::create_directories(ScreenFile() / "kept");

  RunDialog(frame, true);
  ASSERT_EQ(m_prompts.messages.size(), 1u);
  EXPECT_NE(m_prompts.messages[0].text.find(ScreenFile().string()), std::string::npos) << m_prompts.messages[0].text;
  EXPECT_EQ(SerialSettingsOf(m_app->Doc().Screens()), before) << "the editor keeps the list it had";
  EXPECT_TRUE(std::filesystem::is_directory(ScreenFile() / "kept"));
}

}  // namespace
}  // namespace vantorel

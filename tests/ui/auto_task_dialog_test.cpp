#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTimeEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "support/virtual_sign.h"
#include "ui/auto_task_dialog.h"
#include "ui/bright_cell.h"
#include "ui/hour_brightness_dialog.h"
#include "ui_test_support.h"

namespace vantorel {
namespace {

using Fields = std::array<int, kBrightnessHours>;

struct HourValues {
  std::size_t first;
  std::size_t end;
  int field;
};

// 31 for every hour but those of `changed`.
Fields FieldsWith(std::initializer_list<HourValues> changed) {
  Fields fields{};
  fields.fill(31);
  for (const HourValues& hours : changed) {
    for (std::size_t hour = hours.first; hour < hours.end; ++hour) fields[hour] = hours.field;
  }
  return fields;
}

// What the seven cells show: their numbers and their slider positions.
void ExpectCells(const CAsynAutoDlg& dialog, const std::array<const char*, kBrightnessCells>& numbers,
                 const std::array<int, kBrightnessCells>& sliders) {
  for (std::size_t cell = 0; cell < kBrightnessCells; ++cell) {
    SCOPED_TRACE("cell " + std::to_string(cell));
    EXPECT_EQ(dialog.Cell(cell)->Number()->text().toStdString(), numbers[cell]);
    EXPECT_EQ(dialog.Cell(cell)->Slider()->value(), sliders[cell]);
  }
}

// Clicks the number of `cell` and, in the hours dialog, sets `hour` to `field` and presses OK or Cancel.
void EditHour(CAsynAutoDlg& dialog, std::size_t cell, std::size_t hour, int field, bool ok) {
  testing::WithNextDialog<CHourBrightnessDlg>([hour, field, ok](CHourBrightnessDlg* hours) {
    hours->Hour(hour)->setValue(field);
    if (ok) {
      hours->accept();
    } else {
      hours->reject();
    }
  });
  dialog.Cell(cell)->Number()->click();
}

// Clicks `button` and waits until its operation is done, answering the message box it shows
// (its text in `shown`) when `shown` is given.
void RunButton(CAsynAutoDlg& dialog, QPushButton* button, std::string* shown = nullptr) {
  QSignalSpy finished(&dialog, &CAsynAutoDlg::operationFinished);
  if (shown != nullptr) testing::AnswerNextMessageBox(shown);
  button->click();
  // The operation runs on a worker: the buttons wait, the window keeps handling events.
  EXPECT_TRUE(dialog.IsRunning());
  EXPECT_FALSE(dialog.ReadButton()->isEnabled());
  EXPECT_FALSE(dialog.SetButton()->isEnabled());
  EXPECT_FALSE(dialog.SetSelectedButton()->isEnabled());
  ASSERT_TRUE(finished.count() > 0 || finished.wait(10000));
  EXPECT_TRUE(button->isEnabled());
}

TEST(AutoTaskDialog, SlidersAndTheHoursDialogEditTheHourlyBrightness) {
  testing::TestApplication();
  std::vector<std::uint16_t> ports;
  struct Row {
    const char* name;
    std::function<void(CAsynAutoDlg&)> edit;
    Fields fields;
    std::array<const char*, kBrightnessCells> numbers;
    std::array<int, kBrightnessCells> sliders;
  };
  const Row rows[] = {
      {"as it opens", [](CAsynAutoDlg&) {}, FieldsWith({}),
       {"31", "31", "31", "31", "31", "31", "31"}, {0, 0, 0, 0, 0, 0, 0}},
      {"slider of 4 - 8 to 10", [](CAsynAutoDlg& d) { d.Cell(1)->Slider()->setValue(21); }, FieldsWith({{4, 8, 10}}),
       {"31", "10", "31", "31", "31", "31", "*"}, {0, 21, 0, 0, 0, 0, 0}},
      {"slider of 20 - 24 to automatic", [](CAsynAutoDlg& d) { d.Cell(5)->Slider()->setValue(32); },
       FieldsWith({{20, 24, -1}}), {"31", "31", "31", "31", "31", "-1", "*"}, {0, 0, 0, 0, 0, 32, 0}},
      {"ALL after a group",
       [](CAsynAutoDlg& d) {
         d.Cell(1)->Slider()->setValue(21);
         d.Cell(kAllHoursCell)->Slider()->setValue(32);
       },
       FieldsWith({{0, 24, -1}}), {"-1", "-1", "-1", "-1", "-1", "-1", "-1"}, {32, 32, 32, 32, 32, 32, 32}},
      {"hour 9 automatic, OK", [](CAsynAutoDlg& d) { EditHour(d, 2, 9, -1, true); }, FieldsWith({{9, 10, -1}}),
       {"31", "31", "*", "31", "31", "31", "*"}, {0, 0, 0, 0, 0, 0, 0}},
      {"hour 8 to 0, OK: the group slider at its first hour", [](CAsynAutoDlg& d) { EditHour(d, 2, 8, 0, true); },
       FieldsWith({{8, 9, 0}}), {"31", "31", "*", "31", "31", "31", "*"}, {0, 0, 31, 0, 0, 0, 0}},
      {"every hour of 12 - 16 by hand",
       [](CAsynAutoDlg& d) {
         for (std::size_t hour = 12; hour < 16; ++hour) EditHour(d, 3, hour, 7, true);
       },
       FieldsWith({{12, 16, 7}}), {"31", "31", "31", "7", "31", "31", "*"}, {0, 0, 0, 24, 0, 0, 0}},
      {"Cancel keeps the hours", [](CAsynAutoDlg& d) { EditHour(d, 0, 1, 5, false); }, FieldsWith({}),
       {"31", "31", "31", "31", "31", "31", "31"}, {0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CAsynAutoDlg dialog(testing::UnreachableScreens(1, ports));
    row.edit(dialog);
    EXPECT_EQ(dialog.Fields(), row.fields);
    ExpectCells(dialog, row.numbers, row.sliders);
  }
}

TEST(AutoTaskDialog, TheHoursDialogShowsAutomaticAsAutoAndStartsAtTheCellsFirstHour) {
  testing::TestApplication();
  CHourBrightnessDlg hours(FieldsWith({{4, 8, -1}}), 4);
  hours.show();
  QApplication::processEvents();
  EXPECT_EQ(hours.Hour(4)->text().toStdString(), "Auto");
  EXPECT_EQ(hours.Hour(3)->text().toStdString(), "31");
  EXPECT_EQ(QApplication::focusWidget(), hours.Hour(4));
}

TEST(AutoTaskDialog, WithoutAChosenScreenReadAndSetSaySoAndRunNothing) {
  testing::TestApplication();
  std::vector<std::uint16_t> ports;
  CAsynAutoDlg dialog(testing::UnreachableScreens(2, ports));
  dialog.Screens()->setCurrentItem(nullptr);
  for (QPushButton* button : {dialog.SetButton(), dialog.ReadButton()}) {
    SCOPED_TRACE(button->text().toStdString());
    std::string shown;
    testing::AnswerNextMessageBox(&shown);
    button->click();
    EXPECT_EQ(shown, "No any LED screen is selected!");
    EXPECT_FALSE(dialog.IsRunning());
  }
}

TEST(AutoTaskDialog, EachButtonShowsTheResultOfItsScreensWhileTheWindowStaysResponsive) {
  testing::TestApplication();
  const ChannelOptions options = testing::AnswerTimeout(300);
  struct Row {
    const char* name;
    QPushButton* (CAsynAutoDlg::*button)() const;
    std::array<bool, 3> failedRows;
    const char* message;  // the message box it shows, or nothing
  };
  const Row rows[] = {
      {"read from screen", &CAsynAutoDlg::ReadButton, {false, true, false}, nullptr},
      {"set to screen", &CAsynAutoDlg::SetButton, {false, true, false}, "Failed"},
      {"set to selected", &CAsynAutoDlg::SetSelectedButton, {true, false, true}, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::uint16_t> ports;
    CAsynAutoDlg dialog(testing::UnreachableScreens(3, ports), nullptr, options);
    dialog.show();
    QTreeWidget* screens = dialog.Screens();
    screens->topLevelItem(2)->setCheckState(0, Qt::Checked);  // ticked: 1 and 3
    screens->setCurrentItem(screens->topLevelItem(1));         // chosen: 2
    const Fields before = dialog.Fields();
    std::string shown;
    RunButton(dialog, (dialog.*row.button)(), row.message != nullptr ? &shown : nullptr);
    if (row.message != nullptr) {
      EXPECT_EQ(shown, row.message);
    }
    for (int screen = 0; screen < 3; ++screen) {
      const std::string expected = row.failedRows[screen] ? "Failed to connect 127.0.0.1 : " + std::to_string(ports[screen]) : "";
      EXPECT_EQ(screens->topLevelItem(screen)->text(1).toStdString(), expected) << "screen " << screen + 1;
    }
    EXPECT_EQ(dialog.Fields(), before) << "a failed read keeps the widgets";
  }
}

TEST(AutoTaskDialog, SetToScreenAndReadFromScreenRoundTripWithTheVirtualSign) {
  testing::TestApplication();
  test::TempFolder folder;
  test::VirtualSign sign(folder / "sign");
  CAsynAutoDlg dialog(testing::LoopbackScreens({static_cast<std::uint16_t>(std::stoi(sign.Port()))}));
  dialog.show();

  dialog.EnableBox()->setChecked(true);
  dialog.OnTime()->setTime(QTime(7, 30));
  dialog.OffTime()->setTime(QTime(22, 15));
  dialog.Cell(0)->Slider()->setValue(26);  // 0 - 4: 5
  dialog.Cell(3)->Slider()->setValue(32);  // 12 - 16: automatic
  EditHour(dialog, 5, 23, 0, true);
  const Fields written = FieldsWith({{0, 4, 5}, {12, 16, -1}, {23, 24, 0}});
  ASSERT_EQ(dialog.Fields(), written);
  std::string shown;
  RunButton(dialog, dialog.SetButton(), &shown);
  EXPECT_EQ(shown, "Successful");
  EXPECT_EQ(dialog.Screens()->topLevelItem(0)->text(1).toStdString(), "Successful");

  // Other values in the widgets, then the sign's back.
  dialog.EnableBox()->setChecked(false);
  dialog.OnTime()->setTime(QTime(1, 0));
  dialog.Cell(kAllHoursCell)->Slider()->setValue(10);
  RunButton(dialog, dialog.ReadButton(), &shown);
  EXPECT_EQ(shown, "Version information:\nBIOS:\t1.2.0.0\nLOGIC:\t1.0.0.0\nAPP:\t1.5.0.0");
  EXPECT_TRUE(dialog.EnableBox()->isChecked());
  EXPECT_TRUE(dialog.OnTime()->isEnabled());
  EXPECT_EQ(dialog.OnTime()->time(), QTime(7, 30));
  EXPECT_EQ(dialog.OffTime()->time(), QTime(22, 15));
  EXPECT_EQ(dialog.Fields(), written);
  ExpectCells(dialog, {"5", "31", "31", "-1", "31", "*", "*"}, {26, 0, 0, 32, 0, 0, 26});
  testing::SaveDocScreenshot(dialog, "auto-task-dialog.png");

  dialog.EnableBox()->setChecked(false);
  RunButton(dialog, dialog.SetButton(), &shown);
  EXPECT_EQ(shown, "Successful");
  dialog.EnableBox()->setChecked(true);
  RunButton(dialog, dialog.ReadButton(), &shown);
  EXPECT_FALSE(dialog.EnableBox()->isChecked()) << "written as 0xFF 0xFF 0xFF 0xFF";
  EXPECT_FALSE(dialog.OnTime()->isEnabled());
  EXPECT_EQ(dialog.Fields(), written);
}

}  // namespace
}  // namespace vantorel

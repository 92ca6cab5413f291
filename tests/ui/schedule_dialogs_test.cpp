// The schedule editor and the period editor, driven as a user drives them: periods added, edited and
// deleted, the OK button's rules and messages, the option "Runsch Blank", and the week grid.

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QTreeWidget>

#include <functional>
#include <string>
#include <vector>

#include "app/options.h"
#include "playbill/item_builder.h"
#include "playbill/prg_list.h"
#include "support/test_files.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/period_dialog.h"
#include "ui/schedule_dialog.h"
#include "ui/ui_text.h"
#include "ui/week_grid.h"
#include "ui_test_support.h"

namespace vantorel {
namespace {

using testing::EditorTest;
using testing::WithNextDialog;

const CivilDay kToday{2026, 6, 15};

void Press(QDialog* dialog, QDialogButtonBox::StandardButton which) {
  dialog->findChild<QDialogButtonBox*>()->button(which)->click();
}

void SetDate(const DateFields& fields, int year, int month, int day) {
  fields.year->setValue(year);
  fields.month->setValue(month);
  fields.day->setValue(day);
}

// Ticks the days of `mask` (bit 0 Sunday) and no others, as a user clicks the boxes.
void TickDays(const CPeriodDlg& editor, std::uint8_t mask) {
  for (int day = 0; day < 7; ++day) {
    if (editor.Weekday(day)->isChecked() != ((mask & (1u << day)) != 0)) editor.Weekday(day)->click();
  }
}

std::vector<Qt::CheckState> ProgramTicks(const CPeriodDlg& editor) {
  std::vector<Qt::CheckState> ticks;
  for (int row = 0; row < editor.Programs()->count(); ++row) ticks.push_back(editor.Programs()->item(row)->checkState());
  return ticks;
}

std::vector<std::string> RowTexts(const QTreeWidget& list) {
  std::vector<std::string> rows;
  for (int row = 0; row < list.topLevelItemCount(); ++row) {
    std::string text;
    for (int column = 0; column < list.columnCount(); ++column) {
      text += (column ? "|" : "") + list.topLevelItem(row)->text(column).toStdString();
    }
    rows.push_back(text);
  }
  return rows;
}

// The caption and text of the next message box, answered with OK.
void AnswerNextBox(std::string* caption, std::string* text) {
  WithNextDialog<QMessageBox>([caption, text](QMessageBox* box) {
    *caption = box->windowTitle().toStdString();
    *text = box->text().toStdString();
    box->accept();
  });
}

// A Monday-to-Friday, 08:00-18:00 period of program 1 alone, entered in the period editor.
void EnterWorkingHours(CPeriodDlg* editor) {
  editor->TypeField()->setValue(3);
  SetDate(editor->StartDate(), 2030, 1, 1);
  SetDate(editor->EndDate(), 2031, 6, 30);
  editor->StartTime()->setTime(QTime(8, 0));
  editor->EndTime()->setTime(QTime(18, 0));
  TickDays(*editor, 0x3E);
  editor->ModeOn()->click();
  for (QPushButton* button : editor->findChildren<QPushButton*>()) {
    if (button->text() == Text(kTextUnselectAll)) button->click();
  }
  editor->Programs()->item(0)->setCheckState(Qt::Checked);
  ASSERT_TRUE(editor->OkButton()->isEnabled()) << editor->Message()->text().toStdString();
  editor->OkButton()->click();
}

TEST_F(EditorTest, APeriodAddedInTheEditorIsSavedAndSent) {
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  CPrgListDoc& doc = m_app->Doc();
  ASSERT_TRUE(frame.Action(kCmdEditSchedule)->isEnabled());
  EXPECT_TRUE(frame.Menus()[1]->actions().contains(frame.Action(kCmdEditSchedule))) << "in the Edit menu";
  const int programs = doc.Selection().programCount;
  ASSERT_GE(programs, 1);
  const std::string flags = "1" + std::string(static_cast<std::size_t>(programs - 1), '0');

  std::vector<std::string> rows;
  WithNextDialog<CScheduleDlg>([&rows](CScheduleDlg* schedule) {
    EXPECT_EQ(schedule->List()->topLevelItemCount(), 0);
    EXPECT_FALSE(schedule->EditButton()->isEnabled());
    EXPECT_FALSE(schedule->DeleteButton()->isEnabled());
    // Two periods added; the second is deleted again and the first edited.
    for (int period = 0; period < 2; ++period) {
      WithNextDialog<CPeriodDlg>(EnterWorkingHours);
      schedule->AddButton()->click();
    }
    ASSERT_EQ(schedule->List()->topLevelItemCount(), 2);
    EXPECT_TRUE(schedule->DeleteButton()->isEnabled());
    schedule->DeleteButton()->click();
    ASSERT_EQ(schedule->List()->topLevelItemCount(), 1);
    schedule->List()->setCurrentItem(schedule->List()->topLevelItem(0));
    WithNextDialog<CPeriodDlg>([](CPeriodDlg* editor) {
      EXPECT_EQ(editor->TypeField()->value(), 3) << "the period as it was";
      EXPECT_TRUE(editor->ModeOn()->isChecked());
      editor->TypeField()->setValue(4);
      editor->OkButton()->click();
    });
    schedule->EditButton()->click();
    rows = RowTexts(*schedule->List());
    Press(schedule, QDialogButtonBox::Ok);
  });
  frame.Action(kCmdEditSchedule)->trigger();

  EXPECT_EQ(rows, std::vector<std::string>{"4|^_12345_|2030.01.01-2031.06.30|08:00:00-18:00:00|1"});
  EXPECT_TRUE(doc.IsModified());
  const std::string entry = "1400^_12345_2030010120310630080000180000" + flags;
  ASSERT_EQ(doc.Schedule().Entries(), std::vector<std::string>{entry});
  EXPECT_EQ(doc.Schedule().ProgramCount(), programs);

  frame.Action(kCmdFileSave)->trigger();
  EXPECT_EQ(test::ReadText(DataFolder() / "work" / "av0001.rsh"),
            "[RUNSCH]\r\nVERSION=1\r\nPRGCNT=" + std::to_string(programs) + "\r\nSCHCNT=1\r\nATTRIB=0\r\nITEM0=" + entry + "\r\n");

  // The schedule edit is one step of Undo and Redo.
  ASSERT_TRUE(frame.Action(kCmdUndo)->isEnabled());
  frame.Action(kCmdUndo)->trigger();
  EXPECT_EQ(doc.Schedule().EntryCount(), 0);
  frame.Action(kCmdRedo)->trigger();
  ASSERT_EQ(doc.Schedule().Entries(), std::vector<std::string>{entry});

  const std::filesystem::path sendFolder = m_folder / "send";
  std::filesystem::create_directories(sendFolder);
  ASSERT_TRUE(doc.Schedule().WriteControllerSchedule(sendFolder / "0001.rsf"));
  const auto count = static_cast<std::uint8_t>(programs);
  const auto bitBytes = static_cast<std::uint8_t>((programs + 7) / 8);
  std::vector<std::uint8_t> expected = {0x52, 0x53, 0x01, 0x00, 0x00, count, 0x00, 0x01, 0x00, 0x10, 0x00, 0x00,
                                        0x00, bitBytes, 0x00, 0x00, 0x41, 0xBE, 30, 1, 1, 31, 6, 30, 8, 0, 0, 18, 0, 0,
                                        0x80};
  expected.resize(expected.size() + bitBytes - 1, 0);
  EXPECT_EQ(test::ReadBytes(sendFolder / "0001.rsf"), expected);
}

TEST_F(EditorTest, CancelChangesNothing) {
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  CPrgListDoc& doc = m_app->Doc();
  ASSERT_TRUE(doc.Save());
  WithNextDialog<CScheduleDlg>([](CScheduleDlg* schedule) {
    WithNextDialog<CPeriodDlg>(EnterWorkingHours);
    schedule->AddButton()->click();
    EXPECT_EQ(schedule->List()->topLevelItemCount(), 1);
    Press(schedule, QDialogButtonBox::Cancel);
  });
  frame.Action(kCmdEditSchedule)->trigger();
  EXPECT_EQ(doc.Schedule().EntryCount(), 0);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_FALSE(doc.Schedule().IsModified());
}

TEST_F(EditorTest, PeriodEditorOkButtonAndMessages) {
  const std::vector<std::string> names = {"Program[1]", "News[2]"};
  const struct {
    const char* name;
    std::function<void(CPeriodDlg&)> change;
    bool okEnabled;
    std::string message;
  } rows[] = {
      {"a new period: today to the end of the year", [](CPeriodDlg&) {}, true, ""},
      {"ends today", [](CPeriodDlg& e) { SetDate(e.EndDate(), 2026, 6, 15); }, true, ""},
      {"end before start", [](CPeriodDlg& e) { SetDate(e.EndDate(), 2026, 6, 14); }, false,
       "The end date less than the begin date"},
      {"end before today", [](CPeriodDlg& e) { SetDate(e.StartDate(), 2026, 1, 1), SetDate(e.EndDate(), 2026, 6, 14); },
       false, "The end date less than today"},
      {"end in the year before the start",
       [](CPeriodDlg& e) { SetDate(e.StartDate(), 2031, 1, 1), SetDate(e.EndDate(), 2030, 12, 31); }, false,
       "The end date less than the begin date"},
      {"no weekday", [](CPeriodDlg& e) { TickDays(e, 0); }, false, ""},
      {"no weekday but the mode flag", [](CPeriodDlg& e) { TickDays(e, 0), e.ModeOn()->click(); }, true, ""},
      {"one day alone", [](CPeriodDlg& e) { TickDays(e, 0x40); }, true, ""},
      {"start year unset", [](CPeriodDlg& e) { e.StartDate().year->setValue(e.StartDate().year->minimum()); }, false, ""},
      // Unset ("xx") months and days at both ends are taken; unset years never, as such an end lies
      // before today.
      {"months and days not set", [](CPeriodDlg& e) { SetDate(e.StartDate(), 2026, 0, 0), SetDate(e.EndDate(), 2027, 0, 0); },
       true, ""},
      {"no dates at all",
       [](CPeriodDlg& e) {
         for (const DateFields* date : {&e.StartDate(), &e.EndDate()}) {
           for (QSpinBox* spin : {date->year, date->month, date->day}) spin->setValue(spin->minimum());
         }
       },
       false, "The end date less than today"},
      {"end month unset", [](CPeriodDlg& e) { e.EndDate().month->setValue(0); }, false, ""},
      {"the last year", [](CPeriodDlg& e) { SetDate(e.EndDate(), 2099, 12, 31); }, true, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CPeriodDlg editor(std::nullopt, names, 0, nullptr, kToday);
    row.change(editor);
    EXPECT_EQ(editor.OkButton()->isEnabled(), row.okEnabled);
    EXPECT_EQ(editor.Message()->text().toStdString(), row.message);
  }

  // The fields keep to their ranges: years 2000..2099 (below: not set), months 1..12, days 1..31.
  CPeriodDlg editor(std::nullopt, names, 0, nullptr, kToday);
  EXPECT_EQ(editor.StartDate().year->maximum(), 2099);
  EXPECT_EQ(editor.StartDate().year->minimum() + 1, 2000);
  EXPECT_EQ(editor.StartDate().year->specialValueText(), "xxxx");
  EXPECT_EQ(editor.EndDate().month->maximum(), 12);
  EXPECT_EQ(editor.EndDate().day->maximum(), 31);
  EXPECT_EQ(editor.TypeField()->minimum(), 0);
  EXPECT_EQ(editor.TypeField()->maximum(), 9);
  EXPECT_EQ(editor.Weekday(0)->text(), "Sunday");
  EXPECT_EQ(editor.Weekday(6)->text(), "Saturday");
  // A new period: every day, all day, from today to the end of the year.
  const ScheduleEntry period = editor.Period();
  EXPECT_EQ(period.weekdays, "+0123456");
  EXPECT_EQ(DateRangeText(period), "2026.06.15-2026.12.31");
  EXPECT_EQ(TimeRangeText(period), "00:00:00-00:00:00");
  EXPECT_EQ(period.programs, "11");
}

TEST_F(EditorTest, RunschBlankIsWrittenBackWhenThePeriodEditorCloses) {
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  ASSERT_EQ(m_app->Options().runschBlank, 0);
  const auto programs = static_cast<std::size_t>(m_app->Doc().Selection().programCount);

  std::vector<std::vector<Qt::CheckState>> ticks;
  WithNextDialog<CScheduleDlg>([&ticks](CScheduleDlg* schedule) {
    // Ticked at first; the option is changed and the editor cancelled.
    WithNextDialog<CPeriodDlg>([&ticks](CPeriodDlg* editor) {
      ticks.push_back(ProgramTicks(*editor));
      EXPECT_FALSE(editor->RunschBlankBox()->isChecked());
      editor->RunschBlankBox()->click();
      Press(editor, QDialogButtonBox::Cancel);
    });
    schedule->AddButton()->click();
    // The next new period starts unticked.
    WithNextDialog<CPeriodDlg>([&ticks](CPeriodDlg* editor) {
      ticks.push_back(ProgramTicks(*editor));
      EXPECT_TRUE(editor->RunschBlankBox()->isChecked());
      Press(editor, QDialogButtonBox::Cancel);
    });
    schedule->AddButton()->click();
    Press(schedule, QDialogButtonBox::Cancel);
  });
  frame.Action(kCmdEditSchedule)->trigger();

  ASSERT_EQ(ticks.size(), 2u);
  EXPECT_EQ(ticks[0], std::vector<Qt::CheckState>(programs, Qt::Checked));
  EXPECT_EQ(ticks[1], std::vector<Qt::CheckState>(programs, Qt::Unchecked));
  EXPECT_EQ(m_app->Options().runschBlank, 1);
  EXPECT_EQ(ReadOptions(m_app->Folders().SettingsFile()).runschBlank, 1) << "in the settings file";
  EXPECT_EQ(m_app->Doc().Schedule().EntryCount(), 0) << "the schedule dialog was cancelled";

  // The next schedule dialog's editors start from the stored option.
  WithNextDialog<CScheduleDlg>([&ticks](CScheduleDlg* schedule) {
    WithNextDialog<CPeriodDlg>([&ticks](CPeriodDlg* editor) {
      ticks.push_back(ProgramTicks(*editor));
      editor->RunschBlankBox()->click();
      Press(editor, QDialogButtonBox::Cancel);
    });
    schedule->AddButton()->click();
    Press(schedule, QDialogButtonBox::Cancel);
  });
  frame.Action(kCmdEditSchedule)->trigger();
  EXPECT_EQ(ticks.back(), std::vector<Qt::CheckState>(programs, Qt::Unchecked));
  EXPECT_EQ(ReadOptions(m_app->Folders().SettingsFile()).runschBlank, 0);
}

// The hours of a Monday-to-Friday, 08:00-18:00 week: exactly those are covered.
WeekHours WorkingWeek() {
  WeekHours hours{};
  for (std::size_t day = 1; day <= 5; ++day) {
    for (std::size_t hour = 8; hour < 18; ++hour) hours[day][hour] = true;
  }
  return hours;
}

// The grid draws covered hours filled and the others marked: compared by their colours.
void ExpectDrawn(CWeekGrid& grid, const WeekHours& hours) {
  const QImage picture = grid.grab().toImage();
  const QColor covered = picture.pixelColor(grid.HourRect(1, 8).center().x(), grid.HourRect(1, 8).top() + 2);
  for (int day = 0; day < 7; ++day) {
    for (int hour = 0; hour < 24; ++hour) {
      const QRect box = grid.HourRect(day, hour);
      const QColor drawn = picture.pixelColor(box.center().x(), box.top() + 2);
      EXPECT_EQ(drawn == covered, hours[static_cast<std::size_t>(day)][static_cast<std::size_t>(hour)])
          << "day " << day << " hour " << hour;
    }
  }
}

TEST_F(EditorTest, TheWeekGridMarksTheHoursInWhichNothingPlays) {
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  CPrgListDoc& doc = m_app->Doc();
  // Every program plays whenever a period names it.
  for (int program = 0; program < doc.Selection().programCount; ++program) {
    const int record = ProgramRecordAt(doc.Records(), program);
    tagPrgItem changed = doc.Record(record);
    ClearTimeWindow(changed.program);
    ASSERT_TRUE(doc.ReplaceRecord(record, changed));
  }

  std::vector<std::string> shown;
  WithNextDialog<CScheduleDlg>([&shown](CScheduleDlg* schedule) {
    // No period: the programs' own windows, which play always.
    WeekHours always{};
    for (auto& day : always) day.set();
    EXPECT_EQ(schedule->Grid()->Hours(), always);
    std::string caption;
    std::string text;
    AnswerNextBox(&caption, &text);
    schedule->CheckButton()->click();
    shown.push_back(caption + ": " + text);

    WithNextDialog<CPeriodDlg>(EnterWorkingHours);
    schedule->AddButton()->click();
    EXPECT_EQ(schedule->Grid()->Hours(), WorkingWeek());
    ExpectDrawn(*schedule->Grid(), WorkingWeek());
    AnswerNextBox(&caption, &text);
    schedule->CheckButton()->click();
    shown.push_back(caption + ": " + text);
    Press(schedule, QDialogButtonBox::Cancel);
  });
  frame.Action(kCmdEditSchedule)->trigger();
  EXPECT_EQ(shown, (std::vector<std::string>{"Prompt: Some program plays at every hour of the week.",
                                             "Warning: Sometimes there is not any program to be played."}));
}

// Without periods the grid follows the programs' own time windows and agrees with the send check.
TEST_F(EditorTest, WithoutPeriodsTheGridFollowsTheTimeWindows) {
  NewApp();
  ASSERT_TRUE(Start());
  CPrgListDoc& doc = m_app->Doc();
  for (int program = 0; program < doc.Selection().programCount; ++program) {
    const int record = ProgramRecordAt(doc.Records(), program);
    tagPrgItem changed = doc.Record(record);
    SetPlayDays(changed.program, 0x3E);
    SetTimeWindow(changed.program, TimeOfDay(8, 0), TimeOfDay(18, 0));
    ASSERT_TRUE(doc.ReplaceRecord(record, changed));
  }
  CScheduleDlg dialog(doc, 0, nullptr, kToday);
  EXPECT_EQ(dialog.Grid()->Hours(), WorkingWeek());
  EXPECT_FALSE(CheckPlayCoverage(doc.Records()));
  dialog.show();
  ExpectDrawn(*dialog.Grid(), WorkingWeek());
  std::string caption;
  std::string text;
  AnswerNextBox(&caption, &text);
  dialog.CheckButton()->click();
  EXPECT_EQ(caption, "Warning");
  EXPECT_EQ(text, "Sometimes there is not any program to be played.");
}

}  // namespace
}  // namespace vantorel

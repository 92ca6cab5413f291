#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QToolBar>
#include <QTreeWidgetItem>

#include "app/options.h"
#include "app/text_table.h"
#include "app/text_ids.h"
#include "app/password_store.h"
#include "app/user_settings.h"
#include "platform/atomic_file.h"
#include "playbill/display_names.h"
#include "playbill/playbill_reader.h"
#include "playbill/playbill_transfer.h"
#include "screen/screen_data.h"
#include "ui/command_ids.h"
#include "ui/language_dialog.h"
#include "ui/options_dialog.h"
#include "ui/password_dialogs.h"
#include "ui/main_frame.h"
#include "ui/playbill_canvas.h"
#include "ui/program_tree.h"
#include "ui/utility_programs.h"
#include "ui_test_support.h"

namespace vantorel {
namespace {

using testing::EditorTest;

std::vector<QRect> WindowRects(const CPlaybillCanvas& canvas) {
  std::vector<QRect> rects;
  for (const CanvasWindow& window : canvas.Windows()) rects.push_back(window.rect);
  return rects;
}

std::vector<std::string> RowTexts(const CProgramTree& tree) {
  std::vector<std::string> texts;
  for (QTreeWidgetItemIterator it(const_cast<CProgramTree*>(&tree)); *it; ++it) {
    std::string indent(static_cast<std::size_t>(2 * ((*it)->parent() ? ((*it)->parent()->parent() ? 2 : 1) : 0)), ' ');
    texts.push_back(indent + (*it)->text(0).toStdString());
  }
  return texts;
}

// The rows a tree of `list` shows: programs, windows indented once, items twice.
std::vector<std::string> ExpectedRows(const PrgList& list) {
  std::vector<std::string> rows;
  for (int i = 0; i < static_cast<int>(list.size()); ++i) {
    const int level = list[static_cast<std::size_t>(i)].level;
    rows.push_back(std::string(static_cast<std::size_t>(2 * (level - kLevelProgram)), ' ') + RecordDisplayName(list, i));
  }
  return rows;
}

// The windows of the program that starts at `programRecord`.
std::vector<QRect> ProgramWindows(const PrgList& list, int programRecord) {
  std::vector<QRect> rects;
  for (std::size_t i = static_cast<std::size_t>(programRecord) + 1; i < list.size() && !list[i].IsProgram(); ++i) {
    if (list[i].IsWindow()) rects.emplace_back(list[i].window.left, list[i].window.top, list[i].window.width, list[i].window.height);
  }
  return rects;
}

QTreeWidgetItem* CurrentProgramRow(const CMainFrame& frame, const CPrgListDoc& doc) {
  return frame.Tree()->topLevelItem(doc.Selection().currentProgram);
}

TEST_F(EditorTest, OpensOnTheDefaultCross) {
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  const CPrgListDoc& doc = m_app->Doc();
  QApplication::processEvents();
  EXPECT_TRUE(frame.isVisible());
  EXPECT_EQ(frame.windowTitle(), "Vantorel");
  EXPECT_TRUE(std::filesystem::exists(DataFolder() / "screen.cfg"));

  const std::vector<std::string> panes = {"Korvan-M5[1]", "Korvan-M5", "Full color", "48", "48"};
  for (int i = 0; i < CMainFrame::kStatusPanes; ++i) EXPECT_EQ(frame.StatusPane(i)->text().toStdString(), panes[i]);
  EXPECT_EQ(frame.ScreenChooser()->count(), 1);
  EXPECT_EQ(frame.ScreenChooser()->currentText(), "Korvan-M5[1]");

  // The playbill of a new user's screen is the shipped default, saved at once for the screen.
  PrgList shipped;
  int version = 0;
  ASSERT_TRUE(ReadPlaybill(ProgramFolder() / "default.ldt", shipped, version).ok());
  ASSERT_FALSE(shipped.empty());
  EXPECT_EQ(doc.Records().size(), shipped.size());
  EXPECT_EQ(RowTexts(*frame.Tree()), ExpectedRows(shipped));
  EXPECT_TRUE(std::filesystem::exists(DataFolder() / "work" / "av0001.ldt"));

  EXPECT_EQ(frame.Canvas()->ScreenSize(), QSize(48, 48));
  EXPECT_EQ(frame.Canvas()->Parts(), (std::vector<PartRect>{{0, 0, 16, 16}, {32, 0, 16, 16}, {0, 32, 16, 16}, {32, 32, 16, 16}}));
  EXPECT_EQ(WindowRects(*frame.Canvas()), ProgramWindows(doc.Records(), doc.Selection().programRecord));
  EXPECT_FALSE(frame.Action(kCmdMoveProgramUp)->isEnabled());
  EXPECT_TRUE(m_prompts.messages.empty());

  // Down to one program: it cannot be deleted.
  while (frame.Tree()->topLevelItemCount() > 1) {
    ASSERT_TRUE(frame.Action(kCmdDeleteProgram)->isEnabled());
    frame.Action(kCmdDeleteProgram)->trigger();
  }
  EXPECT_FALSE(frame.Action(kCmdDeleteProgram)->isEnabled());
  frame.RunCommand(kCmdDeleteProgram);
  EXPECT_EQ(frame.Tree()->topLevelItemCount(), 1);
}

TEST_F(EditorTest, CrossLayoutsFromTheToolBar) {
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  const CPrgListDoc& doc = m_app->Doc();
  const auto* toolBar = frame.findChild<QToolBar*>(QStringLiteral("MainToolBar"));
  ASSERT_TRUE(toolBar);
  for (int layout = 0; layout < 4; ++layout) EXPECT_TRUE(toolBar->actions().contains(frame.Action(kCmdFirstLayout + layout)));
  const int programs = frame.Tree()->topLevelItemCount();

  frame.Action(kCmdFirstLayout + 3)->trigger();
  EXPECT_EQ(WindowRects(*frame.Canvas()), (std::vector<QRect>{QRect(16, 0, 16, 16), QRect(0, 16, 16, 16), QRect(16, 16, 16, 16),
                                                              QRect(32, 16, 16, 16), QRect(16, 32, 16, 16)}));
  EXPECT_EQ(frame.Tree()->topLevelItemCount(), programs);
  ASSERT_TRUE(CurrentProgramRow(frame, doc));
  EXPECT_EQ(CurrentProgramRow(frame, doc)->childCount(), 5);

  frame.Action(kCmdFirstLayout + 1)->trigger();
  EXPECT_EQ(WindowRects(*frame.Canvas()), (std::vector<QRect>{QRect(16, 0, 16, 16), QRect(0, 16, 48, 16), QRect(16, 32, 16, 16)}));
  frame.Action(kCmdFirstLayout + 2)->trigger();
  EXPECT_EQ(WindowRects(*frame.Canvas()), (std::vector<QRect>{QRect(16, 0, 16, 48), QRect(0, 16, 16, 16), QRect(32, 16, 16, 16)}));
  frame.Action(kCmdFirstLayout)->trigger();
  EXPECT_EQ(WindowRects(*frame.Canvas()), (std::vector<QRect>{QRect(0, 0, 48, 48)}));
  EXPECT_EQ(CurrentProgramRow(frame, doc)->childCount(), 1);
}

TEST_F(EditorTest, ProgramCommandsAndTheirEnableRules) {
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  const CPrgListDoc& doc = m_app->Doc();
  while (frame.Tree()->topLevelItemCount() > 1) frame.Action(kCmdDeleteProgram)->trigger();
  frame.Action(kCmdFirstLayout)->trigger();

  frame.Action(kCmdNewProgram)->trigger();
  EXPECT_EQ(frame.Tree()->topLevelItemCount(), 2);
  EXPECT_EQ(frame.Tree()->topLevelItem(1)->text(0), "Program[2]");
  EXPECT_TRUE(frame.Action(kCmdDeleteProgram)->isEnabled());
  EXPECT_TRUE(frame.Action(kCmdMoveProgramUp)->isEnabled());
  EXPECT_FALSE(frame.Action(kCmdMoveProgramDown)->isEnabled());

  frame.Action(kCmdAddItem)->trigger();
  EXPECT_EQ(CurrentProgramRow(frame, doc)->child(0)->childCount(), 2);
  frame.Action(kCmdDeleteItem)->trigger();
  frame.Action(kCmdDeleteItem)->trigger();
  EXPECT_EQ(CurrentProgramRow(frame, doc)->child(0)->childCount(), 0);
  EXPECT_FALSE(frame.Action(kCmdDeleteItem)->isEnabled());  // no item selected any more

  frame.Action(kCmdMoveProgramUp)->trigger();
  EXPECT_EQ(doc.Selection().currentProgram, 0);
  EXPECT_TRUE(frame.Action(kCmdMoveProgramDown)->isEnabled());
  frame.Action(kCmdDeleteProgram)->trigger();
  EXPECT_EQ(frame.Tree()->topLevelItemCount(), 1);
  EXPECT_FALSE(frame.Action(kCmdDeleteProgram)->isEnabled());
}

TEST_F(EditorTest, TreeAndCanvasChooseTheSelection) {
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  frame.Action(kCmdFirstLayout + 3)->trigger();
  CPrgListDoc& doc = m_app->Doc();

  // The third window's row.
  QTreeWidgetItem* window = CurrentProgramRow(frame, doc)->child(2);
  frame.Tree()->setCurrentItem(window);
  EXPECT_EQ(doc.Selection().currentRecord, CProgramTree::RecordOf(window));
  EXPECT_EQ(doc.Selection().currentWindow, 2);
  EXPECT_EQ(doc.Selection().itemRecord, -1);
  EXPECT_FALSE(frame.Action(kCmdDeleteItem)->isEnabled());

  // A click on the canvas in the bottom window chooses it, in the tree too.
  const CanvasWindow bottom = frame.Canvas()->Windows().back();
  Q_EMIT frame.Canvas()->windowClicked(bottom.record);
  EXPECT_EQ(doc.Selection().currentWindow, 4);
  EXPECT_EQ(CProgramTree::RecordOf(frame.Tree()->currentItem()), bottom.record);
}

TEST_F(EditorTest, LanguageSwitchChangesEveryMenuText) {
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  const auto menuTexts = [&frame] {
    std::vector<std::string> texts;
    for (QMenu* menu : frame.Menus()) {
      texts.push_back(menu->title().toStdString());
      for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && !action->menu()) texts.push_back(action->text().toStdString());
      }
    }
    return texts;
  };
  const std::vector<std::string> english = menuTexts();
  ASSERT_GT(english.size(), 20u);

  // Tools > Language..., the second line (German), OK.
  testing::WithNextDialog<CSelectLangDlg>([](CSelectLangDlg* dialog) {
    dialog->List()->setCurrentRow(1);
    dialog->accept();
  });
  frame.RunCommand(kCmdLanguage);
  EXPECT_EQ(m_app->LanguageId(), 1031);
  EXPECT_TRUE(m_prompts.messages.empty());
  const std::vector<std::string> german = menuTexts();
  ASSERT_EQ(german.size(), english.size());
  for (std::size_t i = 0; i < english.size(); ++i) EXPECT_NE(german[i], english[i]) << english[i];
  EXPECT_EQ(frame.Tree()->topLevelItem(0)->child(0)->text(0), "Fenster[1]");
  EXPECT_EQ(frame.StatusPane(2)->text(), "Vollfarbe");

  // The choice is remembered for the next start.
  frame.close();
  NewApp();
  ASSERT_TRUE(Start());
  EXPECT_EQ(m_app->LanguageId(), 1031);
  EXPECT_EQ(m_app->MainFrame()->Action(kCmdNewProgram)->text(), "&Neues Programm");
  EXPECT_EQ(CUserSettings().Language(), 1031);
}

TEST_F(EditorTest, OptionsAndPasswordCommands) {
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();

  testing::WithNextDialog<COptionsDlg>([](COptionsDlg* dialog) {
    for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
      if (box->text() == "Shut the computer down automatically at") box->setChecked(true);
    }
    dialog->accept();
  });
  frame.RunCommand(kCmdOptions);
  EXPECT_EQ(ReadOptions(DataFolder() / "Vantorel.ini").autoShutdown, 1);
  EXPECT_EQ(m_app->Options().autoShutdown, 1);

  testing::WithNextDialog<CChangePasswordDlg>([](CChangePasswordDlg* dialog) {
    dialog->OldField()->setText("73085");
    dialog->NewField()->setText("boot");
    dialog->RepeatField()->setText("boot");
    dialog->accept();
  });
  frame.RunCommand(kCmdChangeStartupPassword);
  CUserSettings stored;
  EXPECT_TRUE(CheckPassword("boot", LoadPasswordBlocks(stored).startup));

  testing::WithNextDialog<CChangePasswordDlg>([](CChangePasswordDlg* dialog) { dialog->reject(); });
  frame.RunCommand(kCmdChangeAdminPassword);
  EXPECT_TRUE(CheckPassword("50731", m_app->Passwords().administrator));
}

TEST_F(EditorTest, StartupPassword) {
  CUserSettings settings;
  StorePasswordBlock(settings, PasswordKind::Startup, EncodePassword("open sesame", true));

  NewApp();
  m_prompts.password = std::nullopt;  // cancelled: the run ends without a word
  EXPECT_FALSE(Start());
  EXPECT_TRUE(m_prompts.messages.empty());
  EXPECT_EQ(m_app->MainFrame(), nullptr);

  NewApp();
  m_prompts.password = "open sesam";
  EXPECT_FALSE(Start());
  ASSERT_EQ(m_prompts.messages.size(), 1u);
  EXPECT_EQ(m_prompts.messages[0].text, "Password incorrect");
  EXPECT_EQ(m_prompts.messages[0].captionId, 205);
  EXPECT_FALSE(std::filesystem::exists(DataFolder() / "work" / "av0001.ldt"));  // nothing made for a stranger

  NewApp();
  m_prompts.password = "open sesame";
  EXPECT_TRUE(Start());
  EXPECT_EQ(m_prompts.asked, 3);

  // Without a startup password nobody is asked.
  StorePasswordBlock(settings, PasswordKind::Startup, PasswordBlock{});
  NewApp();
  EXPECT_TRUE(Start());
  EXPECT_EQ(m_prompts.asked, 3);
}

// Two 48 x 48 cross screens and a 96 x 96 one, IDs 1, 2, 3.
void WriteThreeScreens(const std::filesystem::path& file) {
  CScreenData screens;
  screens.MakeDefault();
  tagScreenInfo second = screens.Screen(0);
  second.number = 2;
  ASSERT_TRUE(screens.Append(second, screens.Comm(0)));
  tagScreenInfo third = second;
  third.number = 3;
  third.width = 96;
  third.height = 96;
  ASSERT_TRUE(screens.Append(third, tagCommInfo{}));
  ASSERT_TRUE(screens.Save(file));
}

std::string FileBytes(const std::filesystem::path& file) {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(file, bytes)) << file;
  return bytes;
}

TEST_F(EditorTest, ScreenSwitchNeverOverwritesAnotherScreensPlaybill) {
  WriteThreeScreens(DataFolder() / "screen.cfg");
  const auto work = DataFolder() / "work";

  // Screen 1 gets a playbill of its own: one program of five cross windows.
  NewApp();
  ASSERT_TRUE(Start());
  while (m_app->MainFrame()->Tree()->topLevelItemCount() > 1) m_app->MainFrame()->RunCommand(kCmdDeleteProgram);
  m_app->MainFrame()->RunCommand(kCmdFirstLayout + 3);
  m_app->MainFrame()->close();
  const std::string screen1 = FileBytes(work / "av0001.ldt");
  EXPECT_FALSE(std::filesystem::exists(work / "av0002.ldt"));

  struct Case {
    const char* argument;
    int index;
    int width;
  };
  for (const Case c : {Case{"/s2", 1, 48}, Case{"-S3", 2, 96}, Case{"/s4", 0, 48}, Case{"/s0", 0, 48}, Case{"-platform", 0, 48}}) {
    NewApp();
    ASSERT_TRUE(Start({"vantorel", c.argument}));
    EXPECT_EQ(m_app->Doc().CurrentScreenIndex(), c.index) << c.argument;
    EXPECT_EQ(m_app->MainFrame()->Canvas()->ScreenSize().width(), c.width) << c.argument;
    EXPECT_EQ(m_app->MainFrame()->ScreenChooser()->currentIndex(), c.index);
    if (c.index == 0) {
      EXPECT_EQ(m_app->MainFrame()->Canvas()->Windows().size(), 5u) << c.argument;
    }
    m_app->MainFrame()->close();
    EXPECT_EQ(FileBytes(work / "av0001.ldt"), screen1) << c.argument;
  }
  // The screens without a playbill got new ones under their own names.
  EXPECT_TRUE(std::filesystem::exists(work / "av0002.ldt"));
  EXPECT_TRUE(std::filesystem::exists(work / "av0003.ldt"));
}

// "vantorel [/s<N>] FILE" (and a double-click on a playbill) opens FILE into the chosen screen's
// playbill, as File > Open does; a file that does not open changes nothing and says why.
TEST_F(EditorTest, AFileOnTheCommandLineOpensIntoTheChosenScreensPlaybill) {
  WriteThreeScreens(DataFolder() / "screen.cfg");
  const auto work = DataFolder() / "work";
  const auto show = m_root / "shows" / "three windows.lpl";
  std::filesystem::create_directories(show.parent_path());
  NewApp();
  ASSERT_TRUE(Start());
  m_app->MainFrame()->RunCommand(kCmdFirstLayout + 2);
  const std::vector<std::string> threeWindows = RowTexts(*m_app->MainFrame()->Tree());
  ASSERT_TRUE(ExportPlaybill(m_app->Doc(), show));
  m_app->MainFrame()->RunCommand(kCmdFirstLayout);
  m_app->MainFrame()->close();
  const std::string screen1 = FileBytes(work / "av0001.ldt");

  NewApp();
  ASSERT_TRUE(Start({"vantorel", show.string(), "/s2"}));
  EXPECT_TRUE(m_prompts.messages.empty()) << m_prompts.messages[0].text;
  EXPECT_EQ(m_app->Doc().CurrentScreenIndex(), 1);
  EXPECT_EQ(RowTexts(*m_app->MainFrame()->Tree()), threeWindows);
  EXPECT_EQ(m_app->MainFrame()->Canvas()->Windows().size(), 3u);
  m_app->MainFrame()->close();
  // It became screen 2's playbill; screen 1's is untouched.
  EXPECT_EQ(FileBytes(work / "av0001.ldt"), screen1);
  NewApp();
  ASSERT_TRUE(Start({"vantorel", "/s2"}));
  EXPECT_EQ(RowTexts(*m_app->MainFrame()->Tree()), threeWindows);
  m_app->MainFrame()->close();
  const std::string screen2 = FileBytes(work / "av0002.ldt");

  struct Row {
    const char* name;
    std::filesystem::path file;
    const char* content;  // written first unless null
    const char* cause;
  };
  const std::string garbage = "not a playbill at all, but somebody's notes may be in here";
  const Row rows[] = {
      {"missing", m_root / "shows" / "missing.lpl", nullptr, "No such file or directory"},
      {"a folder", m_root / "shows", nullptr, "Is a directory"},
      {"not a playbill", m_root / "shows" / "notes.lpl", garbage.c_str(), "no program"},
      {"empty", m_root / "shows" / "empty.lpl", "", "too short"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.content) {
      ASSERT_TRUE(WriteFileAtomically(row.file, row.content));
    }
    m_prompts.messages.clear();
    NewApp();
    ASSERT_TRUE(Start({"vantorel", "-s2", row.file.string()}));
    ASSERT_EQ(m_prompts.messages.size(), 1u);
    const std::string& shown = m_prompts.messages[0].text;
    EXPECT_EQ(m_prompts.messages[0].captionId, kTextError);
    EXPECT_TRUE(shown.starts_with("Cannot open the file given on the command line: ")) << shown;
    EXPECT_NE(shown.find(row.file.string()), std::string::npos) << shown;
    EXPECT_NE(shown.find(row.cause), std::string::npos) << shown;
    // The screen's own playbill is open and stays as it was; the file is not written to.
    EXPECT_EQ(m_app->Doc().CurrentScreenIndex(), 1);
    EXPECT_EQ(RowTexts(*m_app->MainFrame()->Tree()), threeWindows);
    m_app->MainFrame()->close();
    EXPECT_EQ(FileBytes(work / "av0002.ldt"), screen2);
    if (row.content) {
      EXPECT_EQ(FileBytes(row.file), row.content);
    }
  }
}

// A playbill that does not load is kept aside, never saved over, and the user is warned: at
// start-up and when switching to its screen.
TEST_F(EditorTest, ADamagedPlaybillIsKeptAndTheUserWarned) {
  WriteThreeScreens(DataFolder() / "screen.cfg");
  const auto work = DataFolder() / "work";
  std::filesystem::create_directories(work);
  const std::string garbage = "not a playbill at all, but somebody's programs may be in here";
  for (const char* name : {"av0001.ldt", "av0003.ldt"}) {
    ASSERT_TRUE(WriteFileAtomically(work / name, garbage));
  }
  const auto keptCopies = [&work](const std::string& name) {
    std::vector<std::filesystem::path> kept;
    for (const auto& entry : std::filesystem::directory_iterator(work)) {
      if (entry.path().filename().string().starts_with(name + ".damaged-")) kept.push_back(entry.path());
    }
    return kept;
  };

  NewApp();
  ASSERT_TRUE(Start());
  ASSERT_EQ(m_prompts.messages.size(), 1u);
  EXPECT_EQ(m_prompts.messages[0].captionId, kTextWarning);
  EXPECT_TRUE(m_prompts.messages[0].text.starts_with(LoadText(kTextPlaybillKept) + ": " + (work / "av0001.ldt").string() + ".damaged-"))
      << m_prompts.messages[0].text;
  EXPECT_TRUE(m_prompts.messages[0].text.ends_with(" (no program)")) << m_prompts.messages[0].text;
  ASSERT_EQ(keptCopies("av0001.ldt").size(), 1u);
  EXPECT_EQ(FileBytes(keptCopies("av0001.ldt")[0]), garbage);
  EXPECT_EQ(m_app->MainFrame()->Tree()->topLevelItemCount(), 1) << "a new playbill to work on";

  m_prompts.messages.clear();
  ASSERT_TRUE(m_app->MainFrame()->SwitchScreen(2));
  ASSERT_EQ(m_prompts.messages.size(), 1u);
  EXPECT_EQ(m_prompts.messages[0].captionId, kTextWarning);
  ASSERT_EQ(keptCopies("av0003.ldt").size(), 1u);
  EXPECT_EQ(FileBytes(keptCopies("av0003.ldt")[0]), garbage);
  m_app->MainFrame()->close();

  // The next start finds sound playbills and says nothing.
  m_prompts.messages.clear();
  NewApp();
  ASSERT_TRUE(Start());
  EXPECT_TRUE(m_prompts.messages.empty());
  EXPECT_EQ(keptCopies("av0001.ldt").size(), 1u);
}

TEST_F(EditorTest, PlaybillIsSavedAndReopenedAndScreensSwitch) {
  WriteThreeScreens(DataFolder() / "screen.cfg");
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame* frame = m_app->MainFrame();
  frame->RunCommand(kCmdFirstLayout + 2);
  const std::vector<std::string> edited = RowTexts(*frame->Tree());

  // Another screen: its own playbill, its own size; back again: the edit is still there.
  ASSERT_TRUE(frame->SwitchScreen(2));
  EXPECT_EQ(frame->Canvas()->ScreenSize(), QSize(96, 96));
  EXPECT_EQ(frame->StatusPane(0)->text(), "Korvan-M5[3]");
  EXPECT_EQ(frame->StatusPane(3)->text(), "96");
  ASSERT_TRUE(frame->SwitchScreen(0));
  EXPECT_EQ(RowTexts(*frame->Tree()), edited);
  frame->RunCommand(kCmdFirstLayout + 1);
  const std::vector<std::string> saved = RowTexts(*frame->Tree());
  frame->close();

  // The next start opens what was left.
  NewApp();
  ASSERT_TRUE(Start());
  EXPECT_EQ(RowTexts(*m_app->MainFrame()->Tree()), saved);
  EXPECT_EQ(m_app->MainFrame()->Canvas()->Windows().size(), 3u);
  EXPECT_TRUE(m_prompts.messages.empty());
}

TEST_F(EditorTest, AutomaticShutdownAtTheIdleCheck) {
  AppOptions options;
  options.autoShutdown = 1;
  options.shutdownTime = 23 * 256;
  ASSERT_TRUE(WriteOptions(DataFolder() / "Vantorel.ini", options));

  m_now = 22 * 256 + 59;
  NewApp();
  ASSERT_TRUE(Start());
  m_app->OnIdle();
  EXPECT_EQ(m_powerOffs, 0);
  m_now = 23 * 256;
  m_app->OnIdle();
  m_app->OnIdle();
  EXPECT_EQ(m_powerOffs, 1);

  // Started within the shutdown minute: never.
  NewApp();
  ASSERT_TRUE(Start());
  m_app->OnIdle();
  m_app->OnIdle();
  EXPECT_EQ(m_powerOffs, 1);
}

TEST_F(EditorTest, ClosingCleansTheTemporaryFolderAndStoresTheToolOption) {
  AppOptions options;
  options.ledtoolPassword = 1;
  NewApp();
  ASSERT_TRUE(Start());
  std::filesystem::create_directories(m_app->Folders().TempFolder());
  ASSERT_TRUE(WriteFileAtomically(m_app->Folders().TempFolder() / "~page1.bmp", "x"));
  ASSERT_TRUE(m_app->SetOptions(options));
  ASSERT_TRUE(WriteLedtoolPasswordOption(DataFolder() / "Vantorel.ini", 0));  // changed behind our back
  m_app->MainFrame()->close();
  EXPECT_FALSE(std::filesystem::exists(m_app->Folders().TempFolder()));
  EXPECT_EQ(ReadOptions(DataFolder() / "Vantorel.ini").ledtoolPassword, 1);

  std::string log;
  ASSERT_TRUE(ReadWholeFile(DataFolder() / "Vantorel.log", log));
  EXPECT_NE(log.find(" START Vantorel "), std::string::npos) << log;
  EXPECT_NE(log.find(" INFO  exit"), std::string::npos) << log;
}

TEST_F(EditorTest, ToolMenuFromPlugins) {
  AppOptions options;
  options.ledtoolPassword = 1;
  ASSERT_TRUE(WriteOptions(DataFolder() / "Vantorel.ini", options));
  NewApp(std::filesystem::path(TEST_PLUGIN_DIR) / "full");
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  QMenu* ledtool = nullptr;
  bool findDevice = false;
  for (QAction* action : frame.ToolsMenu()->actions()) {
    if (action->menu()) ledtool = action->menu();
    if (action->text() == "Find &device...") findDevice = true;
  }
  ASSERT_TRUE(ledtool);
  EXPECT_EQ(ledtool->title(), "Led&tool");
  EXPECT_TRUE(findDevice);
  const QList<QAction*> entries = ledtool->actions();
  ASSERT_EQ(entries.size(), 16 + 2);  // 16 tools, a separator, the password entry
  EXPECT_EQ(entries.front()->text(), "Extended 0");
  EXPECT_TRUE(entries[16]->isSeparator());
  EXPECT_EQ(entries.back()->text(), "Change Ledtool advance password");

  // Switching the option off takes the entry away.
  options.ledtoolPassword = 0;
  m_app->SetOptions(options);
  frame.RebuildToolMenu(false);
  for (QAction* action : frame.ToolsMenu()->actions()) {
    if (action->menu()) {
      EXPECT_EQ(action->menu()->actions().size(), 16);
    }
  }
}

TEST_F(EditorTest, UtilityProgramsThatAreInstalled) {
  // A PATH with only a text editor on it.
  const std::filesystem::path bin = m_root / "bin";
  std::filesystem::create_directories(bin);
  ASSERT_TRUE(WriteFileAtomically(bin / "mousepad", "#!/bin/sh\n"));
  std::filesystem::permissions(bin / "mousepad", std::filesystem::perms::owner_all);
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", QByteArray::fromStdString(bin.string()));
  EXPECT_EQ(FindUtility(UtilityKind::TextEditor), QString::fromStdString((bin / "mousepad").string()));
  EXPECT_TRUE(FindUtility(UtilityKind::Paint).isEmpty());
  NewApp();
  const bool started = Start();
  qputenv("PATH", path);
  ASSERT_TRUE(started);
  const CMainFrame& frame = *m_app->MainFrame();
  ASSERT_TRUE(frame.Action(UtilityCommand(UtilityKind::TextEditor)));
  EXPECT_TRUE(frame.ToolsMenu()->actions().contains(frame.Action(UtilityCommand(UtilityKind::TextEditor))));
  EXPECT_EQ(frame.Action(UtilityCommand(UtilityKind::TextEditor))->text(), "&Text editor");
  EXPECT_EQ(frame.Action(UtilityCommand(UtilityKind::Paint)), nullptr);
  EXPECT_EQ(frame.Action(UtilityCommand(UtilityKind::Calculator)), nullptr);
}

// Saving is made to fail by a folder standing where the playbill file goes: the rename onto it
// fails whoever runs the test.
void BlockFile(const std::filesystem::path& file) {
  std::filesystem::remove(file);
  std::filesystem::create_directories(file / "blocked");
}

TEST_F(EditorTest, ClosingWhenThePlaybillCannotBeSaved) {
  enum Answer { kRetry, kDiscard, kCancel };
  struct Case {
    const char* name;
    std::vector<Answer> answers;  // a Retry answer first unblocks the file when `unblockOnRetry`
    bool unblockOnRetry;
    bool closed;
    bool saved;
  };
  const Case cases[] = {
      {"cancel keeps the window open", {kCancel}, false, false, false},
      {"discard closes without saving", {kDiscard}, false, true, false},
      {"retry saves once the file can be written", {kRetry}, true, true, true},
      {"retry failing again asks again", {kRetry, kCancel}, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_prompts = {};
    NewApp();
    ASSERT_TRUE(Start());
    CMainFrame& frame = *m_app->MainFrame();
    const auto file = DataFolder() / "work" / "av0001.ldt";
    frame.RunCommand(kCmdNewProgram);
    const std::size_t records = m_app->Doc().Records().size();
    BlockFile(file);
    for (const Answer answer : c.answers) {
      m_prompts.answers.push_back([answer, unblock = c.unblockOnRetry, file] {
        if (answer == kRetry && unblock) std::filesystem::remove_all(file);
        return static_cast<int>(answer);
      });
    }

    EXPECT_EQ(frame.close(), c.closed);
    EXPECT_EQ(frame.isVisible(), !c.closed);
    ASSERT_EQ(m_prompts.questions.size(), c.answers.size());
    const std::string question = m_prompts.questions[0].text;
    EXPECT_EQ(question.rfind("The playbill could not be saved. Close without saving?\n\nFailed: ", 0), 0u) << question;
    EXPECT_NE(question.find(file.string()), std::string::npos) << question;
    EXPECT_EQ(m_prompts.questions[0].captionId, kTextError);
    EXPECT_EQ(m_prompts.choices[0], (std::vector<int>{kTextRetry, kTextDiscard, kTextCancel}));
    EXPECT_TRUE(m_prompts.messages.empty());
    if (c.saved) {
      PrgList stored;
      int version = 0;
      ASSERT_TRUE(ReadPlaybill(file, stored, version).ok());
      EXPECT_EQ(stored.size(), records);
    } else {
      EXPECT_TRUE(std::filesystem::is_directory(file));
    }
    // The edits are still there while the window stays open.
    if (!c.closed) {
      EXPECT_EQ(m_app->Doc().Records().size(), records);
    }
    std::filesystem::remove_all(file);
  }
}

// Types `name` into the next file dialog and accepts it.
void TypeInNextFileDialog(const std::filesystem::path& name) {
  testing::WithNextDialog<QFileDialog>([name](QFileDialog* dialog) {
    dialog->selectFile(QString::fromStdString(name.string()));
    QMetaObject::invokeMethod(dialog, "accept");
  });
}

TEST_F(EditorTest, ExportAndSaveAsAskBeforeReplacingAFile) {
  struct Case {
    const char* name;
    int command;
    const char* typed;
    bool exists;       // "show.lpl" is there already
    int answer;        // 0 OK (replace), 1 Cancel
    bool written;
  };
  const Case cases[] = {
      {"export, name with the extension added, replaced", kCmdExportPlaybill, "show", true, 0, true},
      {"export, name with the extension added, kept", kCmdExportPlaybill, "show", true, 1, false},
      {"export, name as typed, kept", kCmdExportPlaybill, "show.lpl", true, 1, false},
      {"export, new file: nobody is asked", kCmdExportPlaybill, "show", false, 1, true},
      {"save as, name with the extension added, kept", kCmdFileSaveAs, "show", true, 1, false},
      {"save as, name as typed, replaced", kCmdFileSaveAs, "show.lpl", true, 0, true},
  };
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  const auto target = m_root / "out" / "show.lpl";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_prompts.questions.clear();
    m_prompts.answers = {[answer = c.answer] { return answer; }};
    std::filesystem::remove_all(m_root / "out");
    std::filesystem::create_directories(m_root / "out");
    if (c.exists) {
      ASSERT_TRUE(WriteFileAtomically(target, "old"));
    }
    TypeInNextFileDialog(m_root / "out" / c.typed);
    frame.RunCommand(c.command);

    ASSERT_EQ(m_prompts.questions.size(), c.exists ? 1u : 0u);
    if (c.exists) {
      EXPECT_EQ(m_prompts.questions[0].text, target.string() + " already exists.\nDo you want to replace it?");
      EXPECT_EQ(m_prompts.choices.back(), (std::vector<int>{kTextOk, kTextCancel}));
    }
    const std::string bytes = FileBytes(target);
    EXPECT_EQ(bytes != "old", c.written);
    if (c.written) {
      EXPECT_GT(bytes.size(), 512u);  // a playbill of whole records
    }
    EXPECT_TRUE(m_prompts.messages.empty());
  }
}

TEST_F(EditorTest, FailuresSayTheirCause) {
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  const auto file = DataFolder() / "work" / "av0001.ldt";
  frame.RunCommand(kCmdNewProgram);
  BlockFile(file);
  frame.RunCommand(kCmdFileSave);
  ASSERT_EQ(m_prompts.messages.size(), 1u);
  const std::string shown = m_prompts.messages[0].text;
  EXPECT_EQ(shown.rfind("Failed: ", 0), 0u) << shown;
  EXPECT_NE(shown.find(file.string()), std::string::npos) << shown;
  EXPECT_EQ(m_prompts.messages[0].captionId, kTextError);
  std::filesystem::remove_all(file);
}

}  // namespace
}  // namespace vantorel

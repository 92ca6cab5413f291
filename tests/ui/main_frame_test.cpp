#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <QTreeWidgetItem>

#include "app/options.h"
#include "app/password_store.h"
#include "app/user_settings.h"
#include "platform/atomic_file.h"
#include "screen/screen_data.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/playbill_canvas.h"
#include "ui/program_tree.h"
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

TEST_F(EditorTest, OpensOnTheDefaultCross) {
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  QApplication::processEvents();
  EXPECT_TRUE(frame.isVisible());
  EXPECT_EQ(frame.windowTitle(), "Vantorel");
  EXPECT_TRUE(std::filesystem::exists(DataFolder() / "screen.cfg"));

  const std::vector<std::string> panes = {"Korvan-M5[1]", "Korvan-M5", "Full color", "48", "48"};
  for (int i = 0; i < CMainFrame::kStatusPanes; ++i) EXPECT_EQ(frame.StatusPane(i)->text().toStdString(), panes[i]);

  EXPECT_EQ(frame.Canvas()->ScreenSize(), QSize(48, 48));
  EXPECT_EQ(frame.Canvas()->Parts(), (std::vector<PartRect>{{0, 0, 16, 16}, {32, 0, 16, 16}, {0, 32, 16, 16}, {32, 32, 16, 16}}));
  EXPECT_EQ(WindowRects(*frame.Canvas()), (std::vector<QRect>{QRect(0, 0, 48, 48)}));
  EXPECT_EQ(RowTexts(*frame.Tree()), (std::vector<std::string>{"Program[1]", "  Window[1]", "    Welcome"}));

  // One program: it cannot be deleted; its only item can.
  EXPECT_FALSE(frame.Action(kCmdDeleteProgram)->isEnabled());
  EXPECT_TRUE(frame.Action(kCmdDeleteItem)->isEnabled());
  EXPECT_FALSE(frame.Action(kCmdMoveProgramUp)->isEnabled());
  EXPECT_FALSE(frame.Action(kCmdClearBackground)->isEnabled());
  EXPECT_TRUE(m_prompts.messages.empty());
}

TEST_F(EditorTest, CrossLayoutsFromTheToolBar) {
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  const auto* toolBar = frame.findChild<QToolBar*>(QStringLiteral("MainToolBar"));
  ASSERT_TRUE(toolBar);
  for (int layout = 0; layout < 4; ++layout) EXPECT_TRUE(toolBar->actions().contains(frame.Action(kCmdFirstLayout + layout)));

  frame.Action(kCmdFirstLayout + 3)->trigger();
  EXPECT_EQ(WindowRects(*frame.Canvas()), (std::vector<QRect>{QRect(16, 0, 16, 16), QRect(0, 16, 16, 16), QRect(16, 16, 16, 16),
                                                              QRect(32, 16, 16, 16), QRect(16, 32, 16, 16)}));
  ASSERT_EQ(frame.Tree()->topLevelItemCount(), 1);
  EXPECT_EQ(frame.Tree()->topLevelItem(0)->childCount(), 5);
  EXPECT_FALSE(frame.Action(kCmdDeleteProgram)->isEnabled());

  frame.Action(kCmdFirstLayout + 1)->trigger();
  EXPECT_EQ(WindowRects(*frame.Canvas()), (std::vector<QRect>{QRect(16, 0, 16, 16), QRect(0, 16, 48, 16), QRect(16, 32, 16, 16)}));
  frame.Action(kCmdFirstLayout + 2)->trigger();
  EXPECT_EQ(WindowRects(*frame.Canvas()), (std::vector<QRect>{QRect(16, 0, 16, 48), QRect(0, 16, 16, 16), QRect(32, 16, 16, 16)}));
  frame.Action(kCmdFirstLayout)->trigger();
  EXPECT_EQ(WindowRects(*frame.Canvas()), (std::vector<QRect>{QRect(0, 0, 48, 48)}));
}

TEST_F(EditorTest, ProgramCommandsAndTheirEnableRules) {
  NewApp();
  ASSERT_TRUE(Start());
  CMainFrame& frame = *m_app->MainFrame();
  frame.Action(kCmdNewProgram)->trigger();
  EXPECT_EQ(frame.Tree()->topLevelItemCount(), 2);
  EXPECT_EQ(frame.Tree()->topLevelItem(1)->text(0), "Program[2]");
  EXPECT_TRUE(frame.Action(kCmdDeleteProgram)->isEnabled());
  EXPECT_TRUE(frame.Action(kCmdMoveProgramUp)->isEnabled());
  EXPECT_FALSE(frame.Action(kCmdMoveProgramDown)->isEnabled());

  frame.Action(kCmdAddItem)->trigger();
  EXPECT_EQ(frame.Tree()->topLevelItem(1)->child(0)->childCount(), 2);
  frame.Action(kCmdDeleteItem)->trigger();
  frame.Action(kCmdDeleteItem)->trigger();
  EXPECT_EQ(frame.Tree()->topLevelItem(1)->child(0)->childCount(), 0);
  EXPECT_FALSE(frame.Action(kCmdDeleteItem)->isEnabled());  // no item selected any more

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
  QTreeWidgetItem* window = frame.Tree()->topLevelItem(0)->child(2);
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

  const LanguageSwitch result = m_app->ChangeLanguage(1031, true);
  ASSERT_TRUE(result.ok) << result.message;
  frame.Retranslate();
  const std::vector<std::string> german = menuTexts();
  ASSERT_EQ(german.size(), english.size());
  for (std::size_t i = 0; i < english.size(); ++i) EXPECT_NE(german[i], english[i]) << english[i];
  EXPECT_EQ(frame.Tree()->topLevelItem(0)->text(0), "Programm[1]");
  EXPECT_EQ(frame.StatusPane(2)->text(), "Vollfarbe");

  // The choice is remembered for the next start.
  frame.close();
  NewApp();
  ASSERT_TRUE(Start());
  EXPECT_EQ(m_app->LanguageId(), 1031);
  EXPECT_EQ(m_app->MainFrame()->Action(kCmdNewProgram)->text(), "&Neues Programm");
  EXPECT_EQ(CUserSettings().Language(), 1031);
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

TEST_F(EditorTest, ScreenSwitchChoosesTheScreen) {
  CScreenData screens;
  screens.MakeDefault();
  tagScreenInfo second = screens.Screen(0);
  second.number = 2;
  second.width = 96;
  second.height = 96;
  ASSERT_TRUE(screens.Append(second, screens.Comm(0)));
  ASSERT_TRUE(screens.Save(DataFolder() / "screen.cfg"));

  struct Case {
    const char* argument;
    int index;
  };
  for (const Case c : {Case{"/s2", 1}, Case{"-S3", 0}, Case{"/s0", 0}, Case{"/s1", 0}, Case{"-platform", 0}}) {
    NewApp();
    ASSERT_TRUE(Start({"vantorel", c.argument}));
    EXPECT_EQ(m_app->Doc().CurrentScreenIndex(), c.index) << c.argument;
    EXPECT_EQ(m_app->MainFrame()->Canvas()->ScreenSize().width(), c.index == 1 ? 96 : 48);
  }
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

}  // namespace
}  // namespace vantorel

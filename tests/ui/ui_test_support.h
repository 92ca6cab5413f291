#pragma once
// What the editor's tests share: an offscreen QApplication, a fresh data folder and per-user
// settings folder, prompts that answer instead of the user, and a way to answer a message box.

#include <QApplication>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_folders.h"
#include "app/text_table.h"
#include "platform/program_folder.h"
#include "send/controller_operations.h"
#include "support/loopback_port.h"
#include "support/temp_folder.h"
#include "ui/main_frame.h"
#include "ui/playbill_canvas.h"
#include "ui/program_tree.h"
#include "ui/vantorel_app.h"

namespace vantorel::testing {

// Made once and never destroyed: widgets and pixmaps of the tests must not outlive it at exit.
inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "ui_tests";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}

struct ShownMessage {
  std::string text;
  int captionId;
};

class FakePrompts : public IAppPrompts {
public:
  std::optional<std::string> AskPassword(QWidget*) override {
    ++asked;
    return password;
  }
  void Message(QWidget*, const std::string& text, int captionId, QMessageBox::Icon) override {
    messages.push_back({text, captionId});
  }
  // Answers from `answers`, first to last: each a function of the question's text that may change
  // the world before answering (remove what made a save fail, for one); the last answer when none.
  int Choose(QWidget*, const std::string& text, int captionId, const std::vector<int>& choiceIds) override {
    questions.push_back({text, captionId});
    choices.push_back(choiceIds);
    if (answers.empty()) return static_cast<int>(choiceIds.size()) - 1;
    const std::function<int()> answer = answers.front();
    answers.erase(answers.begin());
    return answer();
  }
  std::optional<std::string> password;
  std::vector<std::function<int()>> answers;
  std::vector<ShownMessage> questions;
  std::vector<std::vector<int>> choices;
  int asked = 0;
  std::vector<ShownMessage> messages;
};

// Answers the next modal message box with OK and hands back its text.
inline void AnswerNextMessageBox(std::string* text) {
  QTimer::singleShot(0, [text] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      *text = box->text().toStdString();
      box->accept();
    } else {
      AnswerNextMessageBox(text);
    }
  });
}

// Runs `act` on the next modal dialog of type `Dialog` once it is shown (it must close it).
template <typename Dialog, typename Act>
void WithNextDialog(Act act) {
  QTimer::singleShot(0, [act] {
    if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
      act(dialog);
    } else {
      WithNextDialog<Dialog>(act);
    }
  });
}

// Saves a picture of `widget` as `name` in the folder $VANTOREL_DOC_SCREENSHOTS names, when set
// (the pictures of docs/ are made this way).
inline void SaveDocScreenshot(QWidget& widget, const std::string& name) {
  const char* folder = std::getenv("VANTOREL_DOC_SCREENSHOTS");
  if (folder == nullptr) return;
  EXPECT_TRUE(widget.grab().save(QString::fromStdString((std::filesystem::path(folder) / name).string()))) << name;
}

// Screens reached over the network at 127.0.0.1, one per port (numbered from 1, 64 x 32).
inline CScreenData LoopbackScreens(const std::vector<std::uint16_t>& ports) {
  CScreenData list;
  for (const std::uint16_t port : ports) {
    tagScreenInfo screen;
    screen.number = static_cast<std::uint8_t>(list.Count() + 1);
    screen.width = 64;
    screen.height = 32;
    tagCommInfo comm;
    comm.commType = 2;
    comm.ipAddr = 0x7F000001;
    comm.ipPort = port;
    EXPECT_TRUE(list.Append(screen, comm));
  }
  return list;
}

// `count` screens on the network at ports of 127.0.0.1 where no sign answers; `ports` gets them.
inline CScreenData UnreachableScreens(int count, std::vector<std::uint16_t>& ports) {
  for (int i = 0; i < count; ++i) ports.push_back(test::UnusedLoopbackPort());
  return LoopbackScreens(ports);
}

// Channels of the screens' own kind that wait `ms` for an answer.
inline ChannelOptions AnswerTimeout(int ms) {
  ChannelOptions options;
  options.timeoutMs = ms;
  return options;
}

// Chooses the row of `record` in the main window's program tree, as a click does.
inline void ChooseRecord(CMainFrame& frame, CVantorelApp& app, int record) {
  frame.Tree()->setCurrentItem(frame.Tree()->RowOf(record));
  QApplication::processEvents();
  ASSERT_EQ(app.Doc().CurrentRecord(), record);
}

// The colour the canvas shows at LED (x, y) of the screen, without alpha.
inline QRgb CanvasLed(CPlaybillCanvas& canvas, int x, int y) {
  const QImage shown = canvas.grab().toImage();
  const int zoom = canvas.Zoom();
  return shown.pixel(canvas.Origin() + QPoint(x * zoom + zoom / 2, y * zoom + zoom / 2)) & 0xFFFFFF;
}

class EditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    TestApplication();
    std::filesystem::create_directories(DataFolder());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString((m_root / "config").string()));
  }
  void TearDown() override {
    m_app.reset();
    SetLanguageTexts({});
  }

  std::filesystem::path DataFolder() const { return m_root / "data"; }
  CAppFolders Folders(const std::filesystem::path& programFolder = ProgramFolder()) const {
    return CAppFolders(programFolder, DataFolder());
  }
  // A new run of the editor on this test's folders.
  CVantorelApp& NewApp(const std::filesystem::path& programFolder = ProgramFolder()) {
    m_app.reset();
    m_app = std::make_unique<CVantorelApp>(Folders(programFolder), m_prompts, [this] { ++m_powerOffs; },
                                           [this] { return m_now; });
    return *m_app;
  }
  bool Start(std::vector<std::string> arguments = {"vantorel"}) { return m_app->StartUp(arguments); }
  // A new run of the editor, started, its canvas at `zoom`; `shown`: the window on screen at
  // 1100 x 800. Null when the start failed.
  CMainFrame* StartFrame(int zoom, bool shown = true) {
    NewApp();
    if (!Start()) return nullptr;
    CMainFrame* frame = m_app->MainFrame();
    frame->Canvas()->SetZoom(zoom);
    if (shown) {
      frame->resize(1100, 800);
      frame->show();
    }
    return frame;
  }

  test::TempFolder m_folder;
  const std::filesystem::path& m_root = m_folder.Path();
  FakePrompts m_prompts;
  int m_powerOffs = 0;
  int m_now = 12 * 256;
  std::unique_ptr<CVantorelApp> m_app;
};

}  // namespace vantorel::testing

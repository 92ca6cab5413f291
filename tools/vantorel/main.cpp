// vantorel: the playbill editor. "vantorel [/s<N>] [FILE]": "/s<N>" (or "-s<N>") opens the playbill
// of screen N, FILE (a playbill, .lpl) is then opened into it as File > Open does; Qt takes its own
// options. "--screenshot PNG" saves a picture of the main window once it is shown and ends the run
// (for documentation and checks).

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/app_folders.h"
#include "app/text_format.h"
#include "app/text_table.h"
#include "platform/power_off.h"
#include "platform/program_folder.h"
#include "ui/main_frame.h"
#include "ui/vantorel_app.h"

extern char** environ;

namespace {

constexpr int kScreenshotDelayMilliseconds = 1500;

bool HasDisplay(int argc, char** argv) {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    if (const char* value = std::getenv(variable); value && *value) return true;
  }
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "-platform") return true;
  }
  return false;
}

int RunCli(std::vector<std::string> arguments) {
  const std::string program = (vantorel::ExecutableFolder() / "vantorel-cli").string();
  arguments.insert(arguments.begin(), program);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return 1;
  int status = 0;
  if (waitpid(child, &status, 0) != child) return 1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

// Without a display: how to start the editor anyway, then the screens, the first playbill and the
// files its sign plays, made as File > Make data makes them.
int RunWithoutDisplay(const char* program) {
  std::cerr << vantorel::FormatText(vantorel::LoadText(vantorel::kTextNoDisplay).c_str(), program) << "\n\n";
  if (const int result = RunCli({"screens", "list"}); result != 0) return result;
  std::cout << '\n';
  if (const int result = RunCli({"playbill", "show", "--screen", "1"}); result != 0) return result;
  std::cout << '\n';
  return RunCli({"make", "--screen", "1"});
}

// Takes "--screenshot PNG" out of `arguments` and hands back the PNG; empty without the option.
QString TakeScreenshotFile(std::vector<std::string>& arguments) {
  const auto at = std::find(arguments.begin(), arguments.end(), "--screenshot");
  if (at == arguments.end() || at + 1 == arguments.end()) return {};
  const QString file = QString::fromStdString(*(at + 1));
  arguments.erase(at, at + 2);
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay(argc, argv)) return RunWithoutDisplay(argv[0]);

  QApplication application(argc, argv);
  // Groups the program's windows on the desktop's task bar.
  QGuiApplication::setDesktopFileName(QStringLiteral("Orvik.Vantorel.v1"));
  // The installed icon (share/icons/hicolor); a build tree has none and keeps the desktop's default.
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("vantorel")));
  std::vector<std::string> arguments;
  for (const QString& argument : QCoreApplication::arguments()) arguments.push_back(argument.toStdString());
  const QString screenshot = TakeScreenshotFile(arguments);

  vantorel::CDialogPrompts prompts;
  vantorel::CVantorelApp app(vantorel::CAppFolders::FromEnvironment(), prompts, [] { vantorel::PowerOffComputer(); });
  if (!app.StartUp(arguments)) return 1;

  if (!screenshot.isEmpty()) {
    QTimer::singleShot(kScreenshotDelayMilliseconds, &application, [&app, screenshot] {
      const bool saved = app.MainFrame()->grab().save(screenshot, "PNG");
      app.MainFrame()->close();
      QCoreApplication::exit(saved ? 0 : 1);
    });
  }
  return application.exec();
}

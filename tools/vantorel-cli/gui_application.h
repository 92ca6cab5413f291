#pragma once
// Text is laid out with Qt's fonts, which need an application object: the commands that draw
// make one, off screen unless told otherwise.

#include <QGuiApplication>

namespace vantorel::cli {

inline void MakeGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "vantorel-cli";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  (void)application;
}

}  // namespace vantorel::cli

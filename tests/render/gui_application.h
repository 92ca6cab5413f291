#pragma once
// Renderers that lay out outline text need a QGuiApplication (fonts); tests make one, offscreen.

#include <QGuiApplication>

namespace vantorel::test {

// Made once and never destroyed: documents and fonts of the tests must not outlive it at exit.
inline QGuiApplication& GuiApplication() {
  static int argc = 1;
  static char name[] = "render_tests";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  return *application;
}

}  // namespace vantorel::test

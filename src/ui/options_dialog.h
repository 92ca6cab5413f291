#pragma once
// The options dialog: three pages (view, system, custom) over the keys of the settings file.

#include <QDialog>

#include "app/options.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QTabWidget;
class QTimeEdit;

namespace vantorel {

class COptionsDlg : public QDialog {
  Q_OBJECT
public:
  explicit COptionsDlg(const AppOptions& options, QWidget* parent = nullptr);
  // The options as the dialog shows them now (the caller writes them back on OK).
  AppOptions Options() const;
  QTabWidget* Pages() const { return m_pages; }

private:
  QWidget* MakeViewPage();
  QWidget* MakeSystemPage();
  QWidget* MakeCustomPage();

  AppOptions m_options;
  QTabWidget* m_pages;
  // View
  QCheckBox* m_previewShow = nullptr;
  QCheckBox* m_previewTopmost = nullptr;
  QComboBox* m_previewAlign = nullptr;
  QComboBox* m_previewZoom = nullptr;
  QCheckBox* m_minimizeToTray = nullptr;
  QCheckBox* m_ledtoolPassword = nullptr;
  // System
  QCheckBox* m_autoShutdown = nullptr;
  QTimeEdit* m_shutdownTime = nullptr;
  // Custom
  QComboBox* m_textMode = nullptr;
  QComboBox* m_textSize = nullptr;
  QComboBox* m_effect = nullptr;
  QSpinBox* m_clockFormat = nullptr;
  QLineEdit* m_extendedAsciiName = nullptr;
  QCheckBox* m_oneButtonSend = nullptr;
  QCheckBox* m_packProgramFiles = nullptr;
  QCheckBox* m_convertVideo = nullptr;
  QCheckBox* m_removeFontSmooth = nullptr;
  QCheckBox* m_runschBlank = nullptr;
};

}  // namespace vantorel

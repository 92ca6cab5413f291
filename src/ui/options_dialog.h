#pragma once
// The options dialog: three pages (view, system, custom) over the keys of the settings file.
// An option whose feature the editor does not have yet is shown disabled, with a tooltip that
// says when it takes effect; OK keeps its stored value whatever the control shows.

#include <QDialog>
#include <QList>

#include "app/options.h"
#include "app/text_ids.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
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
  // Disables `control` and the label of its row in `form`, both with the tooltip `reason`.
  void WaitForFeature(QFormLayout* form, QWidget* control, TextId reason);
  // Stores the value a control shows in `value`, unless the control waits for its feature.
  void Read(const QCheckBox* box, int& value) const;
  void Read(const QComboBox* combo, int& value) const;
  void Read(const QSpinBox* spin, int& value) const;

  AppOptions m_options;
  QTabWidget* m_pages;
  QList<const QWidget*> m_waiting;
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

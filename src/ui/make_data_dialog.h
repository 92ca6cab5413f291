#pragma once
// "Make data": the files the current screen's sign plays, made from its playbill on a worker
// thread while this dialog shows the item being made and a progress bar; the editor stays usable.
// At the end the dialog says what was made (files, bytes, shared programs, the output folder) and
// every note of the run, or why it failed.

#include <QDialog>

#include <memory>

#include "maker/screen_files.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace vantorel {

class CBackgroundTask;

class CMakeDataDlg : public QDialog {
  Q_OBJECT
public:
  // Starts making at once; `job` is the dialog's own copy.
  CMakeDataDlg(ScreenFilesJob job, const QString& screenName, QWidget* parent = nullptr);
  ~CMakeDataDlg() override;

  bool IsRunning() const;
  QProgressBar* Progress() const { return m_progress; }
  QLabel* Step() const { return m_step; }
  QPlainTextEdit* Summary() const { return m_summary; }
  QPushButton* CancelButton() const { return m_cancel; }
  QPushButton* CloseButton() const { return m_close; }

Q_SIGNALS:
  // The run ended: `made` when the files were written.
  void makeFinished(bool made);

private:
  void Finished(bool ok, bool cancelled, const QString& message);
  void reject() override;

  ScreenFilesJob m_job;
  std::shared_ptr<MakeResult> m_result;
  CBackgroundTask* m_task = nullptr;
  QLabel* m_step = nullptr;
  QProgressBar* m_progress = nullptr;
  QPlainTextEdit* m_summary = nullptr;
  QPushButton* m_cancel = nullptr;
  QPushButton* m_close = nullptr;
};

// The words of a finished run, one fact a line.
QString MakeSummaryText(const MakeResult& result, const std::filesystem::path& outputFolder);

}  // namespace vantorel

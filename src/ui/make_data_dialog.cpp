#include "ui/make_data_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>

#include "app/app_folders.h"
#include "app/status_text.h"
#include "app/text_ids.h"
#include "ui/background_task.h"
#include "ui/command_ids.h"
#include "ui/ui_text.h"

namespace vantorel {
namespace {

// Reports the run's steps to the dialog's widgets through queued calls: the observer lives on the
// worker thread and never touches a widget itself.
class CDialogObserver : public CMakeObserver {
public:
  CDialogObserver(QLabel* step, const std::function<void(int)>& percent) : m_step(step), m_percent(percent) {}

  void Progress(int done, int total, const std::string& step) override {
    m_percent(total > 0 ? done * 100 / total : 100);
    QMetaObject::invokeMethod(m_step, [label = m_step, text = QString::fromStdString(step)] { label->setText(text); },
                              Qt::QueuedConnection);
  }

private:
  QPointer<QLabel> m_step;
  const std::function<void(int)>& m_percent;
};

}  // namespace

QString MakeSummaryText(const MakeResult& result, const std::filesystem::path& outputFolder) {
  QStringList lines;
  lines << FormattedText(kTextMadeFiles, std::to_string(result.files.size()) + " (" + std::to_string(result.bytes) + " bytes)");
  lines << FormattedText(kTextOutputFolder, outputFolder.string());
  lines << FormattedText(kTextProgramsMade, std::to_string(result.programs));
  lines << FormattedText(kTextProgramsShared, std::to_string(result.sharedPrograms));
  lines << FormattedText(kTextItemsMade, std::to_string(result.items));
  lines << FormattedText(kTextItemsLeftOut, std::to_string(result.leftOut));
  for (const std::filesystem::path& file : result.files) lines << QStringLiteral("  ") + QString::fromStdString(file.filename().string());
  for (const std::filesystem::path& file : result.externalFiles) lines << QStringLiteral("  + ") + QString::fromStdString(file.string());
  for (const Status& note : result.notes) lines << QString::fromStdString(StatusMessage(note));
  return lines.join(QLatin1Char('\n'));
}

CMakeDataDlg::CMakeDataDlg(ScreenFilesJob job, const QString& screenName, QWidget* parent)
    : QDialog(parent), m_job(std::move(job)), m_result(std::make_shared<MakeResult>()) {
  setObjectName(QStringLiteral("MakeDataDialog"));
  setWindowTitle(FormattedText(kTextMakingData, screenName.toStdString()));
  m_step = new QLabel(this);
  m_step->setObjectName(QStringLiteral("MakeStep"));
  m_progress = new QProgressBar(this);
  m_progress->setObjectName(QStringLiteral("MakeProgress"));
  m_progress->setRange(0, 100);
  m_summary = new QPlainTextEdit(this);
  m_summary->setObjectName(QStringLiteral("MakeSummary"));
  m_summary->setReadOnly(true);
  m_summary->hide();
  m_cancel = new QPushButton(Text(kTextCancel), this);
  m_cancel->setObjectName(QStringLiteral("CancelMake"));
  m_close = new QPushButton(Text(kTextClose), this);
  m_close->setObjectName(QStringLiteral("CloseMake"));
  m_close->setEnabled(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_cancel);
  buttons->addWidget(m_close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_step);
  layout->addWidget(m_progress);
  layout->addWidget(m_summary, 1);
  layout->addLayout(buttons);
  resize(520, 160);

  m_task = new CBackgroundTask(this);
  connect(m_task, &CBackgroundTask::progressed, m_progress, &QProgressBar::setValue);
  connect(m_task, &CBackgroundTask::finished, this, &CMakeDataDlg::Finished);
  connect(m_cancel, &QPushButton::clicked, m_task, &CBackgroundTask::Cancel);
  connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
  m_task->Start([job = m_job, result = m_result, step = m_step](const std::atomic<bool>& cancel,
                                                                  const std::function<void(int)>& percent) -> Status {
    CDialogObserver observer(step, percent);
    *result = MakeScreenFiles(job, &observer, &cancel);
    return result->made ? Status::Ok() : result->failure;
  });
}

CMakeDataDlg::~CMakeDataDlg() = default;

bool CMakeDataDlg::IsRunning() const { return m_task->IsRunning(); }

void CMakeDataDlg::Finished(bool ok, bool cancelled, const QString& message) {
  m_cancel->setEnabled(false);
  m_close->setEnabled(true);
  m_close->setDefault(true);
  m_progress->setValue(ok ? 100 : m_progress->value());
  m_step->setText(ok ? Text(kTextDataMade) : (cancelled ? Text(kTextMakeCancelled) : message));
  const std::filesystem::path folder =
      m_job.outputFolder.empty() ? m_job.workFolder / kOutputFolderName : m_job.outputFolder;
  if (ok) {
    m_summary->setPlainText(MakeSummaryText(*m_result, folder));
    m_summary->show();
    resize(width(), 360);
  }
  Q_EMIT makeFinished(ok);
}

void CMakeDataDlg::reject() {
  // Closing the window while it works cancels the run; the window closes when it has stopped.
  if (m_task->IsRunning()) {
    m_task->Cancel();
    return;
  }
  QDialog::reject();
}

}  // namespace vantorel

#include "ui/background_task.h"

#include <QMetaObject>
#include <QPointer>

#include "app/status_text.h"

namespace vantorel {

CBackgroundTask::~CBackgroundTask() {
  m_cancel = true;
  if (m_thread.joinable()) m_thread.join();
}

bool CBackgroundTask::Start(Work work) {
  if (m_running) return false;
  if (m_thread.joinable()) m_thread.join();
  m_cancel = false;
  m_running = true;
  m_thread = std::thread([this, work = std::move(work)] {
    const auto progress = [this](int percent) {
      QMetaObject::invokeMethod(this, [this, percent] { Q_EMIT progressed(percent); }, Qt::QueuedConnection);
    };
    const Status status = work(m_cancel, progress);
    const bool cancelled = m_cancel.load();
    const QString message = status ? QString() : QString::fromStdString(StatusMessage(status));
    // The object outlives the thread (its destructor joins), so the queued call finds it.
    QMetaObject::invokeMethod(
        this,
        [this, ok = status.ok(), cancelled, message] {
          m_running = false;
          Q_EMIT finished(ok, cancelled, message);
        },
        Qt::QueuedConnection);
  });
  return true;
}

}  // namespace vantorel

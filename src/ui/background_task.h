#pragma once
// One long piece of work (a video conversion) on a thread of its own, so that the editor stays
// usable: its progress and its end come back to the user-interface thread as signals, and it can
// be cancelled. Destroying the object cancels the work and waits for it.

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <thread>

#include "platform/status.h"

namespace vantorel {

class CBackgroundTask : public QObject {
  Q_OBJECT
public:
  // The work: told whether to stop, and how to report a percentage (0..100) from its thread.
  using Work = std::function<Status(const std::atomic<bool>& cancel, const std::function<void(int)>& progress)>;

  explicit CBackgroundTask(QObject* parent = nullptr) : QObject(parent) {}
  ~CBackgroundTask() override;

  // Starts `work`; false while earlier work still runs.
  bool Start(Work work);
  void Cancel() { m_cancel = true; }
  bool IsRunning() const { return m_running; }

Q_SIGNALS:
  void progressed(int percent);
  // The end: `ok`, or the failure in words; `cancelled` when Cancel stopped it.
  void finished(bool ok, bool cancelled, const QString& message);

private:
  std::thread m_thread;
  std::atomic<bool> m_cancel = false;
  bool m_running = false;
};

}  // namespace vantorel

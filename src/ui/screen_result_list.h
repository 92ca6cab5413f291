#pragma once
// The screen list of the controller settings dialogs: one row per screen with a tick box and the
// result of the last operation beside it, "Select all", "Unselect all" and "Copy" (the list as
// text). An operation runs on the ticked screens (or on given rows) one after another on a worker
// thread, so the editor stays usable; the results appear when the last screen is done.

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

#include "screen/screen_data.h"
#include "send/controller_operations.h"

class QTreeWidget;

namespace vantorel {

class CBackgroundTask;

class CScreenResultList : public QWidget {
  Q_OBJECT
public:
  // What runs on the worker for one screen. It may keep more than the result in what it
  // captures: the user-interface thread reads that only after `finished`.
  using Action = std::function<ScreenResult(const SettingsScreen&, const ChannelOptions&)>;

  // `options`: how channels are made (the screens' own settings by default). The first screen is
  // ticked and chosen.
  CScreenResultList(const CScreenData& screens, ChannelOptions options, QWidget* parent = nullptr);
  ~CScreenResultList() override;

  QTreeWidget* Tree() const { return m_tree; }
  const CScreenData& List() const { return m_list; }
  // The rows (0-based) whose box is ticked.
  std::vector<int> TickedRows() const;
  // The chosen (highlighted) row, or -1.
  int CurrentRow() const;
  bool IsRunning() const;

  // Runs `action` on the screens of `rows`; their results are cleared first. False (and nothing
  // runs) when `rows` is empty or an operation still runs.
  bool Run(const std::vector<int>& rows, Action action);
  // Run on the ticked rows; with none ticked it says "No any LED screen is selected!".
  bool RunOnTicked(Action action);

  // The results of the last run, in the order of its rows; valid after `finished`.
  const std::vector<ScreenResult>& Results() const { return *m_results; }
  // One line per screen: its name, a tab and its result.
  QString ResultsText() const;

Q_SIGNALS:
  void started();
  // Every screen of the run is done and its result shown.
  void finished();

private:
  void ShowResults();
  void TickAll(bool ticked);

  CScreenData m_list;
  ChannelOptions m_options;
  CBackgroundTask* m_task = nullptr;
  std::shared_ptr<std::vector<ScreenResult>> m_results;
  QTreeWidget* m_tree = nullptr;
};

}  // namespace vantorel

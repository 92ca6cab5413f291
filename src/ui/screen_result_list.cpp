#include "ui/screen_result_list.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/text_ids.h"
#include "ui/background_task.h"
#include "ui/ui_text.h"

namespace vantorel {

namespace {

constexpr int kNameColumn = 0;
constexpr int kResultColumn = 1;

}  // namespace

CScreenResultList::CScreenResultList(const CScreenData& screens, ChannelOptions options, QWidget* parent)
    : QWidget(parent), m_list(screens), m_options(std::move(options)),
      m_results(std::make_shared<std::vector<ScreenResult>>()) {
  m_tree = new QTreeWidget(this);
  m_tree->setColumnCount(2);
  m_tree->setHeaderLabels({Text(kTextScreenColumn), Text(kTextResultColumn)});
  m_tree->setRootIsDecorated(false);
  for (int index = 0; index < m_list.Count(); ++index) {
    auto* item = new QTreeWidgetItem(m_tree);
    item->setText(kNameColumn, QString::fromStdString(m_list.DisplayName(index)));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(kNameColumn, index == 0 ? Qt::Checked : Qt::Unchecked);
  }
  if (m_tree->topLevelItemCount() > 0) m_tree->setCurrentItem(m_tree->topLevelItem(0));
  m_tree->header()->setSectionResizeMode(kNameColumn, QHeaderView::ResizeToContents);
  m_tree->header()->setSectionResizeMode(kResultColumn, QHeaderView::Stretch);
  m_tree->setMinimumWidth(420);

  auto* selectAll = new QPushButton(Text(kTextSelectAll), this);
  auto* unselectAll = new QPushButton(Text(kTextUnselectAll), this);
  auto* copy = new QPushButton(Text(kTextCopyResults), this);
  connect(selectAll, &QPushButton::clicked, this, [this] { TickAll(true); });
  connect(unselectAll, &QPushButton::clicked, this, [this] { TickAll(false); });
  connect(copy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(ResultsText()); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(selectAll);
  buttons->addWidget(unselectAll);
  buttons->addWidget(copy);
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_tree);
  layout->addLayout(buttons);

  m_task = new CBackgroundTask(this);
  connect(m_task, &CBackgroundTask::finished, this, [this](bool, bool, const QString&) {
    ShowResults();
    Q_EMIT finished();
  });
}

CScreenResultList::~CScreenResultList() = default;

bool CScreenResultList::IsRunning() const { return m_task->IsRunning(); }

std::vector<int> CScreenResultList::TickedRows() const {
  std::vector<int> rows;
  for (int row = 0; row < m_tree->topLevelItemCount(); ++row) {
    if (m_tree->topLevelItem(row)->checkState(kNameColumn) == Qt::Checked) rows.push_back(row);
  }
  return rows;
}

int CScreenResultList::CurrentRow() const {
  QTreeWidgetItem* current = m_tree->currentItem();
  return current == nullptr ? -1 : m_tree->indexOfTopLevelItem(current);
}

void CScreenResultList::TickAll(bool ticked) {
  for (int row = 0; row < m_tree->topLevelItemCount(); ++row) {
    m_tree->topLevelItem(row)->setCheckState(kNameColumn, ticked ? Qt::Checked : Qt::Unchecked);
  }
}

bool CScreenResultList::RunOnTicked(Action action) {
  const std::vector<int> rows = TickedRows();
  if (rows.empty()) {
    ShowMessage(this, Text(kTextNoScreenSelected), kTextPrompt, QMessageBox::Information);
    return false;
  }
  return Run(rows, std::move(action));
}

bool CScreenResultList::Run(const std::vector<int>& rows, Action action) {
  if (rows.empty() || IsRunning()) return false;
  std::vector<SettingsScreen> targets;
  for (const int row : rows) {
    if (!m_list.IsValidIndex(row)) continue;
    m_tree->topLevelItem(row)->setText(kResultColumn, QString());
    targets.push_back(SettingsScreenOf(m_list, row));
  }
  if (targets.empty()) return false;
  m_results->clear();
  auto results = m_results;
  const ChannelOptions options = m_options;
  m_task->Start([targets, action, options, results](const std::atomic<bool>& cancel, const std::function<void(int)>& progress) {
    std::vector<ScreenResult> done;
    for (std::size_t i = 0; i < targets.size() && !cancel; ++i) {
      done.push_back(action(targets[i], options));
      progress(static_cast<int>((i + 1) * 100 / targets.size()));
    }
    *results = std::move(done);  // read by the user-interface thread only after the end
    return Status::Ok();
  });
  Q_EMIT started();
  return true;
}

void CScreenResultList::ShowResults() {
  for (const ScreenResult& result : *m_results) {
    QTreeWidgetItem* item = m_tree->topLevelItem(result.screen - 1);
    if (item != nullptr) item->setText(kResultColumn, QString::fromStdString(ResultText(result)).trimmed());
  }
}

QString CScreenResultList::ResultsText() const {
  QString text;
  for (int row = 0; row < m_tree->topLevelItemCount(); ++row) {
    const QTreeWidgetItem* item = m_tree->topLevelItem(row);
    text += item->text(kNameColumn) + QLatin1Char('\t') + item->text(kResultColumn) + QLatin1Char('\n');
  }
  return text;
}

}  // namespace vantorel

#include "ui/program_tree.h"

#include <QHeaderView>

#include "playbill/prg_list_doc.h"
#include "ui/kind_icons.h"

namespace vantorel {
namespace {

constexpr int kRecordRole = Qt::UserRole;

}  // namespace

CProgramTree::CProgramTree(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setIconSize(QSize(18, 18));
  connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
    if (!m_rebuilding && current) Q_EMIT recordChosen(RecordOf(current));
  });
}

void CProgramTree::Rebuild(const CPrgListDoc& doc) {
  m_rebuilding = true;
  clear();
  QTreeWidgetItem* program = nullptr;
  QTreeWidgetItem* window = nullptr;
  const PrgList& records = doc.Records();
  for (int i = 0; i < static_cast<int>(records.size()); ++i) {
    const tagPrgItem& record = records[static_cast<std::size_t>(i)];
    QTreeWidgetItem* row = nullptr;
    if (record.IsProgram()) {
      row = program = new QTreeWidgetItem(this);
      window = nullptr;
    } else if (record.IsWindow() && program) {
      row = window = new QTreeWidgetItem(program);
    } else if (record.IsItem() && window) {
      row = new QTreeWidgetItem(window);
    } else {
      continue;  // a record out of place has no row; the document keeps the invariants
    }
    row->setText(0, QString::fromStdString(doc.DisplayName(i)));
    row->setIcon(0, RecordIcon(record));
    row->setData(0, kRecordRole, i);
  }
  expandAll();
  if (QTreeWidgetItem* selected = RowOf(doc.CurrentRecord())) setCurrentItem(selected);
  m_rebuilding = false;
}

int CProgramTree::RecordOf(const QTreeWidgetItem* row) { return row ? row->data(0, kRecordRole).toInt() : -1; }

QTreeWidgetItem* CProgramTree::RowOf(int record) const {
  for (QTreeWidgetItemIterator it(const_cast<CProgramTree*>(this)); *it; ++it) {
    if (RecordOf(*it) == record) return *it;
  }
  return nullptr;
}

}  // namespace vantorel

#pragma once
// The program tree: the current playbill's programs, their windows and the windows' items, each
// with its display name and kind icon. Choosing a row selects that record in the document.

#include <QTreeWidget>

namespace vantorel {

class CPrgListDoc;

class CProgramTree : public QTreeWidget {
  Q_OBJECT
public:
  explicit CProgramTree(QWidget* parent = nullptr);

  // Rebuilds the rows from `doc` and shows its selected record.
  void Rebuild(const CPrgListDoc& doc);
  // The record index a row stands for.
  static int RecordOf(const QTreeWidgetItem* row);
  QTreeWidgetItem* RowOf(int record) const;

Q_SIGNALS:
  void recordChosen(int record);

private:
  bool m_rebuilding = false;
};

}  // namespace vantorel

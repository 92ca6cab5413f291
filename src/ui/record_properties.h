#pragma once
// What the property editors of programs, windows and items share: the record shown, the texts a
// language switch sets again, and the report of a changed record.

#include <QWidget>

#include "playbill/prg_item.h"
#include "ui/property_fields.h"

namespace vantorel {

class CRecordProperties : public QWidget {
  Q_OBJECT
public:
  using QWidget::QWidget;

  // Shows `record` without reporting anything.
  virtual void Show(const tagPrgItem& record) = 0;
  // Every text again (after a language switch), then the record as it is.
  virtual void Retranslate();

Q_SIGNALS:
  // `record` is the shown record with one change; `field` says which (an editor's own numbers).
  void edited(const vantorel::tagPrgItem& record, int field);

protected:
  // Fills the lists whose entries come from the text table.
  virtual void FillChoices() = 0;
  // Reports the shown record with `change` applied to it.
  template <typename Change>
  void Edit(int field, Change change) {
    tagPrgItem record = m_record;
    change(record);
    Q_EMIT edited(record, field);
  }

  tagPrgItem m_record;
  CWidgetTexts m_texts;
};

}  // namespace vantorel

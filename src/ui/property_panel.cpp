#include "ui/property_panel.h"

#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/text_ids.h"
#include "playbill/prg_list_doc.h"
#include "ui/cell_text_editor.h"
#include "ui/face_item_properties.h"
#include "ui/item_properties.h"
#include "ui/media_item_properties.h"
#include "ui/program_properties.h"
#include "ui/ui_text.h"
#include "ui/window_properties.h"

namespace vantorel {

CPropertyPanel::CPropertyPanel(CPrgListDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc) {
  setObjectName(QStringLiteral("PropertyPanel"));
  m_title = new QLabel(this);
  m_title->setObjectName(QStringLiteral("PropertyTitle"));
  QFont bold = m_title->font();
  bold.setBold(true);
  m_title->setFont(bold);
  m_nothing = new QLabel(this);
  m_nothing->setWordWrap(true);
  m_nothing->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_program = new CProgramProperties(this);
  m_window = new CWindowProperties(this);
  m_item = new CItemProperties(this);
  m_pages = new QStackedWidget(this);
  for (QWidget* page : std::initializer_list<QWidget*>{m_nothing, m_program, m_window, m_item}) m_pages->addWidget(page);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_title);
  layout->addWidget(m_pages);
  layout->addStretch(1);

  for (CRecordProperties* editor : std::initializer_list<CRecordProperties*>{m_program, m_window, m_item}) {
    connect(editor, &CRecordProperties::edited, this, &CPropertyPanel::ApplyRecord);
  }
  connect(m_window, &CWindowProperties::rectEdited, this, &CPropertyPanel::ApplyRect);
  Retranslate();
}

void CPropertyPanel::SetBackgroundActions(QAction* choose, QAction* clear) { m_program->SetBackgroundActions(choose, clear); }

void CPropertyPanel::ApplyRecord(const tagPrgItem& record, int field) {
  m_doc.ReplaceRecord(m_record, record, FieldEdit(m_record, field));
  Q_EMIT documentEdited();
}

void CPropertyPanel::ApplyRect(WindowRect rect, int field) {
  // Shown again in any case: what the document kept on the screen may differ from what was typed.
  m_doc.SetWindowRect(m_record, rect, FieldEdit(m_record, field));
  Q_EMIT documentEdited();
}

void CPropertyPanel::Refresh() {
  const int record = m_doc.CurrentRecord();
  m_record = record;
  if (record < 0) {
    m_title->clear();
    m_pages->setCurrentWidget(m_nothing);
    return;
  }
  const tagPrgItem& shown = m_doc.Record(record);
  m_title->setText(QString::fromStdString(m_doc.DisplayName(record)));
  if (shown.IsProgram()) {
    m_program->Show(shown);
    m_pages->setCurrentWidget(m_program);
  } else if (shown.IsWindow()) {
    m_window->Show(shown);
    m_pages->setCurrentWidget(m_window);
  } else if (shown.IsItem()) {
    if (shown.item.actType == kKindCellText) {
      const int window = m_doc.Selection().windowRecord;
      CellTextContext context;
      if (m_doc.Screens().Count() > 0) context.screen = m_doc.CurrentScreen();
      if (window >= 0) context.window = QSize(m_doc.Record(window).window.width, m_doc.Record(window).window.height);
      context.folder = m_doc.WorkFolder();
      if (m_fontLibrary) context.fontLibrary = m_fontLibrary();
      m_item->CellTextEditor()->SetContext(std::move(context));
    }
    if (IsFaceKind(shown.item.actType)) {
      FaceContext context;
      if (m_doc.Screens().Count() > 0) context.screen = m_doc.CurrentScreen();
      if (m_fontLibrary) context.fontLibrary = m_fontLibrary();
      context.now = CurrentLocalTime();
      m_item->FaceEditor()->SetContext(std::move(context));
    }
    if (IsMediaItemKind(shown.item.actType)) {
      const int window = m_doc.Selection().windowRecord;
      MediaContext context;
      if (m_doc.Screens().Count() > 0) context.screen = m_doc.CurrentScreen();
      if (window >= 0) context.window = QSize(m_doc.Record(window).window.width, m_doc.Record(window).window.height);
      context.folder = m_doc.WorkFolder();
      m_item->MediaEditor()->SetContext(std::move(context));
    }
    m_item->Show(shown);
    m_pages->setCurrentWidget(m_item);
  } else {
    m_pages->setCurrentWidget(m_nothing);
  }
}

void CPropertyPanel::Retranslate() {
  m_nothing->setText(Text(kTextNoRecordSelected));
  m_program->Retranslate();
  m_window->Retranslate();
  m_item->Retranslate();
  Refresh();
}

}  // namespace vantorel

#pragma once
// The property panel beside the canvas: the display name of the selected record and the editor of
// its level (program, window, or the settings every item has). Edits go to the document as they
// are made; the main window then refreshes its views.

#include <QWidget>

#include <functional>
#include <memory>

#include "playbill/cross_layout.h"
#include "playbill/prg_item.h"
#include "render/dot_font.h"

class QAction;
class QLabel;
class QStackedWidget;

namespace vantorel {

class CItemProperties;
class CPrgListDoc;
class CProgramProperties;
class CWindowProperties;

class CPropertyPanel : public QWidget {
  Q_OBJECT
public:
  CPropertyPanel(CPrgListDoc& doc, QWidget* parent);

  // The background buttons of the program editor run these commands.
  void SetBackgroundActions(QAction* choose, QAction* clear);
  // Where the "Text mode" editor takes the current font library from.
  void SetFontLibrarySource(std::function<std::shared_ptr<CTwFont>()> source) { m_fontLibrary = std::move(source); }
  // Shows the document's selected record as it is now.
  void Refresh();
  void Retranslate();

  CProgramProperties* ProgramEditor() const { return m_program; }
  CWindowProperties* WindowEditor() const { return m_window; }
  CItemProperties* ItemEditor() const { return m_item; }

Q_SIGNALS:
  // The document changed through the panel.
  void documentEdited();

private:
  void ApplyRecord(const tagPrgItem& record, int field);
  void ApplyRect(WindowRect rect, int field);

  CPrgListDoc& m_doc;
  QLabel* m_title = nullptr;
  QStackedWidget* m_pages = nullptr;
  QLabel* m_nothing = nullptr;
  CProgramProperties* m_program = nullptr;
  CWindowProperties* m_window = nullptr;
  CItemProperties* m_item = nullptr;
  std::function<std::shared_ptr<CTwFont>()> m_fontLibrary;
  int m_record = -1;  // the record shown
};

}  // namespace vantorel

#include "ui/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

#include "app/app_log.h"
#include "app/status_text.h"
#include "app/text_format.h"
#include "app/text_table.h"
#include "codecs/picture_file.h"
#include "playbill/document_session.h"
#include "playbill/playbill_file_name.h"
#include "playbill/playbill_transfer.h"
#include "render/faces/face_page.h"
#include "screen/colour_modes.h"
#include "screen/controller_types.h"
#include "screen/part_list.h"
#include "screen/screen_manager_rules.h"
#include "screen/screen_wizard.h"
#include "ui/auto_task_dialog.h"
#include "ui/board_time_dialog.h"
#include "ui/comm_setting_dialog.h"
#include "ui/command_ids.h"
#include "ui/font_setting_dialog.h"
#include "ui/import_dialogs.h"
#include "ui/instant_message_dialog.h"
#include "ui/language_dialog.h"
#include "ui/make_data_dialog.h"
#include "ui/media_item_properties.h"
#include "ui/options_dialog.h"
#include "ui/password_dialogs.h"
#include "ui/playbill_canvas.h"
#include "ui/program_tree.h"
#include "ui/property_panel.h"
#include "ui/schedule_dialog.h"
#include "ui/screen_editor_dialog.h"
#include "ui/screen_manager_dialog.h"
#include "ui/start_view.h"
#include "ui/toolbar_icons.h"
#include "ui/ui_text.h"
#include "ui/utility_programs.h"
#include "ui/vantorel_app.h"

namespace vantorel {
namespace {

constexpr int kZoomSteps[] = {1, 2, 3, 4, 6, 8, 12, 16, 24, 32};

PasswordKind PasswordKindOf(int command) {
  switch (command) {
    case kCmdChangeAdminPassword: return PasswordKind::Administrator;
    case kCmdChangeAdvancedPassword: return PasswordKind::Advanced;
    default: return PasswordKind::Startup;
  }
}

// The answers to a save that failed while closing, in the order of their buttons.
enum CloseAnswer { kCloseRetry, kCloseDiscard, kCloseCancel };

}  // namespace

CMainFrame::CMainFrame(CVantorelApp& app) : m_app(app) {
  setObjectName(QStringLiteral("MainFrame"));
  setWindowIcon(CommandIcon(kCmdFirstLayout + 3));
  m_tree = new CProgramTree(this);
  m_canvas = new CPlaybillCanvas(this);
  m_canvasArea = new QScrollArea(this);
  m_canvasArea->setWidget(m_canvas);
  m_canvasArea->setWidgetResizable(true);
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->addWidget(m_tree);
  splitter->addWidget(m_canvasArea);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({260, 900});
  m_editorPage = splitter;
  m_startView = new CScrListView(this);
  m_pages = new QStackedWidget(this);
  m_pages->addWidget(m_editorPage);
  m_pages->addWidget(m_startView);
  setCentralWidget(m_pages);

  CreateMenus();
  CreateToolBar();
  CreateStatusBar();
  CreateUndoCommands();
  CreatePropertyPanel();
  connect(m_tree, &CProgramTree::recordChosen, this, &CMainFrame::SelectRecord);
  connect(m_canvas, &CPlaybillCanvas::windowClicked, this, &CMainFrame::SelectRecord);
  connect(m_canvas, &CPlaybillCanvas::windowDragged, this, &CMainFrame::ApplyWindowDrag);
  m_clockTimer = new QTimer(this);
  m_clockTimer->setInterval(1000);
  connect(m_clockTimer, &QTimer::timeout, this, &CMainFrame::TickClocks);
  m_clockTimer->start();
  connect(m_startView, &CScrListView::wizardChosen, this, &CMainFrame::DefineByWizard);
  connect(m_startView, &CScrListView::loadChosen, this, &CMainFrame::DefineFromFile);
  connect(m_startView, &CScrListView::manualChosen, this, &CMainFrame::DefineManually);
  connect(m_startView, &CScrListView::defaultChosen, this, &CMainFrame::DefineDefault);
  Retranslate();
}

QAction* CMainFrame::AddAction(int command) {
  auto* action = new QAction(CommandIcon(command), QString(), this);
  m_actions.emplace(command, action);
  connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
  return action;
}

QAction* CMainFrame::Action(int command) const {
  const auto found = m_actions.find(command);
  return found == m_actions.end() ? nullptr : found->second;
}

std::vector<QMenu*> CMainFrame::Menus() const {
  return {m_fileMenu, m_editMenu, m_layoutMenu, m_viewMenu, m_toolsMenu, m_controllerMenu, m_helpMenu};
}

void CMainFrame::CreateMenus() {
  m_fileMenu = menuBar()->addMenu(QString());
  m_fileMenu->addAction(AddAction(kCmdFileOpen));
  m_fileMenu->addAction(AddAction(kCmdFileSave));
  m_fileMenu->addAction(AddAction(kCmdFileSaveAs));
  m_fileMenu->addSeparator();
  m_fileMenu->addAction(AddAction(kCmdImportPlaybill));
  m_fileMenu->addAction(AddAction(kCmdExportPlaybill));
  m_fileMenu->addSeparator();
  m_fileMenu->addAction(AddAction(kCmdMakeData));
  m_fileMenu->addSeparator();
  m_fileMenu->addAction(AddAction(kCmdExit));
  Action(kCmdFileOpen)->setShortcut(QKeySequence::Open);
  Action(kCmdFileSave)->setShortcut(QKeySequence::Save);
  Action(kCmdExit)->setShortcut(QKeySequence::Quit);

  m_editMenu = menuBar()->addMenu(QString());
  m_editMenu->addAction(AddAction(kCmdNewProgram));
  m_editMenu->addAction(AddAction(kCmdDeleteProgram));
  m_editMenu->addSeparator();
  m_editMenu->addAction(AddAction(kCmdAddItem));
  m_editMenu->addAction(AddAction(kCmdAddPicture));
  m_editMenu->addAction(AddAction(kCmdDeleteItem));
  m_editMenu->addSeparator();
  m_editMenu->addAction(AddAction(kCmdMoveProgramUp));
  m_editMenu->addAction(AddAction(kCmdMoveProgramDown));
  m_editMenu->addSeparator();
  m_layoutMenu = m_editMenu->addMenu(QString());
  for (int layout = 0; layout < kLayoutCount; ++layout) m_layoutMenu->addAction(AddAction(kCmdFirstLayout + layout));
  m_editMenu->addSeparator();
  m_editMenu->addAction(AddAction(kCmdSetBackground));
  m_editMenu->addAction(AddAction(kCmdClearBackground));
  m_editMenu->addSeparator();
  m_editMenu->addAction(AddAction(kCmdEditSchedule));

  m_viewMenu = menuBar()->addMenu(QString());
  for (const int command : {kCmdViewToolBar, kCmdViewStatusBar}) {
    QAction* toggle = AddAction(command);
    toggle->setCheckable(true);
    toggle->setChecked(true);
    m_viewMenu->addAction(toggle);
  }
  m_viewMenu->addSeparator();
  m_viewMenu->addAction(AddAction(kCmdZoomIn));
  m_viewMenu->addAction(AddAction(kCmdZoomOut));
  Action(kCmdZoomIn)->setShortcut(QKeySequence::ZoomIn);
  Action(kCmdZoomOut)->setShortcut(QKeySequence::ZoomOut);

  // The fourth menu: the plug-ins add their entries at its end.
  m_toolsMenu = menuBar()->addMenu(QString());
  m_toolsMenu->addAction(AddAction(kCmdScreenManager));
  m_toolsMenu->addSeparator();
  m_toolsMenu->addAction(AddAction(kCmdOptions));
  m_toolsMenu->addAction(AddAction(kCmdLanguage));
  m_toolsMenu->addSeparator();
  m_toolsMenu->addAction(AddAction(kCmdChangeAdminPassword));
  m_toolsMenu->addAction(AddAction(kCmdChangeStartupPassword));
  bool separated = false;
  for (const UtilityKind kind : kUtilityKinds) {
    if (FindUtility(kind).isEmpty()) continue;
    if (!separated) m_toolsMenu->addSeparator();
    separated = true;
    m_toolsMenu->addAction(AddAction(UtilityCommand(kind)));
  }

  m_controllerMenu = menuBar()->addMenu(QString());
  m_controllerMenu->addAction(AddAction(kCmdBoardTime));
  m_controllerMenu->addAction(AddAction(kCmdInstantMessage));
  m_controllerMenu->addAction(AddAction(kCmdFontSetting));
  m_controllerMenu->addAction(AddAction(kCmdCommSetting));
  m_controllerMenu->addAction(AddAction(kCmdAutoTask));

  m_helpMenu = menuBar()->addMenu(QString());
  m_helpMenu->addAction(AddAction(kCmdAbout));
}

void CMainFrame::CreateToolBar() {
  m_toolBar = addToolBar(QString());
  m_toolBar->setObjectName(QStringLiteral("MainToolBar"));
  m_toolBar->setIconSize(QSize(24, 24));
  m_screenLabel = new QLabel(m_toolBar);
  m_screenLabel->setContentsMargins(6, 0, 4, 0);
  m_screenChooser = new QComboBox(m_toolBar);
  m_screenChooser->setObjectName(QStringLiteral("ScreenChooser"));
  m_screenChooser->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  connect(m_screenChooser, &QComboBox::activated, this, [this](int index) { SwitchScreen(index); });
  m_toolBar->addWidget(m_screenLabel);
  m_toolBar->addWidget(m_screenChooser);
  m_toolBar->addAction(Action(kCmdScreenManager));
  m_toolBar->addSeparator();
  m_toolBar->addAction(Action(kCmdFileSave));
  m_toolBar->addAction(Action(kCmdMakeData));
  m_toolBar->addSeparator();
  for (const int command : {kCmdNewProgram, kCmdDeleteProgram, kCmdAddItem, kCmdDeleteItem}) m_toolBar->addAction(Action(command));
  m_toolBar->addSeparator();
  m_toolBar->addAction(Action(kCmdMoveProgramUp));
  m_toolBar->addAction(Action(kCmdMoveProgramDown));
  m_toolBar->addSeparator();
  for (int layout = 0; layout < kLayoutCount; ++layout) m_toolBar->addAction(Action(kCmdFirstLayout + layout));
  m_toolBar->addSeparator();
  m_toolBar->addAction(Action(kCmdZoomIn));
  m_toolBar->addAction(Action(kCmdZoomOut));
}

void CMainFrame::CreateStatusBar() {
  for (std::size_t i = 0; i < m_panes.size(); ++i) {
    m_panes[i] = new QLabel(this);
    m_panes[i]->setObjectName(QStringLiteral("StatusPane%1").arg(i));
    m_panes[i]->setMinimumWidth(i == 0 ? 160 : 64);
    statusBar()->addPermanentWidget(m_panes[i], i == 0 ? 1 : 0);
  }
}

void CMainFrame::CreateUndoCommands() {
  QAction* undo = AddAction(kCmdUndo);
  QAction* redo = AddAction(kCmdRedo);
  undo->setShortcut(QKeySequence::Undo);
  redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  QAction* first = m_editMenu->actions().value(0);
  m_editMenu->insertActions(first, {undo, redo});
  m_editMenu->insertSeparator(first);
  const QList<QAction*> tools = m_toolBar->actions();
  QAction* afterSave = tools.value(tools.indexOf(Action(kCmdFileSave)) + 1);
  m_toolBar->insertActions(afterSave, {undo, redo});
}

void CMainFrame::CreatePropertyPanel() {
  m_properties = new CPropertyPanel(m_app.Doc(), this);
  m_properties->SetBackgroundActions(Action(kCmdSetBackground), Action(kCmdClearBackground));
  m_properties->SetFontLibrarySource([this] { return m_app.FontLibrary(); });
  connect(m_properties, &CPropertyPanel::documentEdited, this, &CMainFrame::DocumentChanged);
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(m_properties);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  m_propertyDock = new QDockWidget(this);
  m_propertyDock->setObjectName(QStringLiteral("PropertyDock"));
  m_propertyDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable | QDockWidget::DockWidgetClosable);
  m_propertyDock->setWidget(scroll);
  addDockWidget(Qt::RightDockWidgetArea, m_propertyDock);
  const QList<QAction*> view = m_viewMenu->actions();
  m_viewMenu->insertAction(view.value(view.indexOf(Action(kCmdViewStatusBar)) + 1), m_propertyDock->toggleViewAction());
}

void CMainFrame::ApplyWindowDrag(int record, QRect rect) {
  const WindowRect dragged{static_cast<std::int16_t>(rect.x()), static_cast<std::int16_t>(rect.y()),
                           static_cast<std::uint16_t>(rect.width()), static_cast<std::uint16_t>(rect.height())};
  EditDocument(m_app.Doc().SetWindowRect(record, dragged));
}

void CMainFrame::Retranslate() {
  setWindowTitle(QString::fromStdString(MainWindowCaption(m_app.GetBranding())));
  for (const auto& [command, action] : m_actions) {
    action->setText(CommandLabel(command));
    action->setStatusTip(CommandTip(command));
    action->setToolTip(CommandCaption(command));
  }
  m_fileMenu->setTitle(Text(kTextFileMenu));
  m_editMenu->setTitle(Text(kTextEditMenu));
  m_layoutMenu->setTitle(Text(kTextLayoutMenu));
  m_viewMenu->setTitle(Text(kTextViewMenu));
  m_toolsMenu->setTitle(Text(kTextToolsMenu));
  m_controllerMenu->setTitle(Text(kTextControllerMenu));
  m_helpMenu->setTitle(Text(kTextHelpMenu));
  m_screenLabel->setText(Text(kTextScreenChooser));
  m_propertyDock->setWindowTitle(Text(kTextProperties));
  m_properties->Retranslate();
  m_startView->Retranslate();
  RefreshScreenChooser();
  RebuildToolMenu(false);
  DocumentChanged();
  RefreshStatusBar();
}

void CMainFrame::RebuildToolMenu(bool showProblems) {
  for (QAction* action : m_pluginActions) {
    m_toolsMenu->removeAction(action);
    if (QMenu* submenu = action->menu()) submenu->deleteLater();
    action->deleteLater();
  }
  m_pluginActions.clear();
  m_toolMenu = m_app.Plugins().BuildMenu(m_app.LanguageId(), m_app.Options().ledtoolPassword != 0);
  if (showProblems) {
    for (const Status& problem : m_toolMenu.problems) ShowFailure(problem);
  }

  const auto addToMenu = [this](QAction* action) {
    m_toolsMenu->addAction(action);
    m_pluginActions.push_back(action);
  };
  const auto addSeparator = [this, &addToMenu] {
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    addToMenu(separator);
  };
  if (m_toolMenu.showSubmenu) {
    addSeparator();
    auto* submenu = new QMenu(Text(kTextLedtoolMenu), this);
    for (const ToolEntry& entry : m_toolMenu.entries) {
      QAction* tool = submenu->addAction(QString::fromStdString(entry.name));
      connect(tool, &QAction::triggered, this, [this, command = entry.command] { RunTool(command); });
    }
    if (m_toolMenu.passwordEntry) {
      submenu->addSeparator();
      QAction* password = submenu->addAction(CommandLabel(kLedtoolPasswordCommand));
      password->setStatusTip(CommandTip(kLedtoolPasswordCommand));
      connect(password, &QAction::triggered, this, [this] { ChangePassword(kCmdChangeAdvancedPassword); });
    }
    addToMenu(submenu->menuAction());
  }
  if (m_toolMenu.findDevice) {
    addSeparator();
    auto* find = new QAction(Text(kTextFindDevice), this);
    connect(find, &QAction::triggered, this, &CMainFrame::FindDevice);
    addToMenu(find);
  }
}

void CMainFrame::RefreshStatusBar() {
  const CScreenConfig& screens = m_app.Doc().Screens();
  if (screens.Count() == 0) {
    for (QLabel* pane : m_panes) pane->clear();
    return;
  }
  const int index = m_app.Doc().CurrentScreenIndex();
  const tagScreenInfo& screen = screens.Screen(index);
  m_panes[0]->setText(QString::fromStdString(screens.DisplayName(index)));
  m_panes[1]->setText(QString::fromStdString(ModelName(screen.model)));
  m_panes[2]->setText(QString::fromStdString(ColourModeName(screen.color)));
  m_panes[3]->setText(QString::number(screen.width));
  m_panes[4]->setText(QString::number(screen.height));
}

void CMainFrame::RefreshScreenChooser() {
  const QSignalBlocker block(m_screenChooser);
  m_screenChooser->clear();
  const CScreenConfig& screens = m_app.Doc().Screens();
  for (int i = 0; i < screens.Count(); ++i) m_screenChooser->addItem(QString::fromStdString(screens.DisplayName(i)));
  m_screenChooser->setCurrentIndex(screens.Count() > 0 ? m_app.Doc().CurrentScreenIndex() : -1);
}

void CMainFrame::ScreensChanged() {
  m_app.CurrentScreenChanged();
  m_app.ShowNotices(this);
  RefreshScreenChooser();
  DocumentChanged();
  RefreshStatusBar();
  m_zoomChosen = false;
  m_canvas->SetZoom(m_canvas->ZoomToFit(m_canvasArea->viewport()->size()));
}

bool CMainFrame::SwitchScreen(int index) {
  CPrgListDoc& doc = m_app.Doc();
  if (index == doc.CurrentScreenIndex()) return true;
  if (const Status selected = doc.SelectScreen(index); !selected) {
    ShowFailure(selected);
    RefreshScreenChooser();
    return false;
  }
  ScreensChanged();
  return true;
}

void CMainFrame::ShowFailure(const Status& failure) { m_app.ShowFailure(this, failure); }

bool CMainFrame::IsStartViewShown() const { return m_pages->currentWidget() == m_startView; }

void CMainFrame::DocumentChanged() {
  const bool noScreen = m_app.Doc().Screens().Count() == 0;
  m_startView->SetWizardAvailable(HasScreenWizard(m_app.Plugins()));
  m_pages->setCurrentWidget(noScreen ? static_cast<QWidget*>(m_startView) : m_editorPage);
  m_tree->Rebuild(m_app.Doc());
  m_properties->Refresh();
  UpdateCanvas();
  UpdateCommandStates();
}

void CMainFrame::UpdateCommandStates() {
  const CPrgListDoc& doc = m_app.Doc();
  const bool hasScreen = doc.Screens().Count() > 0;
  const bool hasProgram = doc.Selection().programRecord >= 0;
  Action(kCmdNewProgram)->setEnabled(hasScreen);
  for (const int command : {kCmdFileOpen, kCmdFileSave, kCmdFileSaveAs, kCmdExportPlaybill, kCmdImportPlaybill, kCmdEditSchedule,
                            kCmdMakeData, kCmdBoardTime, kCmdInstantMessage, kCmdFontSetting,
                            kCmdCommSetting, kCmdAutoTask}) {
    Action(command)->setEnabled(hasScreen);
  }
  Action(kCmdDeleteProgram)->setEnabled(doc.CanDeleteProgram());
  Action(kCmdAddItem)->setEnabled(doc.CanAddItem());
  Action(kCmdAddPicture)->setEnabled(doc.CanAddItem());
  Action(kCmdDeleteItem)->setEnabled(doc.CanDeleteItem());
  Action(kCmdMoveProgramUp)->setEnabled(doc.CanMoveProgramUp());
  Action(kCmdMoveProgramDown)->setEnabled(doc.CanMoveProgramDown());
  for (int layout = 0; layout < kLayoutCount; ++layout) Action(kCmdFirstLayout + layout)->setEnabled(hasProgram);
  Action(kCmdSetBackground)->setEnabled(hasProgram);
  Action(kCmdClearBackground)->setEnabled(hasProgram && !doc.Record(doc.Selection().programRecord).program.backgrd.empty());
  Action(kCmdUndo)->setEnabled(doc.CanUndo());
  Action(kCmdRedo)->setEnabled(doc.CanRedo());
}

void CMainFrame::UpdateCanvas() {
  const CPrgListDoc& doc = m_app.Doc();
  if (doc.Screens().Count() == 0) {
    m_canvas->SetScreen(QSize(0, 0), {});
    m_canvas->SetWindows({}, -1);
    return;
  }
  const tagScreenInfo& screen = doc.CurrentScreen();
  m_canvas->SetScreen(QSize(screen.width, screen.height), ParsePartList(doc.Screens().Comm(doc.CurrentScreenIndex()).special));

  const SelectionSummary& selection = doc.Selection();
  QImage background;
  if (selection.programRecord >= 0) {
    background = m_canvasPages.Background(doc.Record(selection.programRecord).program, QSize(screen.width, screen.height),
                                          screen.color, doc.WorkFolder());
  }
  m_canvas->SetBackground(std::move(background));
  m_canvas->SetWindows(CanvasWindows(), selection.windowRecord);
}

void CMainFrame::TickClocks() {
  if (m_canvasShowsClock && m_pages->currentWidget() == m_editorPage) UpdateCanvas();
}

std::vector<CanvasWindow> CMainFrame::CanvasWindows() {
  const CPrgListDoc& doc = m_app.Doc();
  const SelectionSummary& selection = doc.Selection();
  std::vector<CanvasWindow> windows;
  m_canvasShowsClock = false;
  if (selection.programRecord < 0) return windows;
  const DateTime now = CurrentLocalTime();
  const int count = static_cast<int>(doc.Records().size());
  for (int i = selection.programRecord + 1; i < count && !doc.Record(i).IsProgram(); ++i) {
    const tagPrgItem& record = doc.Record(i);
    if (record.IsWindow()) {
      windows.push_back({QRect(record.window.left, record.window.top, record.window.width, record.window.height), i, {}, false, {}});
      continue;
    }
    // A window shows its selected item, else the first of its items that can be drawn.
    CanvasWindow& window = windows.back();
    const bool holdsSelection = selection.windowRecord == window.record && selection.itemRecord >= 0;
    if (!record.IsItem() || (holdsSelection ? i != selection.itemRecord : !window.page.isNull())) continue;
    std::string problem;
    window.page = m_canvasPages.ItemPage(record.item, window.rect.size(), doc.CurrentScreen().color, doc.WorkFolder(),
                                         m_app.FontLibrary().get(), m_app.Options().removeFontSmooth != 0, now, &problem);
    // A media file that cannot be shown says why in its window.
    window.problem = IsMediaItemKind(record.item.actType) ? QString::fromStdString(problem) : QString();
    m_canvasShowsClock = m_canvasShowsClock || FaceChangesWithTime(record.item.actType);
    window.transparent = record.item.transp != 0;
  }
  return windows;
}

void CMainFrame::SelectRecord(int record) {
  if (!m_app.Doc().Select(record)) return;
  if (QTreeWidgetItem* row = m_tree->RowOf(record); row && m_tree->currentItem() != row) {
    const QSignalBlocker block(m_tree);
    m_tree->setCurrentItem(row);
  }
  m_properties->Refresh();
  UpdateCanvas();
  UpdateCommandStates();
}

void CMainFrame::EditDocument(bool changed) {
  if (changed) DocumentChanged();
}

void CMainFrame::RunCommand(int command) {
  CPrgListDoc& doc = m_app.Doc();
  const SelectionSummary selection = doc.Selection();
  switch (command) {
    case kCmdNewProgram: EditDocument(doc.AddProgram()); return;
    case kCmdDeleteProgram: EditDocument(doc.CanDeleteProgram() && doc.Delete(selection.programRecord)); return;
    case kCmdAddItem: EditDocument(doc.AddItem()); return;
    case kCmdAddPicture: AddPicture(); return;
    case kCmdDeleteItem: EditDocument(doc.CanDeleteItem() && doc.Delete(selection.itemRecord)); return;
    case kCmdMoveProgramUp: EditDocument(doc.MoveProgramUp()); return;
    case kCmdMoveProgramDown: EditDocument(doc.MoveProgramDown()); return;
    case kCmdUndo: EditDocument(doc.Undo()); return;
    case kCmdRedo: EditDocument(doc.Redo()); return;
    case kCmdFileOpen: OpenPlaybill(); return;
    case kCmdFileSave:
      if (const Status saved = doc.Save(); !saved) ShowFailure(saved);
      return;
    case kCmdFileSaveAs: SavePlaybillAs(); return;
    case kCmdExportPlaybill: ExportPlaybillFile(); return;
    case kCmdImportPlaybill: ImportPlaybillFile(); return;
    case kCmdSetBackground: SetBackground(); return;
    case kCmdClearBackground: EditDocument(doc.ClearBackground()); return;
    case kCmdEditSchedule: EditSchedule(); return;
    case kCmdMakeData: MakeData(); return;
    case kCmdBoardTime: SetBoardTime(); return;
    case kCmdInstantMessage: SendInstantMessage(); return;
    case kCmdFontSetting: SetFonts(); return;
    case kCmdCommSetting: SetCommunication(); return;
    case kCmdAutoTask: SetAutoTask(); return;
    case kCmdOptions: ShowOptions(); return;
    case kCmdLanguage: ChooseLanguage(); return;
    case kCmdZoomIn: StepZoom(+1); return;
    case kCmdZoomOut: StepZoom(-1); return;
    case kCmdChangeAdminPassword:
    case kCmdChangeStartupPassword: ChangePassword(command); return;
    case kCmdScreenManager: ManageScreens(); return;
    case kCmdAbout: ShowAbout(); return;
    case kCmdExit: close(); return;
    case kCmdViewToolBar: m_toolBar->setVisible(Action(command)->isChecked()); return;
    case kCmdViewStatusBar: statusBar()->setVisible(Action(command)->isChecked()); return;
    default: break;
  }
  if (command >= kCmdFirstLayout && command < kCmdFirstLayout + kLayoutCount) {
    EditDocument(doc.ApplyLayout(command - kCmdFirstLayout));
  }
  for (const UtilityKind kind : kUtilityKinds) {
    if (command == UtilityCommand(kind) && !StartUtility(kind)) ShowFailure(Status::Failure(kNoTextId, CommandCaption(command).toStdString()));
  }
}

void CMainFrame::OpenPlaybill() {
  const QString file = QFileDialog::getOpenFileName(this, CommandCaption(kCmdFileOpen), QString(), FileDialogFilter(kTextPlaybillFilter));
  if (file.isEmpty()) return;
  if (const Status opened = m_app.Doc().OpenFile(file.toStdString()); !opened) {
    ShowFailure(opened);
    return;
  }
  DocumentChanged();
}

std::filesystem::path CMainFrame::ChoosePlaybillTarget(const QString& caption) {
  // The dialog would ask about the name as typed only; the name with ".lpl" added is asked about here.
  const QString chosen = QFileDialog::getSaveFileName(this, caption, QString(), FileDialogFilter(kTextPlaybillFilter), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
  if (chosen.isEmpty()) return {};
  const std::filesystem::path file = WithPlaybillExtension(chosen.toStdString());
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return file;
  const std::string question = FormattedText(kTextReplaceFile, file.string()).toStdString();
  return m_app.Prompts().Choose(this, question, kTextPrompt, {kTextOk, kTextCancel}) == 0 ? file : std::filesystem::path();
}

void CMainFrame::SavePlaybillAs() {
  const std::filesystem::path file = ChoosePlaybillTarget(CommandCaption(kCmdFileSaveAs));
  if (file.empty()) return;
  if (const Status saved = m_app.Doc().SaveToFile(file); !saved) ShowFailure(saved);
}

void CMainFrame::ExportPlaybillFile() {
  const std::filesystem::path file = ChoosePlaybillTarget(Text(kTextExportPlaybill));
  if (file.empty()) return;
  if (const Status exported = ExportPlaybill(m_app.Doc(), file); !exported) ShowFailure(exported);
}

void CMainFrame::ImportPlaybillFile() {
  CImportPlaybillDlg choice(this);
  if (choice.exec() != QDialog::Accepted || !choice.FileScreen()) return;
  CPrgListDoc& doc = m_app.Doc();
  if (choice.ToMultipleScreens()) {
    CImportScreensDlg screens(*choice.FileScreen(), doc.Screens(), this);
    if (screens.exec() != QDialog::Accepted) return;
    const ScreensImport result = ImportToScreens(doc, choice.File(), screens.Chosen());
    if (!result.failedScreens.empty()) {
      std::string failed = FailedScreensText(doc.Screens(), result.failedScreens);
      for (const Status& failure : result.failures) failed += "\n" + StatusMessage(failure);
      WriteLog(LogKind::Error, failed);
      m_app.Prompts().Message(this, failed, kTextError, QMessageBox::Critical);
    }
    if (!result.currentChosen) return;
  }
  if (const Status imported = ImportPlaybill(doc, choice.File()); !imported) {
    m_app.Prompts().Message(this, ImportFailureText(imported), kTextError, QMessageBox::Information);
    return;
  }
  DocumentChanged();
}

void CMainFrame::AddPicture() {
  const QString picture = QFileDialog::getOpenFileName(this, CommandCaption(kCmdAddPicture), QString(), FileDialogFilter(kTextImageFilter));
  if (!picture.isEmpty()) AddPictureFile(picture.toStdString());
}

bool CMainFrame::AddPictureFile(const std::filesystem::path& picture) {
  if (const Expected<QImage> read = ReadPicture(picture); !read) {
    ShowFailure(read.status().WithText(kTextPictureUnreadable));
    return false;
  }
  const bool added = m_app.Doc().AddMediaItem(kKindPicture, std::filesystem::absolute(picture));
  EditDocument(added);
  return added;
}

void CMainFrame::SetBackground() {
  const QString picture = QFileDialog::getOpenFileName(this, CommandCaption(kCmdSetBackground), QString(), FileDialogFilter(kTextImageFilter));
  if (picture.isEmpty()) return;
  EditDocument(m_app.Doc().SetBackground(picture.toStdString(), IsReadablePicture));
}

void CMainFrame::EditSchedule() {
  CPrgListDoc& doc = m_app.Doc();
  const auto storeOption = [this](int runschBlank) {
    AppOptions options = m_app.Options();
    if (options.runschBlank == runschBlank) return;
    options.runschBlank = runschBlank;
    m_app.SetOptions(options);
  };
  CScheduleDlg dialog(doc, m_app.Options().runschBlank, storeOption, Today(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (const Status rebuilt = doc.ReplaceSchedulePeriods(dialog.Periods()); !rebuilt) {
    ShowFailure(rebuilt);
    return;
  }
  DocumentChanged();
}

void CMainFrame::MakeData() {
  const CPrgListDoc& doc = m_app.Doc();
  const int index = doc.CurrentScreenIndex();
  if (!doc.Screens().IsValidIndex(index)) return;
  const AppOptions& options = m_app.Options();
  ScreenFilesJob job{doc.Screens().Screen(index),
                     doc.Screens().Comm(index),
                     doc.Records(),
                     doc.Schedule(),
                     m_app.Folders().WorkFolder(),
                     m_app.Folders().DataFolder(),
                     m_app.Folders().OutputFolder(),
                     MakeOptions{options.packProgramFiles != 0, options.removeFontSmooth != 0}};
  auto* dialog = new CMakeDataDlg(std::move(job), QString::fromStdString(doc.Screens().DisplayName(index)), this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->show();
}

void CMainFrame::SetBoardTime() {
  CSetBoardTimeDlg dialog(m_app.Doc().Screens(), this);
  dialog.exec();
}

void CMainFrame::SendInstantMessage() {
  CBarNotifyDlg dialog(m_app.Doc().Screens(), this);
  dialog.exec();
}

void CMainFrame::SetFonts() {
  const CScreenConfig& screens = m_app.Doc().Screens();
  const int index = m_app.Doc().CurrentScreenIndex();
  if (!screens.IsValidIndex(index)) return;
  CSetFontlibDlg dialog(SettingsScreenOf(screens, index), QString::fromStdString(screens.DisplayName(index)), this);
  if (dialog.exec() != QDialog::Accepted) return;
  CScreenListEdit edit(screens);
  ScreenDefinition definition = edit.Definition(index);
  ApplyFontSettings(dialog.Settings(), definition.screen);
  if (definition == edit.Definition(index)) return;
  edit.Replace(index, definition);
  StoreScreenEdit(edit);
}

void CMainFrame::SetCommunication() {
  const CScreenConfig& screens = m_app.Doc().Screens();
  CAsynCommDlg dialog(screens, m_app.Doc().CurrentScreenIndex(), CSerialPortTable::FromSettingsFile(m_app.Folders().SettingsFile()),
                      this);
  if (dialog.exec() != QDialog::Accepted) return;
  CScreenListEdit edit(screens);
  if (dialog.ApplyTo(edit)) StoreScreenEdit(edit);
}

void CMainFrame::StoreScreenEdit(const CScreenListEdit& edit) {
  if (const Status stored = ApplyScreenListEdit(m_app.Doc(), edit, m_app.Folders()); !stored) ShowFailure(stored);
  ScreensChanged();
}

void CMainFrame::SetAutoTask() {
  CAsynAutoDlg dialog(m_app.Doc().Screens(), this);
  dialog.exec();
}

void CMainFrame::ShowOptions() {
  COptionsDlg dialog(m_app.Options(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  m_app.SetOptions(dialog.Options());
  RebuildToolMenu(false);
}

void CMainFrame::ChooseLanguage() {
  CSelectLangDlg dialog(m_app.Folders().LanguageFolder(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  const Expected<bool> changed = m_app.ChangeLanguage(dialog.LanguageId(), true);
  if (!changed) {
    ShowFailure(changed.status());
  } else if (*changed) {
    Retranslate();
  }
}

void CMainFrame::ChangePassword(int command) {
  const PasswordKind kind = PasswordKindOf(command);
  CChangePasswordDlg dialog(kind, m_app.Passwords().Get(kind), command, this);
  if (dialog.exec() == QDialog::Accepted) m_app.StorePassword(kind, dialog.NewBlock());
}

void CMainFrame::ManageScreens() {
  CPrgListDoc& doc = m_app.Doc();
  const auto store = [this, &doc](const CScreenListEdit& edit) { return ApplyScreenListEdit(doc, edit, m_app.Folders()); };
  CScrmngDlg dialog(doc.Screens(), doc.CurrentScreenIndex(), m_app.Passwords(), m_app.Folders(), m_app.Prompts(), store, this);
  if (dialog.exec() == QDialog::Accepted) ScreensChanged();
}

void CMainFrame::FirstScreensDefined(const CScreenData& list) {
  if (const Status defined = DefineFirstScreens(m_app.Doc(), list, m_app.Folders()); !defined) ShowFailure(defined);
  ScreensChanged();
}

void CMainFrame::DefineByWizard() {
  const Expected<bool> taken = RunScreenWizard(m_app.Plugins(), m_app.LanguageId(), this, m_app.Folders());
  if (!taken) {
    ShowFailure(taken.status());
    return;
  }
  if (!*taken) return;
  CScreenData found;
  const Status read = found.Load(m_app.Folders().ScreenFile(), false);
  if (found.Count() == 0) {
    m_app.ShowStatus(this, read.ok() ? NoScreenInFileRefusal() : read, kTextInformation, QMessageBox::Information);
    return;
  }
  FirstScreensDefined(found);
}

void CMainFrame::DefineFromFile() {
  const QString file = QFileDialog::getOpenFileName(this, Text(kTextLoadScreensFromFile), QString(), FileDialogFilter(kTextScreensFilter));
  if (file.isEmpty()) return;
  CScreenData loaded;
  const Status read = loaded.Load(file.toStdString(), false);
  if (loaded.Count() == 0) {
    m_app.ShowStatus(this, read.ok() ? NoScreenInFileRefusal() : read, kTextInformation, QMessageBox::Information);
    return;
  }
  if (!read) m_app.ShowStatus(this, read, kTextWarning, QMessageBox::Warning);
  FirstScreensDefined(loaded);
}

void CMainFrame::DefineManually() {
  const CScreenData none;
  CScrEditDlg editor(none, -1, ProposeNewScreen(none, -1), m_app.Folders(), m_app.Prompts(), {}, this);
  if (editor.exec() != QDialog::Accepted) return;
  CScreenData list;
  const ScreenDefinition defined = editor.Definition();
  list.Append(defined.screen, defined.comm);
  FirstScreensDefined(list);
}

void CMainFrame::DefineDefault() {
  CScreenData list;
  list.MakeDefault();
  FirstScreensDefined(list);
}

void CMainFrame::RunTool(int command) {
  if (const Expected<int> run = m_app.Plugins().Run(m_toolMenu, command, m_app.ToolContext(this)); !run) {
    ShowFailure(run.status());
  }
}

void CMainFrame::FindDevice() {
  if (const Expected<int> run = m_app.Plugins().FindDevice(m_app.ToolContext(this), false); !run) {
    ShowFailure(run.status());
  }
}

void CMainFrame::ShowAbout() {
  const Branding& branding = m_app.GetBranding();
  const std::string name = MainWindowCaption(branding);
  const QString caption = branding.aboutTitle.empty() ? FormattedText(kTextAboutTitle, name) : QString::fromStdString(branding.aboutTitle);
  const QImage picture(QString::fromStdString(branding.aboutImage.empty() ? std::string() : m_app.Folders().InProgramFolder(branding.aboutImage).string()));
  if (picture.isNull()) {
    QMessageBox::about(this, caption, QString::fromStdString(name) + QLatin1Char('\n') + FormattedText(kTextVersion, VANTOREL_VERSION));
    return;
  }
  // A branded About box shows only its picture.
  QDialog box(this);
  box.setWindowTitle(caption);
  auto* label = new QLabel(&box);
  label->setPixmap(QPixmap::fromImage(picture));
  label->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(&box);
  layout->addWidget(label);
  box.resize(std::max(160, picture.width() + 24), std::max(160, picture.height() + 24));
  box.exec();
}

void CMainFrame::StepZoom(int direction) {
  m_zoomChosen = true;
  const int zoom = m_canvas->Zoom();
  int next = zoom;
  if (direction > 0) {
    const auto* larger = std::upper_bound(std::begin(kZoomSteps), std::end(kZoomSteps), zoom);
    if (larger != std::end(kZoomSteps)) next = *larger;
  } else {
    const auto* notSmaller = std::lower_bound(std::begin(kZoomSteps), std::end(kZoomSteps), zoom);
    if (notSmaller != std::begin(kZoomSteps)) next = *(notSmaller - 1);
  }
  m_canvas->SetZoom(next);
}

void CMainFrame::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // The canvas starts at the largest zoom that shows the whole screen, once the window has its size.
  QTimer::singleShot(0, this, [this] {
    if (!m_zoomChosen) m_canvas->SetZoom(m_canvas->ZoomToFit(m_canvasArea->viewport()->size()));
  });
}

void CMainFrame::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !isMinimized()) return;
  if (m_app.Options().minimizeToTray == 0 || !QSystemTrayIcon::isSystemTrayAvailable()) return;
  if (!m_trayIcon) {
    m_trayIcon = new QSystemTrayIcon(windowIcon(), this);
    connect(m_trayIcon, &QSystemTrayIcon::activated, this, [this] {
      m_trayIcon->hide();
      showMaximized();
      activateWindow();
    });
  }
  m_trayIcon->setToolTip(windowTitle());
  m_trayIcon->show();
  QTimer::singleShot(0, this, &QWidget::hide);
}

bool CMainFrame::SaveBeforeClosing() {
  CPrgListDoc& doc = m_app.Doc();
  if (doc.Screens().Count() == 0) return true;
  // The playbill is the screen's own file: it is kept as it is, as when another screen is chosen.
  // Edits are never dropped without the user saying so.
  for (;;) {
    const Status saved = doc.Save();
    if (saved) return true;
    WriteLog(LogKind::Error, StatusMessage(saved));
    const std::string question = LoadText(kTextSaveFailedOnClose) + "\n\n" + StatusMessage(saved);
    switch (m_app.Prompts().Choose(this, question, kTextError, {kTextRetry, kTextDiscard, kTextCancel})) {
      case kCloseRetry: continue;
      case kCloseDiscard:
        WriteLog(LogKind::Info, "closed without saving " + doc.PlaybillPath().string());
        return true;
      default: return false;
    }
  }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!SaveBeforeClosing()) {
    event->ignore();
    return;
  }
  m_app.MainWindowClosing();
  event->accept();
}

}  // namespace vantorel

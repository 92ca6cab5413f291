#pragma once
// The editor's main window: menus and tool buttons for the document's operations, the program
// tree beside the canvas, and five status-bar panes describing the current screen.

#include <QMainWindow>

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/tool_plugins.h"
#include "ui/canvas_pages.h"
#include "ui/playbill_canvas.h"
#include "platform/status.h"
#include "screen/screen_data.h"

class QAction;
class QComboBox;
class QDockWidget;
class QLabel;
class QMenu;
class QScrollArea;
class QStackedWidget;
class QSystemTrayIcon;
class QTimer;
class QToolBar;

namespace vantorel {

class CProgramTree;
class CPropertyPanel;
class CScrListView;
class CScreenListEdit;
class CVantorelApp;

class CMainFrame : public QMainWindow {
  Q_OBJECT
public:
  static constexpr int kStatusPanes = 5;

  explicit CMainFrame(CVantorelApp& app);

  // Every text again from the text table (after a language switch), with the tool menu.
  void Retranslate();
  // Makes the tool menu's plug-in entries anew; `showProblems` reports unusable plug-ins.
  void RebuildToolMenu(bool showProblems);
  // Screen display name, model, colour mode, width and height of the current screen.
  void RefreshStatusBar();
  // Tree, canvas and command states after the document changed.
  void DocumentChanged();
  // Runs a command as its menu entry would.
  void RunCommand(int command);
  // Makes screen `index` current (its playbill opens); false, staying, when that failed.
  bool SwitchScreen(int index);
  // Adds a picture item showing `picture` after the selected item, as "Add picture..." does once
  // the file is chosen; a picture that cannot be read is refused with its cause.
  bool AddPictureFile(const std::filesystem::path& picture);

  QAction* Action(int command) const;
  QMenu* ToolsMenu() const { return m_toolsMenu; }
  std::vector<QMenu*> Menus() const;
  CProgramTree* Tree() const { return m_tree; }
  CPlaybillCanvas* Canvas() const { return m_canvas; }
  CPropertyPanel* Properties() const { return m_properties; }
  // Shown in place of the tree and the canvas while no screen is defined.
  CScrListView* StartView() const { return m_startView; }
  bool IsStartViewShown() const;
  QComboBox* ScreenChooser() const { return m_screenChooser; }
  QLabel* StatusPane(int index) const { return m_panes.at(static_cast<std::size_t>(index)); }

protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // With the option "Minimize to System Tray", a minimised window leaves the task bar for an icon
  // in the notification area.
  void changeEvent(QEvent* event) override;

private:
  QAction* AddAction(int command);
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  // Undo and redo at the top of the edit menu and beside Save on the tool bar.
  void CreateUndoCommands();
  // The property panel docked beside the canvas, shown and hidden from the view menu.
  void CreatePropertyPanel();
  // A window dragged on the canvas: one change of the document.
  void ApplyWindowDrag(int record, QRect rect);
  void UpdateCommandStates();
  void UpdateCanvas();
  // The current program's windows with the page each one shows.
  std::vector<CanvasWindow> CanvasWindows();
  // Once a second: the canvas again when it shows a clock or a counter that changes with time.
  void TickClocks();
  void SelectRecord(int record);
  void EditDocument(bool changed);

  void RefreshScreenChooser();
  // "Failed: <cause>", logged and shown.
  void ShowFailure(const Status& failure);
  // Save as and export: the file chosen, with ".lpl" added when typed without an extension; empty
  // when the user cancelled or did not want an existing file replaced.
  std::filesystem::path ChoosePlaybillTarget(const QString& caption);
  // Saves the playbill before the window closes; when that fails the user retries, closes without
  // saving, or keeps the window open (false).
  bool SaveBeforeClosing();
  void OpenPlaybill();
  void SavePlaybillAs();
  void ExportPlaybillFile();
  void ImportPlaybillFile();
  void SetBackground();
  void AddPicture();
  // The schedule editor; on OK the schedule is rebuilt from its periods (one undo step) and the
  // document counts as modified.
  void EditSchedule();
  // "Make data": the current screen's files made in a dialog of their own, on a worker thread.
  void MakeData();
  void SetBoardTime();
  void SendInstantMessage();
  void SetFonts();
  // "Communication setting": the serial port and baud rate of screens, stored as the screen
  // manager stores the list.
  void SetCommunication();
  // Stores the changed screen list (the playbill is saved first) and shows the screens anew.
  void StoreScreenEdit(const CScreenListEdit& edit);
  void SetAutoTask();
  void ShowOptions();
  void ChooseLanguage();
  void ChangePassword(int command);
  // The screen manager; its OK stores the list and opens the current screen's playbill.
  void ManageScreens();
  // Chooser, tree, canvas and status bar after the screen list changed.
  void ScreensChanged();
  // The four first definitions of the start view.
  void DefineByWizard();
  void DefineFromFile();
  void DefineManually();
  void DefineDefault();
  void FirstScreensDefined(const CScreenData& list);
  void RunTool(int command);
  void FindDevice();
  void ShowAbout();
  void StepZoom(int direction);

  CVantorelApp& m_app;
  std::map<int, QAction*> m_actions;
  QMenu* m_fileMenu = nullptr;
  QMenu* m_editMenu = nullptr;
  QMenu* m_layoutMenu = nullptr;
  QMenu* m_viewMenu = nullptr;
  QMenu* m_toolsMenu = nullptr;
  QMenu* m_controllerMenu = nullptr;
  QMenu* m_helpMenu = nullptr;
  QToolBar* m_toolBar = nullptr;
  QLabel* m_screenLabel = nullptr;
  QComboBox* m_screenChooser = nullptr;
  CProgramTree* m_tree = nullptr;
  CPlaybillCanvas* m_canvas = nullptr;
  CCanvasPages m_canvasPages;
  QTimer* m_clockTimer = nullptr;
  bool m_canvasShowsClock = false;  // a shown window holds a face that changes with time
  QScrollArea* m_canvasArea = nullptr;
  CPropertyPanel* m_properties = nullptr;
  QDockWidget* m_propertyDock = nullptr;
  QStackedWidget* m_pages = nullptr;
  QWidget* m_editorPage = nullptr;
  CScrListView* m_startView = nullptr;
  std::array<QLabel*, kStatusPanes> m_panes{};
  ToolMenu m_toolMenu;
  std::vector<QAction*> m_pluginActions;  // everything the plug-ins added to the tools menu
  QSystemTrayIcon* m_trayIcon = nullptr;
  bool m_zoomChosen = false;
};

}  // namespace vantorel

#pragma once
// The screen manager: the list of screen definitions with add, copy, edit, remove, moving,
// loading from and saving to "*.screens" files, and the cross mapping of a screen. It works on a
// copy of the list; OK checks the copy and hands it to the caller to store. Changing the list
// needs the administrator password, the cross mapping the advanced password, each asked once per
// opening.

#include <QDialog>

#include <functional>

#include "app/app_folders.h"
#include "app/password_store.h"
#include "platform/status.h"
#include "screen/manager_password_gate.h"
#include "screen/screen_list_edit.h"

class QPushButton;
class QTreeWidget;

namespace vantorel {

class IAppPrompts;

class CScrmngDlg : public QDialog {
  Q_OBJECT
public:
  // Stores the edited list (the document's side of OK); a failure keeps the manager open.
  using StoreList = std::function<Status(const CScreenListEdit& edit)>;

  CScrmngDlg(const CScreenData& screens, int currentIndex, const PasswordBlocks& passwords, const CAppFolders& folders,
             IAppPrompts& prompts, StoreList store, QWidget* parent = nullptr);

  const CScreenListEdit& Edit() const { return m_edit; }
  QTreeWidget* List() const { return m_list; }
  QPushButton* AddButton() const { return m_add; }
  QPushButton* CopyButton() const { return m_copy; }
  QPushButton* EditButton() const { return m_editButton; }
  QPushButton* RemoveButton() const { return m_remove; }
  QPushButton* MoveUpButton() const { return m_up; }
  QPushButton* MoveDownButton() const { return m_down; }
  QPushButton* ImportButton() const { return m_import; }
  QPushButton* ExportButton() const { return m_export; }
  QPushButton* CrossMappingButton() const { return m_crossMapping; }
  QPushButton* OkButton() const { return m_ok; }

  void accept() override;

private:
  int Selected() const;
  void ShowList(int select);
  void UpdateButtons();
  // Asks for the action's password when it is the first use in this opening; false when refused.
  bool Allowed(ManagerAction action);
  // The editor on `definition` for screen `index` (-1: new); true when it was accepted.
  bool RunEditor(int index, ScreenDefinition& definition);
  void AddScreen();
  void EditScreen();
  void RemoveScreen();
  void MoveScreen(bool up);
  void ImportScreens();
  void ExportScreens();
  void CrossMapping();

  CScreenListEdit m_edit;
  const PasswordBlocks& m_passwords;
  CAppFolders m_folders;
  IAppPrompts& m_prompts;
  StoreList m_store;
  CManagerPasswordGate m_gate;
  QTreeWidget* m_list;
  QPushButton* m_add;
  QPushButton* m_copy;
  QPushButton* m_editButton;
  QPushButton* m_remove;
  QPushButton* m_up;
  QPushButton* m_down;
  QPushButton* m_import;
  QPushButton* m_export;
  QPushButton* m_crossMapping;
  QPushButton* m_ok = nullptr;
};

}  // namespace vantorel

#include "ui/screen_manager_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

#include "app/password.h"
#include "app/text_table.h"
#include "playbill/screen_list_store.h"
#include "screen/screen_manager_rules.h"
#include "ui/command_ids.h"
#include "ui/cross_map_dialog.h"
#include "ui/screen_editor_dialog.h"
#include "ui/ui_text.h"
#include "ui/vantorel_app.h"

namespace vantorel {
namespace {

constexpr const char* kScreensExtension = ".screens";

}  // namespace

CScrmngDlg::CScrmngDlg(const CScreenData& screens, int currentIndex, const PasswordBlocks& passwords,
                       const CAppFolders& folders, IAppPrompts& prompts, StoreList store, QWidget* parent)
    : QDialog(parent),
      m_edit(screens),
      m_passwords(passwords),
      m_folders(folders),
      m_prompts(prompts),
      m_store(std::move(store)),
      m_gate([this](ManagerPassword password) {
        const std::optional<std::string> typed = m_prompts.AskPassword(this);
        if (!typed) return PasswordAnswer::Cancelled;
        const PasswordBlock& block = password == ManagerPassword::Advanced ? m_passwords.advanced : m_passwords.administrator;
        return CheckPassword(*typed, block) ? PasswordAnswer::Right : PasswordAnswer::Wrong;
      }),
      m_list(new QTreeWidget(this)),
      m_add(new QPushButton(Text(kTextAddScreen), this)),
      m_copy(new QPushButton(Text(kTextCopyScreen), this)),
      m_editButton(new QPushButton(Text(kTextEditScreen), this)),
      m_remove(new QPushButton(Text(kTextRemoveScreen), this)),
      m_up(new QPushButton(Text(kTextMoveUp), this)),
      m_down(new QPushButton(Text(kTextMoveDown), this)),
      m_import(new QPushButton(Text(kTextLoadScreensFromFile), this)),
      m_export(new QPushButton(Text(kTextSaveScreensToFile), this)),
      m_crossMapping(new QPushButton(Text(kTextCrossMapping), this)) {
  setWindowTitle(CommandCaption(kCmdScreenManager));
  QStringList headers;
  for (const std::string& header : ScreenListHeaders()) headers << QString::fromStdString(header);
  m_list->setHeaderLabels(headers);
  m_list->setRootIsDecorated(false);
  m_list->setAllColumnsShowFocus(true);
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  m_list->header()->setStretchLastSection(true);

  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {m_add, m_copy, m_editButton, m_remove}) buttons->addWidget(button);
  buttons->addSpacing(12);
  buttons->addWidget(m_up);
  buttons->addWidget(m_down);
  buttons->addSpacing(12);
  buttons->addWidget(m_import);
  buttons->addWidget(m_export);
  buttons->addSpacing(12);
  buttons->addWidget(m_crossMapping);
  buttons->addStretch(1);
  auto* columns = new QHBoxLayout;
  columns->addWidget(m_list, 1);
  columns->addLayout(buttons);
  QDialogButtonBox* okCancel = OkCancelButtons(this);
  m_ok = okCancel->button(QDialogButtonBox::Ok);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addWidget(okCancel);
  resize(1000, 420);

  connect(m_add, &QPushButton::clicked, this, &CScrmngDlg::AddScreen);
  connect(m_copy, &QPushButton::clicked, this, &CScrmngDlg::AddScreen);
  connect(m_editButton, &QPushButton::clicked, this, &CScrmngDlg::EditScreen);
  connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CScrmngDlg::EditScreen);
  connect(m_remove, &QPushButton::clicked, this, &CScrmngDlg::RemoveScreen);
  connect(m_up, &QPushButton::clicked, this, [this] { MoveScreen(true); });
  connect(m_down, &QPushButton::clicked, this, [this] { MoveScreen(false); });
  connect(m_import, &QPushButton::clicked, this, &CScrmngDlg::ImportScreens);
  connect(m_export, &QPushButton::clicked, this, &CScrmngDlg::ExportScreens);
  connect(m_crossMapping, &QPushButton::clicked, this, &CScrmngDlg::CrossMapping);
  connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CScrmngDlg::UpdateButtons);
  ShowList(currentIndex);
}

int CScrmngDlg::Selected() const {
  QTreeWidgetItem* item = m_list->currentItem();
  return item && item->isSelected() ? m_list->indexOfTopLevelItem(item) : -1;
}

void CScrmngDlg::ShowList(int select) {
  m_list->clear();
  const CScreenData& screens = m_edit.List();
  for (int i = 0; i < screens.Count(); ++i) {
    auto* item = new QTreeWidgetItem(m_list);
    const auto row = ScreenListRow(screens, i);
    for (int column = 0; column < kScreenListColumns; ++column) {
      item->setText(column, QString::fromStdString(row[static_cast<std::size_t>(column)]));
    }
  }
  for (int column = 0; column + 1 < kScreenListColumns; ++column) m_list->resizeColumnToContents(column);
  if (screens.IsValidIndex(select)) {
    m_list->setCurrentItem(m_list->topLevelItem(select));
  }
  UpdateButtons();
}

void CScrmngDlg::UpdateButtons() {
  const int selected = Selected();
  const bool any = selected >= 0;
  for (QPushButton* button : {m_copy, m_editButton, m_remove, m_crossMapping}) button->setEnabled(any);
  m_up->setEnabled(selected > 0);
  m_down->setEnabled(any && selected + 1 < m_edit.List().Count());
  m_export->setEnabled(m_edit.List().Count() > 0);
}

bool CScrmngDlg::Allowed(ManagerAction action) {
  const CManagerPasswordGate::Decision decision = m_gate.Allow(action);
  if (!decision.message.ok()) ShowStatus(m_prompts, this, decision.message, kTextPrompt);
  return decision.allowed;
}

bool CScrmngDlg::RunEditor(int index, ScreenDefinition& definition) {
  // An ID the screen's playbill cannot follow is refused in the editor, where it can be changed.
  const auto playbillsFollow = [this, index](const ScreenDefinition& edited) {
    CScreenListEdit trial = m_edit;
    if (index >= 0) trial.Replace(index, edited);
    return PlanPlaybillMoves(trial.IdChanges(), m_folders.WorkFolder()).status();
  };
  CScrEditDlg editor(m_edit.List(), index, definition, m_folders, m_prompts, playbillsFollow, this);
  if (editor.exec() != QDialog::Accepted) return false;
  definition = editor.Definition();
  return true;
}

void CScrmngDlg::AddScreen() {
  if (!Allowed(ManagerAction::Add)) return;
  if (const Status room = CheckCanAddScreen(m_edit.List()); !room) {
    ShowStatus(m_prompts, this, room, kTextPrompt);
    return;
  }
  // A new screen starts as a copy of the selected one (with the next free ID), else from the
  // editor's defaults; Copy is offered only with a selection, so it always copies.
  ScreenDefinition definition = ProposeNewScreen(m_edit.List(), Selected());
  if (!RunEditor(-1, definition)) return;
  m_edit.Append(definition);
  ShowList(m_edit.List().Count() - 1);
}

void CScrmngDlg::EditScreen() {
  const int index = Selected();
  if (index < 0 || !Allowed(ManagerAction::Edit)) return;
  ScreenDefinition definition = m_edit.Definition(index);
  if (!RunEditor(index, definition)) return;
  m_edit.Replace(index, definition);
  ShowList(index);
}

void CScrmngDlg::RemoveScreen() {
  const int index = Selected();
  if (index < 0 || !Allowed(ManagerAction::Remove)) return;
  m_edit.RemoveAt(index);
  ShowList(std::min(index, m_edit.List().Count() - 1));
}

void CScrmngDlg::MoveScreen(bool up) {
  const int index = Selected();
  if (!Allowed(up ? ManagerAction::MoveUp : ManagerAction::MoveDown)) return;
  if (up ? m_edit.MoveUp(index) : m_edit.MoveDown(index)) ShowList(up ? index - 1 : index + 1);
}

void CScrmngDlg::ImportScreens() {
  if (!Allowed(ManagerAction::Import)) return;
  const QString file = QFileDialog::getOpenFileName(this, Text(kTextLoadScreensFromFile), QString(),
                                                    FileDialogFilter(kTextScreensFilter));
  if (file.isEmpty()) return;
  CScreenData imported;
  const Status read = imported.Load(file.toStdString(), false);
  if (imported.Count() == 0) {
    if (!read) {
      ShowStatus(m_prompts, this, read, kTextError, QMessageBox::Critical);
    } else {
      ShowStatus(m_prompts, this, NoScreenInFileRefusal(), kTextInformation, QMessageBox::Information);
    }
    return;
  }
  if (!read) ShowStatus(m_prompts, this, read, kTextWarning);  // some blocks could not be read
  m_edit.ReplaceAll(imported);
  ShowList(0);
}

void CScrmngDlg::ExportScreens() {
  if (!Allowed(ManagerAction::Export)) return;
  const QString chosen = QFileDialog::getSaveFileName(this, Text(kTextSaveScreensToFile), QString(),
                                                      FileDialogFilter(kTextScreensFilter));
  if (chosen.isEmpty()) return;
  std::filesystem::path file = chosen.toStdString();
  if (!file.has_extension()) file += kScreensExtension;
  CScreenData copy;
  copy.CopyFrom(m_edit.List(), false);
  if (const Status saved = copy.Save(file); !saved) ShowStatus(m_prompts, this, saved, kTextError, QMessageBox::Critical);
}

void CScrmngDlg::CrossMapping() {
  const int index = Selected();
  if (index < 0 || !Allowed(ManagerAction::CrossMapping)) return;
  CCrossCfgDlg dialog(m_edit.List(), index, m_folders.ProgramFolder(), this);
  dialog.exec();
}

void CScrmngDlg::accept() {
  if (const Status checked = CheckManagerOk(m_edit.List()); !checked) {
    ShowStatus(m_prompts, this, checked, kTextPrompt);
    return;
  }
  if (const Status stored = m_store(m_edit); !stored) {
    ShowStatus(m_prompts, this, stored, kTextError, QMessageBox::Critical);
    return;
  }
  QDialog::accept();
}

}  // namespace vantorel

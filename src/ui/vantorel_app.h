#pragma once
// The application object: everything that exists once per run. It runs the start-up sequence
// (settings, passwords, screens, the playbill to open, the startup password, the main window,
// the language and the tool menu), the idle check of the automatic shutdown, and the clean-up
// when the main window closes.

#include <QMessageBox>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/app_folders.h"
#include "app/app_language.h"
#include "app/auto_shutdown.h"
#include "app/options.h"
#include "app/password_store.h"
#include "app/tool_plugins.h"
#include "app/user_settings.h"
#include "playbill/prg_list_doc.h"
#include "render/dot_font.h"

class QTimer;
class QWidget;

namespace vantorel {

class CMainFrame;

// What the start-up asks of the user; tests put their own answers in place of the dialogs.
class IAppPrompts {
public:
  virtual ~IAppPrompts() = default;
  // A password (the startup password, the screen manager's), or nullopt when the user cancels.
  virtual std::optional<std::string> AskPassword(QWidget* parent) = 0;
  virtual void Message(QWidget* parent, const std::string& text, int captionId, QMessageBox::Icon icon) = 0;
  // A question with one answer per text of `choiceIds`: the index of the answer (the last one
  // changes nothing).
  virtual int Choose(QWidget* parent, const std::string& text, int captionId, const std::vector<int>& choiceIds) = 0;
};

// A failure or refusal shown as its message, under its own title or else `fallbackTitle`.
void ShowStatus(IAppPrompts& prompts, QWidget* parent, const Status& status, int fallbackTitle,
                QMessageBox::Icon icon = QMessageBox::Warning);

// The real dialogs.
class CDialogPrompts : public IAppPrompts {
public:
  std::optional<std::string> AskPassword(QWidget* parent) override;
  void Message(QWidget* parent, const std::string& text, int captionId, QMessageBox::Icon icon) override;
  int Choose(QWidget* parent, const std::string& text, int captionId, const std::vector<int>& choiceIds) override;
};

class CVantorelApp {
public:
  CVantorelApp(CAppFolders folders, IAppPrompts& prompts, CAutoShutdown::PowerOff powerOff,
               CAutoShutdown::Clock clock = CAutoShutdown::LocalHourMinute);
  ~CVantorelApp();
  CVantorelApp(const CVantorelApp&) = delete;
  CVantorelApp& operator=(const CVantorelApp&) = delete;

  // The start-up sequence; false ends the run. `arguments` are the command line, the program first.
  bool StartUp(std::span<const std::string> arguments);
  // Called when the main window closes, after the playbill was saved (or the user chose to drop
  // it): stores the "Ledtool password" option and empties the temporary folder.
  void MainWindowClosing();
  // The idle check (automatic shutdown); a timer calls it every second.
  void OnIdle() { m_shutdown.OnIdle(); }

  const CAppFolders& Folders() const { return m_folders; }
  CPrgListDoc& Doc() { return m_doc; }
  CMainFrame* MainFrame() const { return m_mainFrame.get(); }
  IAppPrompts& Prompts() { return m_prompts; }
  const Branding& GetBranding() const { return m_branding; }
  // The serial-port and preview defaults of the per-user settings, read at start-up for sending.
  const SharedSettings& Shared() const { return m_shared; }

  // Shows what the document has to tell although the work went on (a damaged playbill kept
  // aside) as warnings.
  void ShowNotices(QWidget* parent);
  // Logs `status` and shows it in a message box under its own title, or else `caption`.
  void ShowStatus(QWidget* parent, const Status& status, TextId caption, QMessageBox::Icon icon);
  // A failure, titled "Error" unless it names its own title.
  void ShowFailure(QWidget* parent, const Status& failure);

  const AppOptions& Options() const { return m_options; }
  // Stores options accepted in the options dialog: written back, new items follow them, the
  // automatic shutdown is re-armed.
  bool SetOptions(const AppOptions& options);

  const PasswordBlocks& Passwords() const { return m_passwords; }
  void StorePassword(PasswordKind kind, const PasswordBlock& block);

  int LanguageId() const { return m_language.Id(); }
  // Switches the texts; when the user chose it in the dialog, remembers the choice for the next
  // start. The caller refreshes the windows.
  Expected<bool> ChangeLanguage(int languageId, bool remember);

  const CToolPlugins& Plugins() const { return m_plugins; }
  ToolRunContext ToolContext(QWidget* parent) const;

  // The current font library follows the current screen: made at start-up and again whenever the
  // current screen (or its font code page) changes, released when the main window closes. Null
  // without a screen or when it could not be made; then cell text is not drawn.
  void CurrentScreenChanged();
  const std::shared_ptr<CTwFont>& FontLibrary() const { return m_fontLibrary; }

private:
  bool AskStartupPassword();
  void OpenStartFile(const std::filesystem::path& file);
  void RestoreLanguage();

  CAppFolders m_folders;
  IAppPrompts& m_prompts;
  CUserSettings m_userSettings;
  AppOptions m_options;
  Branding m_branding;
  SharedSettings m_shared;
  PasswordBlocks m_passwords;
  CAppLanguage m_language;
  CToolPlugins m_plugins;
  CAutoShutdown m_shutdown;
  CPrgListDoc m_doc;
  std::unique_ptr<CMainFrame> m_mainFrame;
  std::unique_ptr<QTimer> m_idleTimer;
  std::shared_ptr<CTwFont> m_fontLibrary;
  std::pair<int, int> m_fontScreen{-1, -1};  // controller class and code page the library was made for
};

}  // namespace vantorel

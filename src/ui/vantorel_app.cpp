#include "ui/vantorel_app.h"

#include <QScreen>
#include <QTimer>

#include "app/app_log.h"
#include "app/start_up.h"
#include "app/status_text.h"
#include "app/text_format.h"
#include "app/text_table.h"
#include "playbill/document_session.h"
#include "playbill/playbill_transfer.h"
#include "render/font_library.h"
#include "ui/main_frame.h"
#include "ui/password_dialogs.h"
#include "ui/ui_text.h"

namespace vantorel {
namespace {

constexpr int kIdleCheckMilliseconds = 1000;

}  // namespace

void ShowStatus(IAppPrompts& prompts, QWidget* parent, const Status& status, int fallbackTitle, QMessageBox::Icon icon) {
  prompts.Message(parent, StatusMessage(status), StatusTitle(status, fallbackTitle), icon);
}

std::optional<std::string> CDialogPrompts::AskPassword(QWidget* parent) {
  CPasswordDlg dialog(parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Password();
}

void CDialogPrompts::Message(QWidget* parent, const std::string& text, int captionId, QMessageBox::Icon icon) {
  ShowMessage(parent, QString::fromStdString(text), captionId, icon);
}

int CDialogPrompts::Choose(QWidget* parent, const std::string& text, int captionId, const std::vector<int>& choiceIds) {
  return AskChoice(parent, QString::fromStdString(text), captionId, QMessageBox::Question, choiceIds);
}

CVantorelApp::CVantorelApp(CAppFolders folders, IAppPrompts& prompts, CAutoShutdown::PowerOff powerOff,
                           CAutoShutdown::Clock clock)
    : m_folders(std::move(folders)),
      m_prompts(prompts),
      m_options(ReadOptions(m_folders.SettingsFile())),
      m_branding(ReadBranding(m_folders.BrandingFile())),
      m_language(m_folders.LanguageFolder()),
      m_plugins(m_folders.ProgramFolder()),
      m_shutdown(std::move(clock),
                 [powerOff = std::move(powerOff)] {
                   WriteLog(LogKind::Info, "automatic shutdown");
                   powerOff();
                 }),
      m_doc(m_folders.WorkFolder(), ItemDefaultsFromOptions(m_options)) {}

CVantorelApp::~CVantorelApp() {
  m_mainFrame.reset();
  if (m_fontLibrary) ReleaseFontLibrary();
  CloseProcessLog();
}

bool CVantorelApp::StartUp(std::span<const std::string> arguments) {
  OpenProcessLog(m_folders.LogFile());
  WriteLog(LogKind::Start, FormatText("%s %s, data folder %s", LoadText(kTextAppTitle).c_str(), VANTOREL_VERSION,
                                      m_folders.DataFolder().c_str()));
  m_passwords = LoadPasswordBlocks(m_userSettings);
  RestoreLanguage();

  // Nobody without the startup password gets as far as a playbill being made or saved.
  if (m_passwords.HasStartupPassword() && !AskStartupPassword()) return false;
  const StartArguments start = ParseStartArguments(arguments);
  const Status opened = OpenDocumentSession(m_doc, m_folders, [&start](int screenCount) -> Expected<int> {
    return ChooseStartScreen(screenCount, start.screenNumber);
  });
  if (!opened) {
    // The editor still starts, on the playbill in memory: the user can save it elsewhere.
    ShowFailure(nullptr, opened);
  }
  if (!start.file.empty()) OpenStartFile(start.file);
  CurrentScreenChanged();

  m_mainFrame = std::make_unique<CMainFrame>(*this);
  m_shared = m_userSettings.ReadShared();
  m_shutdown.Configure(m_options.autoShutdown != 0, m_options.shutdownTime);
  // Without a window manager (a virtual display) maximising does nothing: take the screen ourselves.
  m_mainFrame->setGeometry(m_mainFrame->screen()->availableGeometry());
  m_mainFrame->showMaximized();
  m_mainFrame->RebuildToolMenu(true);
  ShowNotices(m_mainFrame.get());
  QTimer::singleShot(0, m_mainFrame.get(), [frame = m_mainFrame.get()] { frame->RefreshStatusBar(); });

  m_idleTimer = std::make_unique<QTimer>();
  QObject::connect(m_idleTimer.get(), &QTimer::timeout, [this] { OnIdle(); });
  m_idleTimer->start(kIdleCheckMilliseconds);
  return true;
}

void CVantorelApp::OpenStartFile(const std::filesystem::path& file) {
  // As File > Open: the file's programs become the current screen's playbill. A file that does not
  // open changes nothing.
  if (const Status read = m_doc.OpenFile(file); !read) ShowFailure(nullptr, read.WithText(kTextStartFileNotOpened));
}

void CVantorelApp::RestoreLanguage() {
  const std::optional<int> saved = m_userSettings.Language();
  if (!saved) return;
  if (const Expected<bool> result = m_language.SetLanguage(*saved); !result) ShowFailure(nullptr, result.status());
}

void CVantorelApp::ShowNotices(QWidget* parent) {
  for (const Status& notice : m_doc.TakeNotices()) ShowStatus(parent, notice, kTextWarning, QMessageBox::Warning);
}

bool CVantorelApp::AskStartupPassword() {
  const std::optional<std::string> typed = m_prompts.AskPassword(nullptr);
  if (!typed) return false;
  if (!CheckPassword(*typed, m_passwords.startup)) {
    WriteLog(LogKind::Error, "wrong startup password");
    m_prompts.Message(nullptr, LoadText(kTextPasswordIncorrect), kTextPrompt, QMessageBox::Warning);
    return false;
  }
  return true;
}

void CVantorelApp::MainWindowClosing() {
  m_idleTimer.reset();
  if (const Status written = WriteLedtoolPasswordOption(m_folders.SettingsFile(), m_options.ledtoolPassword); !written) {
    WriteLog(LogKind::Error, StatusMessage(written));
  }
  CleanTemporaryFolder(m_folders.TempFolder());
  m_fontLibrary.reset();
  m_fontScreen = {-1, -1};
  ReleaseFontLibrary();
  WriteLog(LogKind::Info, "exit");
}

bool CVantorelApp::SetOptions(const AppOptions& options) {
  m_options = options;
  m_doc.SetItemDefaults(ItemDefaultsFromOptions(options));
  m_shutdown.Configure(options.autoShutdown != 0, options.shutdownTime);
  const Status written = WriteOptions(m_folders.SettingsFile(), options);
  if (!written) WriteLog(LogKind::Error, StatusMessage(written));
  return written.ok();
}

void CVantorelApp::StorePassword(PasswordKind kind, const PasswordBlock& block) {
  m_passwords.Get(kind) = block;
  StorePasswordBlock(m_userSettings, kind, block);
}

Expected<bool> CVantorelApp::ChangeLanguage(int languageId, bool remember) {
  const Expected<bool> result = m_language.SetLanguage(languageId);
  if (result && remember) m_userSettings.SetLanguage(languageId);
  return result;
}

void CVantorelApp::ShowStatus(QWidget* parent, const Status& status, TextId caption, QMessageBox::Icon icon) {
  WriteLog(LogKind::Error, StatusMessage(status));
  vantorel::ShowStatus(m_prompts, parent, status, caption, icon);
}

void CVantorelApp::ShowFailure(QWidget* parent, const Status& failure) {
  ShowStatus(parent, failure, kTextError, QMessageBox::Critical);
}

void CVantorelApp::CurrentScreenChanged() {
  if (m_doc.Screens().Count() == 0) {
    m_fontLibrary.reset();
    m_fontScreen = {-1, -1};
    ReleaseFontLibrary();
    return;
  }
  const tagScreenInfo& screen = m_doc.CurrentScreen();
  const std::pair<int, int> fonts{screen.type, screen.fontLib};
  if (m_fontLibrary && fonts == m_fontScreen) return;
  CreateFontLibrary(screen, m_folders.ProgramFolder());
  m_fontLibrary = CurrentFontLibrary();
  m_fontScreen = fonts;
  if (!m_fontLibrary) WriteLog(LogKind::Error, "no font library for the current screen");
}

ToolRunContext CVantorelApp::ToolContext(QWidget* parent) const {
  return {m_language.Id(), m_folders.DataFolder().string(), DecodePassword(m_passwords.administrator),
          DecodePassword(m_passwords.advanced), parent};
}

}  // namespace vantorel

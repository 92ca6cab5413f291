// "make": the files a screen's controller plays, made from its playbill into the output folder
// ("a32sd" in the work folder unless --out names another), with a progress bar on a terminal and
// a summary at the end.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "app/options.h"
#include "app/status_text.h"
#include "app/text_format.h"
#include "cli_command.h"
#include "gui_application.h"
#include "maker/screen_files.h"
#include "playbill_session.h"

namespace vantorel::cli {
namespace {

constexpr int kBarWidth = 30;

// Progress on standard error: a bar redrawn in place on a terminal, one line a step otherwise.
class CTerminalProgress : public CMakeObserver {
public:
  CTerminalProgress() : m_terminal(isatty(STDERR_FILENO) != 0) {}
  ~CTerminalProgress() override {
    if (m_terminal && m_drawn) std::cerr << '\n';
  }

  void Progress(int done, int total, const std::string& step) override {
    if (!m_terminal) {
      if (!step.empty()) std::cerr << FormatText("[%d/%d] ", done + 1, total) << step << '\n';
      return;
    }
    const int filled = total > 0 ? done * kBarWidth / total : kBarWidth;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.resize(kBarWidth, '.');
    std::string line = FormatText("\r[%s] %d/%d ", bar.c_str(), done, total) + step;
    line.resize(std::max<std::size_t>(line.size(), m_lastLength), ' ');
    m_lastLength = line.size();
    std::cerr << line << std::flush;
    m_drawn = true;
  }

  void MediaProgress(int percent) override {
    if (m_terminal) std::cerr << FormatText("\r  converting video: %3d%%", percent) << std::flush;
  }

private:
  bool m_terminal;
  bool m_drawn = false;
  std::size_t m_lastLength = 0;
};

void PrintSummary(const MakeResult& result, const std::filesystem::path& folder) {
  std::cout << FormatText("made %zu file%s, %llu bytes, in %s (%.2f s)\n", result.files.size(),
                          result.files.size() == 1 ? "" : "s", static_cast<unsigned long long>(result.bytes),
                          folder.string().c_str(), static_cast<double>(result.time.count()) / 1000.0);
  std::cout << FormatText("programs: %d, of which %d share an identical earlier program file (MD5)\n", result.programs,
                          result.sharedPrograms);
  std::cout << FormatText("items: %d written, %d left out\n", result.items, result.leftOut);
  if (result.packs > 0) std::cout << FormatText("program packs: %d\n", result.packs);
  for (const std::filesystem::path& file : result.files) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    std::cout << "  " << file.filename().string() << "  " << (error ? 0 : size) << " bytes\n";
  }
  for (const std::filesystem::path& file : result.externalFiles) std::cout << "  travels with them: " << file.string() << '\n';
  for (const Status& note : result.notes) std::cout << "note: " << StatusMessage(note) << '\n';
}

void Make(const CliContext& context, int screen, const std::string& out) {
  MakeGuiApplication();
  auto doc = OpenScreenPlaybill(context, screen);
  const int index = doc->CurrentScreenIndex();
  const AppOptions options = ReadOptions(context.folders.SettingsFile());
  ScreenFilesJob job{doc->Screens().Screen(index),
                     doc->Screens().Comm(index),
                     doc->Records(),
                     doc->Schedule(),
                     context.folders.WorkFolder(),
                     context.folders.DataFolder(),
                     out.empty() ? std::filesystem::path() : std::filesystem::absolute(out),
                     MakeOptions{options.packProgramFiles != 0, options.removeFontSmooth != 0}};
  MakeResult result;
  {
    CTerminalProgress progress;
    result = MakeScreenFiles(job, &progress);
  }
  if (!result.made) throw CliError(StatusMessage(result.failure));
  PrintSummary(result, job.outputFolder.empty() ? context.folders.OutputFolder() : job.outputFolder);
}

const CliCommandGroup kMakeCommand(
    65, "make", "Make the files the sign plays from a screen's playbill",
    [](CLI::App& group, CliContext& context) {
      group.require_subcommand(0);
      auto screen = AddScreenOption(group);
      auto out = std::make_shared<std::string>();
      group.add_option("--out", *out, "Output folder (default: a32sd in the work folder)");
      group.callback([&context, screen, out] { Make(context, *screen, *out); });
    });

}  // namespace
}  // namespace vantorel::cli

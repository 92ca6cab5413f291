// An office document's pages for a 64 x 32 window: from the copy made earlier (the usual case: the
// stamp, the copy's name, reading and laying out its rich text, every page drawn), and with a new
// conversion by LibreOffice each time (the document touched before every run; skipped without
// LibreOffice).

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/child_process.h"
#include "render/item_pages.h"
#include "render/media/office_document.h"

namespace vantorel {
namespace {

namespace fs = std::filesystem;

void MakeApplication() {
  static int argc = 1;
  static char name[] = "office_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  (void)application;
}

// A folder for the run, removed at the end, with a rich-text page of about 1,000 characters as
// "notice.rtf".
struct RunFolder {
  RunFolder() {
    std::string pattern = (fs::temp_directory_path() / "office-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path = pattern;
    std::string body;
    for (int sentence = 0; sentence < 18; ++sentence) body += "Opening hours nine to five, come in and see. ";
    std::ofstream(path / "notice.rtf") << "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss DejaVu Sans;}}\\f0\\fs18 " << body
                                       << "\\par}";
  }
  ~RunFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  fs::path path;
};

const fs::path& Folder() {
  static const RunFolder folder;
  return folder.path;
}

tagItemPart Item(const fs::path& document) {
  tagItemPart item;
  item.actType = kKindDocument;
  item.media = document.string();
  item.negative = 1;
  return item;
}

std::int64_t RenderAll(const fs::path& document) {
  const auto pages = RenderItemPages(Item(document), QSize(64, 32), ItemRenderSettings{0x77, {}, nullptr, true, {}});
  if (!pages) std::abort();
  return static_cast<std::int64_t>(pages->size());
}

// "notice.docx" with the rich text as its copy, made by hand: no LibreOffice needed.
void BM_DocumentFromItsCopy(benchmark::State& state) {
  MakeApplication();
  const fs::path document = Folder() / "notice.docx";
  std::ofstream(document) << "stand-in";
  const auto stamp = DocumentStampOf(document);
  if (!stamp) std::abort();
  fs::copy_file(Folder() / "notice.rtf", OfficeCopyName(document, *stamp, ".rtf"), fs::copy_options::overwrite_existing);
  std::int64_t pages = 0;
  for (auto _ : state) pages += RenderAll(document);
  state.counters["pages"] = benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DocumentFromItsCopy)->Unit(benchmark::kMillisecond);

// "converted.docx" made by LibreOffice from the rich text, converted back at every run.
void BM_DocumentConvertedByLibreOffice(benchmark::State& state) {
  MakeApplication();
  const fs::path soffice = FindProgram("soffice");
  if (soffice.empty()) {
    state.SkipWithError("soffice (LibreOffice) is not installed");
    return;
  }
  ProgramRun made;
  made.arguments = {"-env:UserInstallation=file://" + (Folder() / "profile").string(), "--headless", "--convert-to",
                    "docx", "--outdir", Folder().string(), (Folder() / "notice.rtf").string()};
  made.timeLimit = std::chrono::seconds(120);
  const auto result = RunProgram(soffice, made);
  if (!result || !result->Succeeded()) std::abort();
  const fs::path document = Folder() / "converted.docx";
  fs::rename(Folder() / "notice.docx", document);
  std::int64_t pages = 0;
  for (auto _ : state) {
    fs::last_write_time(document, fs::last_write_time(document) + std::chrono::seconds(1));
    pages += RenderAll(document);
  }
  state.counters["pages"] = benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DocumentConvertedByLibreOffice)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace vantorel

// Making the files of a playbill: full-colour text pages and picture items, each run writing
// every program file with its checksum and MD5 digest; and the checksum and the digest alone on
// the files the last run made, to tell their share of a run.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <filesystem>
#include <string>

#include "maker/data_maker.h"
#include "maker/program_checksum.h"
#include "platform/md5_digest.h"
#include "playbill/prg_item.h"
#include "playbill/rich_text_block.h"
#include "render/item_pages.h"

namespace vantorel {
namespace {

constexpr std::uint16_t kFullColour = 0x77;
constexpr int kSide = 64;

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "make_bench";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(argc, argv);
  }
}

std::filesystem::path BenchFolder() {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vantorel-make-bench";
  std::filesystem::create_directories(folder);
  return folder;
}

tagPrgItem Record(std::int32_t level) {
  tagPrgItem record;
  record.level = level;
  return record;
}

tagPrgItem Window() {
  tagPrgItem window = Record(kLevelWindow);
  window.window.width = kSide;
  window.window.height = kSide;
  return window;
}

// An "Image mode" item of `lines` lines of text: one page a few lines.
tagPrgItem TextItem(int lines) {
  tagPrgItem item = Record(kLevelItem);
  item.item.actType = kKindImageText;
  std::string text;
  for (int i = 0; i < lines; ++i) text += "Line " + std::to_string(i) + "\n";
  item.item.richTxt = RichTextBlock::ImageModeText(RichTextBlock::ImageModeDocument(text, 0x00FFFF));
  return item;
}

CDataMaker Maker(const std::filesystem::path& folder) {
  CDataMaker maker(folder, folder);
  tagScreenInfo screen;
  screen.type = 6;
  screen.number = 1;
  screen.color = kFullColour;
  screen.width = kSide;
  screen.height = kSide;
  screen.model = 0x4B05;
  maker.Reset();
  maker.SetScreen(screen, tagCommInfo{});
  maker.SetModel(screen.model);
  return maker;
}

int PagesOf(const PrgList& records) {
  int pages = 0;
  const ItemRenderSettings settings{kFullColour, {}, nullptr, false, {}};
  for (const tagPrgItem& record : records) {
    if (!record.IsItem()) continue;
    const auto drawn = RenderItemPages(record.item, QSize(kSide, kSide), settings);
    if (drawn) pages += static_cast<int>(drawn->size());
  }
  return pages;
}

void MakeAll(benchmark::State& state, const PrgList& records, int pages) {
  const std::filesystem::path folder = BenchFolder();
  CDataMaker maker = Maker(folder);
  for (auto _ : state) {
    const MakeResult result = maker.Make(records);
    if (!result.made) state.SkipWithError("the make failed");
    benchmark::DoNotOptimize(result.bytes);
  }
  state.SetItemsProcessed(state.iterations() * pages);
  state.counters["pages"] = pages;
}

// About 200 pages of 64 x 64 full-colour text, in ten programs.
void BM_MakeTextPages(benchmark::State& state) {
  EnsureApplication();
  PrgList records;
  for (int program = 0; program < 10; ++program) {
    records.push_back(Record(kLevelProgram));
    records.push_back(Window());
    for (int item = 0; item < 4; ++item) records.push_back(TextItem(28));
  }
  MakeAll(state, records, PagesOf(records));
}
BENCHMARK(BM_MakeTextPages)->Unit(benchmark::kMillisecond);

// 100 picture items of 64 x 64, in ten programs.
void BM_MakePictures(benchmark::State& state) {
  EnsureApplication();
  const std::filesystem::path picture = BenchFolder() / "picture.png";
  QImage image(kSide, kSide, QImage::Format_RGB32);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) image.setPixel(x, y, qRgb(x * 4, y * 4, (x + y) * 2));
  }
  image.save(QString::fromStdString(picture.string()));
  PrgList records;
  for (int program = 0; program < 10; ++program) {
    records.push_back(Record(kLevelProgram));
    records.push_back(Window());
    for (int item = 0; item < 10; ++item) {
      tagPrgItem record = Record(kLevelItem);
      record.item.actType = kKindPicture;
      record.item.media = picture.string();
      record.item.showMode = 2;
      records.push_back(record);
    }
  }
  MakeAll(state, records, 100);
}
BENCHMARK(BM_MakePictures)->Unit(benchmark::kMillisecond);

// The checksum read-back and the MD5 digest of the program files the runs before made, apart.
template <typename Read>
void ReadMadeFiles(benchmark::State& state, Read read) {
  const std::filesystem::path folder = BenchFolder() / "a32sd";
  std::uint64_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path().extension() != ".lpb") continue;
      benchmark::DoNotOptimize(read(entry.path()));
      bytes += entry.file_size();
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_ChecksumOfMadeFiles(benchmark::State& state) {
  ReadMadeFiles(state, [](const std::filesystem::path& file) { return ChecksumOfFile(file); });
}
BENCHMARK(BM_ChecksumOfMadeFiles)->Unit(benchmark::kMillisecond);

void BM_DigestOfMadeFiles(benchmark::State& state) {
  ReadMadeFiles(state, [](const std::filesystem::path& file) { return Md5HexOfFile(file); });
}
BENCHMARK(BM_DigestOfMadeFiles)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantorel
